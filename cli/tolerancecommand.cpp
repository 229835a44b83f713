#include "tolerancecommand.h"

#include "builtoptions.h"
#include "checkrequest.h"
#include "enginecommand.h"
#include "engineruns.h"
#include "machineformats.h"
#include "moxoncli.h"
#include "optionmaking.h"
#include "reporttexts.h"

#include <QLocale>

#include <cmath>

namespace moxon {

namespace {

QString toleranceDescription()
{
    return QStringLiteral(
               "How exactly each cut must be made, with nec2c, for the antenna as it hangs: for "
               "each of A, B, C and D changed alone (E = B + C + D follows), how far the SWR dip "
               "moves and how the front-to-back at the design frequency changes per step of the "
               "unit (cm for m, mm for mm, in for ft and in), and the tolerance either way: the "
               "largest change that keeps the SWR at the design frequency at 1.5 or less and "
               "the front-to-back within 3 dB of the design's, bracketed by nec2c runs. Then "
               "the share of %1 builds, every cut off by up to --cut-error at once, that stay "
               "within both limits, and the spread of their dip.\n\n"
               "Exit status as check's; a model whose SWR has no dip within 5 % of the design "
               "frequency: 1 (\"no_dip\"). With --json a failure prints {\"error\", "
               "\"message\"} as check's does.")
               .arg(kToleranceBuilds) +
           QStringLiteral("\n\n") + namedValues(InstallationOptions::names());
}

class ToleranceCommand final : public EngineCommand
{
public:
    using EngineCommand::EngineCommand;

private:
    const InstallationOptions &where() const override { return m_where; }

    QStringList problems() const override
    {
        const QString cutProblem =
            !m_parser.isSet(m_cutError) || lengthArgument(m_parser.value(m_cutError))
                ? QString()
                : QStringLiteral("--cut-error must be a length of 0 or more, not '%1'")
                      .arg(m_parser.value(m_cutError));
        return {m_built.check(m_common.units()), cutProblem};
    }

    std::optional<int> setUp(const Calculation &run) override
    {
        m_setup = tuneSetupOf(run);
        m_setup.formula = m_built.dimensions().value_or(m_setup.formula);
        return std::nullopt;
    }

    QString refusal() const override { return m_setup.requestFor(m_setup.formula).refusal; }

    std::optional<CommandFailure> analyse(EngineScheduler &scheduler) override
    {
        const double error = m_parser.isSet(m_cutError)
                                 ? lengthArgument(m_parser.value(m_cutError)).value_or(0)
                                 : kDefaultCutErrorOfA * m_setup.formula.a;
        m_result = toleranceOnEngine(m_setup, error, scheduler);
        return failureOf(m_result);
    }

    QJsonObject reportJson() const override { return toleranceReportToJson(m_result, m_setup); }

    QString reportText() const override
    {
        return toleranceReportText(m_result, m_setup, m_common.units());
    }

    const InstallationOptions m_where{m_parser};
    const BuiltOptions m_built{m_parser};
    const QCommandLineOption m_cutError =
        added({QStringLiteral("cut-error"),
               QStringLiteral("How far every cut of a build may be off, either way, in the unit "
                              "of --units; by default %1 % of A.")
                   .arg(kDefaultCutErrorOfA * 100),
               QStringLiteral("T")});
    TuneSetup m_setup;
    ToleranceResult m_result;
};

} // namespace

int toleranceCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                     EngineScheduler &scheduler)
{
    return ToleranceCommand(QStringLiteral("tolerance"), toleranceDescription(), out, err)
        .run(arguments, scheduler);
}

} // namespace moxon
