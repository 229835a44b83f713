#include "tunecommand.h"

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
    QStringList goals;
    for (const TuneGoalInfo &goal : tuneGoals()) {
        goals.append(QStringLiteral("--goal %1 for %2").arg(goal.name, tuneGoalAim(goal.goal)));
    }
    return QStringLiteral(
               "Tunes A to D (E = B + C + D) with nec2c for the antenna as it hangs: %1. Prints "
               "the formula's and the tuned dimensions as the window shows them, and the figures "
               "before and after; --format and -o write the tuned model as export writes a "
               "design.\n\n"
               "Exit status as check's; a goal that was not met still prints the best design "
               "found (\"goal_met\": false). With --json a failure prints {\"error\", "
               "\"message\"} as check's does.")
               .arg(goals.join(QStringLiteral(", "))) +
           QStringLiteral("\n\n") +
           namedValues(InstallationOptions::names() +
                       QList<NamedValues>{{QStringLiteral("--goal"), tuneGoalNames()}});
}

QString goalHelp()
{
    QStringList names = tuneGoalNames();
    names.first() += QStringLiteral(" (the default)");
    const QString last = names.takeLast();
    return (names.isEmpty() ? last
                            : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last) +
           u'.';
}

// "LOW-HIGH" in MHz, numbers in the C locale: the lower first, both positive.
std::optional<BandRange> bandFromText(const QString &text)
{
    const QStringList edges = text.split(u'-');
    if (edges.size() != 2) {
        return std::nullopt;
    }
    bool lowOk = false;
    bool highOk = false;
    const double low = QLocale::c().toDouble(edges.at(0).trimmed(), &lowOk);
    const double high = QLocale::c().toDouble(edges.at(1).trimmed(), &highOk);
    if (!lowOk || !highOk || !(low > 0) || !(high > low) || !std::isfinite(high)) {
        return std::nullopt;
    }
    return BandRange{low, high};
}

} // namespace

int tuneCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                EngineScheduler &scheduler)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    const CommonOptions common(parser);
    const ModelOptions model(parser);
    const InstallationOptions where(parser);
    const QCommandLineOption goal(QStringLiteral("goal"), goalHelp(), QStringLiteral("GOAL"),
                                  tuneGoals().front().name.toString());
    parser.addOption(goal);
    const QCommandLineOption bandOption(
        QStringLiteral("band"),
        QStringLiteral("For --goal band: the band to cover, in MHz, as LOW-HIGH; by default the "
                       "amateur band that holds the design frequency."),
        QStringLiteral("LOW-HIGH"));
    parser.addOption(bandOption);
    const OutputOptions output(
        parser,
        {QStringLiteral("Write the tuned model; - for standard output."),
         QStringLiteral("nec (NEC-2 deck) or ez (binary model file) for -o."), false, true});
    CommandIo io(QStringLiteral("tune"), out, err);
    const auto check = [&] {
        const QString goalProblem = tuneGoalFromText(parser.value(goal))
                                        ? QString()
                                        : QStringLiteral("--goal must be %1, not '%2'")
                                              .arg(tuneGoalChoices(), parser.value(goal));
        const QString bandProblem =
            !parser.isSet(bandOption) || bandFromText(parser.value(bandOption))
                ? QString()
                : QStringLiteral("--band must be two frequencies in MHz as LOW-HIGH, the lower "
                                 "first, not '%1'")
                      .arg(parser.value(bandOption));
        return firstProblem({common.checkOneFrequency(), model.check(), where.check(), goalProblem,
                             bandProblem, output.check(common.json())});
    };
    if (const std::optional<int> status = io.parse(parser, arguments, check)) {
        return *status;
    }

    const QString frequency = common.frequencies().first();
    const Calculation run = io.calculate(common, frequency);
    if (!run.accepted()) {
        return io.failed(CommandFailure::rejected(run), common.json());
    }
    const ModelInput formula = CommandIo::model(run, model);
    TuneSetup setup =
        tuneSetup(formula, run.shown.values, run.form.wireSize, where.installation(common.units()));
    const TuneGoal tuneGoal = tuneGoalFromText(parser.value(goal)).value_or(TuneGoal::Match);
    if (parser.isSet(bandOption)) {
        setup.band = bandFromText(parser.value(bandOption));
    }
    if (tuneGoal == TuneGoal::Band && !setup.band) {
        err << kProgram << " tune: " << frequency
            << " MHz lies in no amateur band: give the band to cover with --band LOW-HIGH"
            << Qt::endl;
        return ExitUsage;
    }
    // A design the check refuses cannot be tuned either: say why as check does.
    const CheckRequest first = setup.requestFor(setup.formula);
    if (!first.refusal.isEmpty()) {
        io.say(first.refusal);
        return io.failed(CommandFailure::engine(EngineFailure::Refused, first.refusal),
                         common.json());
    }
    const TuneResult result = tuneOnEngine(tuneGoal, setup, scheduler);
    if (!result.failure.isEmpty()) {
        io.say(result.failure);
        return io.failed(CommandFailure::engine(result.failureKind, result.failure), common.json());
    }

    const ModelInput tuned = withDimensions(formula, result.tuned);
    std::optional<CommandFailure> failure;
    if (output.writesModel()) {
        failure = io.writeModel(output.modelPath(), output.format(), tuned, frequency);
    }
    if (!failure) {
        failure = io.writeDeck(output.deckPath(), setup.requestFor(result.tuned).deck);
    }
    if (failure) {
        return io.failed(*failure, common.json());
    }
    if (common.json()) {
        io.printJson(tuneReportToJson(result, setup));
    } else if (!output.toStandardOutput()) {
        out << tuneReportText(result, setup);
    }
    out.flush();
    return ExitOk;
}

} // namespace moxon
