#include "tolerancecommand.h"

#include "builtoptions.h"
#include "checkrequest.h"
#include "commandio.h"
#include "commandoptions.h"
#include "engineruns.h"
#include "machineformats.h"
#include "moxoncli.h"
#include "reporttexts.h"

#include <QLocale>

#include <cmath>

namespace moxon {

namespace {

QString description()
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

std::optional<double> length(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value) && value >= 0 ? std::optional<double>(value) : std::nullopt;
}

} // namespace

int toleranceCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                     EngineScheduler &scheduler)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    const CommonOptions common(parser);
    const ModelOptions model(parser);
    const InstallationOptions where(parser);
    const BuiltOptions built(parser);
    const QCommandLineOption cutError(
        QStringLiteral("cut-error"),
        QStringLiteral("How far every cut of a build may be off, either way, in the unit of "
                       "--units; by default %1 % of A.")
            .arg(kDefaultCutErrorOfA * 100),
        QStringLiteral("T"));
    parser.addOption(cutError);
    CommandIo io(QStringLiteral("tolerance"), out, err);
    const auto check = [&] {
        const QString cutProblem =
            !parser.isSet(cutError) || length(parser.value(cutError))
                ? QString()
                : QStringLiteral("--cut-error must be a length of 0 or more, not '%1'")
                      .arg(parser.value(cutError));
        return firstProblem({common.checkOneFrequency(), model.check(), where.check(),
                             built.check(common.units()), cutProblem});
    };
    if (const std::optional<int> status = io.parse(parser, arguments, check)) {
        return *status;
    }

    const QString frequency = common.frequencies().first();
    const Calculation run = io.calculate(common, frequency);
    if (!run.accepted()) {
        return io.failed(CommandFailure::rejected(run), common.json());
    }
    TuneSetup setup = tuneSetup(CommandIo::model(run, model), run.shown.values, run.form.wireSize,
                                where.installation(common.units()));
    setup.formula = built.dimensions().value_or(setup.formula);
    // A design the check refuses has no tolerances either: say why as check does.
    if (const QString refusal = setup.requestFor(setup.formula).refusal; !refusal.isEmpty()) {
        io.say(refusal);
        return io.failed(CommandFailure::engine(EngineFailure::Refused, refusal), common.json());
    }
    const double error = parser.isSet(cutError) ? length(parser.value(cutError)).value_or(0)
                                                : kDefaultCutErrorOfA * setup.formula.a;
    const ToleranceResult result = toleranceOnEngine(setup, error, scheduler);
    if (!result.failure.isEmpty()) {
        io.say(result.failure);
        return io.failed(CommandFailure::analysis(result.fault, result.failureKind, result.failure),
                         common.json());
    }
    if (common.json()) {
        io.printJson(toleranceReportToJson(result, setup));
    } else {
        out << toleranceReportText(result, setup, common.units());
    }
    out.flush();
    return ExitOk;
}

} // namespace moxon
