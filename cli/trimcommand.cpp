#include "trimcommand.h"

#include "builtoptions.h"
#include "checkrequest.h"
#include "commandio.h"
#include "commandoptions.h"
#include "engineruns.h"
#include "machineformats.h"
#include "measureddip.h"
#include "moxoncli.h"
#include "reporttexts.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <variant>

namespace moxon {

namespace {

QString description()
{
    return QStringLiteral(
               "Brings a built antenna onto its frequency: its SWR dip, measured with an "
               "analyser (--measured, a Touchstone 1.x or 2.0 one-port file: S, Z or Y; RI, MA "
               "or DB; any frequency unit and reference resistance) or given (--dip), is held "
               "against the dip of the model of the dimensions as built, where it hangs, which "
               "gives the antenna's electrical scale: how much longer it behaves than its model. "
               "For that scale nec2c finds the field trim, a change of each pair of tails (A "
               "and E unchanged, the gap C taking up the difference) that puts the dip on "
               "--target with the best front-to-back there, and the rebuild, every dimension "
               "anew; each with the dip, SWR, front-to-back and SWR curve it predicts. The SWR "
               "is compared, not the impedance: it is the same at both ends of the feed line.\n\n"
               "Exit status as check's; a file that is not a one-port Touchstone file, or has "
               "no SWR dip inside its range: 2, with one sentence naming the line or the reason "
               "(\"measurement_refused\" with --json), before anything else is done; a model "
               "without a dip within 5 % of the design frequency (\"no_dip\") or a measured dip "
               "more than %1 % from the model's, or a target as far from it "
               "(\"dip_out_of_reach\"): 1. With --json a "
               "failure prints {\"error\", \"message\"} as check's does.")
               .arg(kMostTrimScaleError * 100) +
           QStringLiteral("\n\n") + namedValues(InstallationOptions::names());
}

std::optional<double> frequency(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value) && value > 0 ? std::optional<double>(value) : std::nullopt;
}

// The dip of the file at `path`, with where it came from; or the sentence refusing the file.
std::variant<std::pair<double, QString>, QString> dipOfFile(const QString &path)
{
    const TouchstoneResult read = readTouchstoneFile(path);
    if (const auto *error = std::get_if<TouchstoneError>(&read)) {
        return error->sentence();
    }
    const QString name = QFileInfo(path).fileName();
    const std::variant<MeasuredDip, QString> dip =
        measuredDip(std::get<TouchstoneFile>(read).points, name);
    if (const auto *reason = std::get_if<QString>(&dip)) {
        return *reason;
    }
    const MeasuredDip &found = std::get<MeasuredDip>(dip);
    return std::pair{found.frequencyMhz, QStringLiteral("from %1, SWR %2 there")
                                             .arg(name, QLocale::c().toString(found.swr, 'f', 2))};
}

} // namespace

int trimCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                EngineScheduler &scheduler)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    const CommonOptions common(parser);
    const ModelOptions model(parser);
    const InstallationOptions where(parser);
    const BuiltOptions built(parser);
    const QCommandLineOption measured(
        QStringLiteral("measured"),
        QStringLiteral("The analyser's Touchstone file of the antenna (.s1p), at the antenna or "
                       "through its feed line."),
        QStringLiteral("FILE"));
    const QCommandLineOption dip(QStringLiteral("dip"),
                                 QStringLiteral("Instead of --measured: the frequency of the "
                                                "measured SWR dip, in MHz."),
                                 QStringLiteral("MHZ"));
    const QCommandLineOption target(QStringLiteral("target"),
                                    QStringLiteral("Where the dip is wanted, in MHz; by default "
                                                   "the design frequency."),
                                    QStringLiteral("MHZ"));
    parser.addOption(measured);
    parser.addOption(dip);
    parser.addOption(target);
    CommandIo io(QStringLiteral("trim"), out, err);
    const auto check = [&] {
        QString problem;
        if (!parser.isSet(measured) && !parser.isSet(dip)) {
            problem = QStringLiteral("give the measurement with --measured FILE or --dip MHZ");
        } else if (parser.isSet(measured) && parser.isSet(dip)) {
            problem = QStringLiteral("--measured and --dip give the same thing: give one");
        } else if (parser.isSet(dip) && !frequency(parser.value(dip))) {
            problem =
                QStringLiteral("--dip must be a frequency in MHz, not '%1'").arg(parser.value(dip));
        } else if (parser.isSet(target) && !frequency(parser.value(target))) {
            problem = QStringLiteral("--target must be a frequency in MHz, not '%1'")
                          .arg(parser.value(target));
        }
        return firstProblem({common.checkOneFrequency(), model.check(), where.check(),
                             built.check(common.units()), problem});
    };
    if (const std::optional<int> status = io.parse(parser, arguments, check)) {
        return *status;
    }

    // The measurement first: a file that cannot be read stops the command before anything
    // else is done.
    double measuredDipMhz = frequency(parser.value(dip)).value_or(0);
    QString whence = QStringLiteral("given with --dip");
    if (parser.isSet(measured)) {
        const auto read = dipOfFile(parser.value(measured));
        if (const auto *refusal = std::get_if<QString>(&read)) {
            io.say(*refusal);
            if (common.json()) {
                io.printJson(failureToJson(QStringLiteral("measurement_refused"), *refusal));
            }
            out.flush();
            return ExitUsage;
        }
        std::tie(measuredDipMhz, whence) = std::get<std::pair<double, QString>>(read);
    }

    const QString designFrequency = common.frequencies().first();
    const Calculation run = io.calculate(common, designFrequency);
    if (!run.accepted()) {
        return io.failed(CommandFailure::rejected(run), common.json());
    }
    TuneSetup setup = tuneSetup(CommandIo::model(run, model), run.shown.values, run.form.wireSize,
                                where.installation(common.units()));
    setup.formula = built.dimensions().value_or(setup.formula);
    const CheckRequest design = setup.requestFor(setup.formula);
    // A design the check refuses cannot be trimmed either: say why as check does.
    if (!design.refusal.isEmpty()) {
        io.say(design.refusal);
        return io.failed(CommandFailure::engine(EngineFailure::Refused, design.refusal),
                         common.json());
    }
    const double targetMhz = frequency(parser.value(target)).value_or(design.frequencyMhz);
    const TrimResult result = trimOnEngine(setup, measuredDipMhz, targetMhz, scheduler);
    if (!result.failure.isEmpty()) {
        io.say(result.failure);
        return io.failed(CommandFailure::analysis(result.fault, result.failureKind, result.failure),
                         common.json());
    }
    if (common.json()) {
        QJsonObject report = trimReportToJson(result, setup);
        report.insert(QStringLiteral("measured_from"), whence);
        io.printJson(report);
    } else {
        out << trimReportText(result, setup, common.units(), whence);
    }
    out.flush();
    return ExitOk;
}

} // namespace moxon
