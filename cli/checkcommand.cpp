#include "checkcommand.h"

#include "checkrequest.h"
#include "commandio.h"
#include "commandoptions.h"
#include "engineruns.h"
#include "machineformats.h"
#include "moxoncli.h"
#include "reporttexts.h"

namespace moxon {

int checkCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                 EngineScheduler &scheduler)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Runs the NEC-2 deck of the design through nec2c: feed-point impedance, SWR on 50 "
            "ohms, forward gain, front-to-back ratio and beamwidth, and SWR from 5 % below to 5 % "
            "above with the bandwidth where it stays within 2. --json adds both pattern cuts. "
            "Over ground (--ground, --height) the forward gain, front-to-back and beamwidth are "
            "taken at the take-off angle, where the forward lobe is strongest. The SWR curve "
            "comes from a rational fit to as few nec2c frequencies as it needs, verified until "
            "two fits agree within 0.05 ohm; --sweep full runs all 41 points through nec2c.\n\n"
            "Exit status: 0 figures; 1 an input the window rejects, or nec2c failed on the deck; "
            "2 a bad argument; 3 no figures: nec2c is missing, the model is beyond NEC-2's "
            "thin-wire model, or nec2c's figures are not sound. With --json a failure prints "
            "{\"error\", \"message\"}.\n\n") +
        namedValues(InstallationOptions::names()));
    const CommonOptions common(parser);
    const ModelOptions model(parser);
    const QCommandLineOption sweep(QStringLiteral("sweep"),
                                   QStringLiteral("fitted (the default) or full: every sweep "
                                                  "point run by nec2c, no interpolation."),
                                   QStringLiteral("fitted|full"), QStringLiteral("fitted"));
    parser.addOption(sweep);
    const InstallationOptions where(parser);
    const OutputOptions output(parser, {{}, {}, false, true});
    CommandIo io(QStringLiteral("check"), out, err);
    const auto sweepMode = [&]() -> std::optional<SweepMode> {
        const QString mode = parser.value(sweep);
        if (mode.compare(u"fitted", Qt::CaseInsensitive) == 0) {
            return SweepMode::Fitted;
        }
        if (mode.compare(u"full", Qt::CaseInsensitive) == 0) {
            return SweepMode::Full;
        }
        return std::nullopt;
    };
    const auto check = [&] {
        const QString sweepProblem =
            sweepMode() ? QString()
                        : QStringLiteral("--sweep must be fitted or full, not '%1'")
                              .arg(parser.value(sweep));
        return firstProblem({common.checkOneFrequency(), model.check(), where.check(), sweepProblem,
                             output.check(common.json())});
    };
    if (const std::optional<int> status = io.parse(parser, arguments, check)) {
        return *status;
    }

    const QString frequency = common.frequencies().first();
    const Calculation run = io.calculate(common, frequency);
    if (!run.accepted()) {
        return io.failed(CommandFailure::rejected(run), common.json());
    }
    CheckRequest request = checkRequestFor(CommandIo::model(run, model), run.form.wireSize,
                                           where.installation(common.units()));
    request.sweep = sweepMode().value_or(SweepMode::Fitted);
    const CheckReport report = checkOnEngine(request, scheduler);
    if (report.failure != EngineFailure::Refused) {
        if (const std::optional<CommandFailure> failure =
                io.writeDeck(output.deckPath(), report.deck)) {
            return io.failed(*failure, common.json());
        }
    }
    if (!report.ok()) {
        io.say(report.message);
        return io.failed(CommandFailure::engine(report.failure, report.message), common.json());
    }
    if (common.json()) {
        io.printJson(checkReportToJson(report));
    }
    // The deck on standard output goes alone, without the report after it.
    if (!common.json() && !output.toStandardOutput()) {
        out << checkReportText(report, common.units());
        out.flush();
    }
    return ExitOk;
}

} // namespace moxon
