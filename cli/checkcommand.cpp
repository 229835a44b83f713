#include "checkcommand.h"

#include "checkrequest.h"
#include "enginecommand.h"
#include "engineruns.h"
#include "machineformats.h"
#include "moxoncli.h"
#include "reporttexts.h"

namespace moxon {

namespace {

QString checkDescription()
{
    return QStringLiteral(
               "Runs the NEC-2 deck of the design through nec2c: feed-point impedance, SWR on 50 "
               "ohms, forward gain, front-to-back ratio and beamwidth, and SWR from 5 % below to "
               "5 % above with the bandwidth where it stays within 2. --json adds both pattern "
               "cuts. Over ground (--ground, --height) the forward gain, front-to-back and "
               "beamwidth are taken at the take-off angle, where the forward lobe is strongest. "
               "The SWR curve comes from a rational fit to as few nec2c frequencies as it needs, "
               "verified until two fits agree within 0.05 ohm; --sweep full runs all 41 points "
               "through nec2c. With --insulation the wire's insulation is modelled as a series "
               "inductance per metre, and the SWR dip is told beside the bare wire's, found with "
               "one more nec2c run.\n\n"
               "Exit status: 0 figures; 1 an input the window rejects, or nec2c failed on the "
               "deck; 2 a bad argument; 3 no figures: nec2c is missing, the model is beyond "
               "NEC-2's thin-wire model, or nec2c's figures are not sound. With --json a failure "
               "prints {\"error\", \"message\"}.\n\n") +
           namedValues(InstallationOptions::names());
}

class CheckCommand final : public EngineCommand
{
public:
    using EngineCommand::EngineCommand;

private:
    const InstallationOptions &where() const override { return m_where; }

    QStringList problems() const override
    {
        return {m_sweep.check(), m_output.check(m_common.json())};
    }

    std::optional<int> setUp(const Calculation &run) override
    {
        m_request = checkRequestFor(CommandIo::model(run, m_model), run.form.wireSize,
                                    m_where.installation(m_common.units(), m_common.wireUnit()));
        m_request.sweep = m_sweep.mode();
        return std::nullopt;
    }

    QString refusal() const override { return m_request.refusal; }

    std::optional<CommandFailure> analyse(EngineScheduler &scheduler) override
    {
        return checked(m_request, m_output.deckPath(), scheduler, m_report);
    }

    QJsonObject reportJson() const override { return checkReportToJson(m_report); }

    // The deck on standard output goes alone, without the report after it.
    QString reportText() const override
    {
        return m_output.toStandardOutput() ? QString()
                                           : checkReportText(m_report, m_common.units());
    }

    const SweepOptions m_sweep{m_parser};
    const InstallationOptions m_where{m_parser};
    const OutputOptions m_output{m_parser, {{}, {}, false, true}};
    CheckRequest m_request;
    CheckReport m_report;
};

} // namespace

int checkCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                 EngineScheduler &scheduler)
{
    return CheckCommand(QStringLiteral("check"), checkDescription(), out, err)
        .run(arguments, scheduler);
}

} // namespace moxon
