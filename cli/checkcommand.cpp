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
            "taken at the take-off angle, where the forward lobe is strongest.\n\n"
            "Exit status: 0 figures; 1 an input the window rejects, or nec2c failed on the deck; "
            "2 a bad argument; 3 no figures: nec2c is missing, the model is beyond NEC-2's "
            "thin-wire model, or nec2c's figures are not sound. With --json a failure prints "
            "{\"error\", \"message\"}.\n\n") +
        namedValues(InstallationOptions::names()));
    const CommonOptions common(parser);
    const ModelOptions model(parser);
    const InstallationOptions where(parser);
    const OutputOptions output(parser, {{}, {}, false, true});
    CommandIo io(QStringLiteral("check"), out, err);
    const auto check = [&] {
        return firstProblem({common.checkOneFrequency(), model.check(), where.check(),
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
    const CheckReport report =
        checkOnEngine(checkRequestFor(CommandIo::model(run, model), run.form.wireSize,
                                      where.installation(common.units())),
                      scheduler);
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
