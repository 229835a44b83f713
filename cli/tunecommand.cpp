#include "tunecommand.h"

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

QString tuneDescription()
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
    const std::optional<double> low = positiveArgument(edges.at(0));
    const std::optional<double> high = numberArgument(edges.at(1));
    if (!low || !high || !(*high > *low)) {
        return std::nullopt;
    }
    return BandRange{*low, *high};
}

class TuneCommand final : public EngineCommand
{
public:
    using EngineCommand::EngineCommand;

private:
    const InstallationOptions &where() const override { return m_where; }

    QStringList problems() const override
    {
        const QString goalProblem = tuneGoalFromText(m_parser.value(m_goal))
                                        ? QString()
                                        : QStringLiteral("--goal must be %1, not '%2'")
                                              .arg(tuneGoalChoices(), m_parser.value(m_goal));
        const QString bandProblem =
            !m_parser.isSet(m_band) || bandFromText(m_parser.value(m_band))
                ? QString()
                : QStringLiteral("--band must be two frequencies in MHz as LOW-HIGH, the lower "
                                 "first, not '%1'")
                      .arg(m_parser.value(m_band));
        return {goalProblem, bandProblem, m_output.check(m_common.json())};
    }

    std::optional<int> setUp(const Calculation &run) override
    {
        m_formula = CommandIo::model(run, m_model);
        m_setup = tuneSetupOf(run);
        m_tuneGoal = tuneGoalFromText(m_parser.value(m_goal)).value_or(TuneGoal::Match);
        if (m_parser.isSet(m_band)) {
            m_setup.band = bandFromText(m_parser.value(m_band));
        }
        if (m_tuneGoal == TuneGoal::Band && !m_setup.band) {
            m_io.say(QStringLiteral("%1 MHz lies in no amateur band: give the band to cover with "
                                    "--band LOW-HIGH")
                         .arg(m_common.frequencies().first()));
            return ExitUsage;
        }
        return std::nullopt;
    }

    QString refusal() const override { return m_setup.requestFor(m_setup.formula).refusal; }

    std::optional<CommandFailure> analyse(EngineScheduler &scheduler) override
    {
        m_result = tuneOnEngine(m_tuneGoal, m_setup, scheduler);
        if (std::optional<CommandFailure> failure = failureOf(m_result)) {
            return failure;
        }
        if (m_output.writesModel()) {
            if (std::optional<CommandFailure> failure = m_io.writeModel(
                    m_output.modelPath(), m_output.format(),
                    withDimensions(m_formula, m_result.tuned), m_common.frequencies().first(),
                    m_setup.requestFor(m_result.tuned).installation.insulation)) {
                return failure;
            }
        }
        return m_io.writeDeck(m_output.deckPath(), m_setup.requestFor(m_result.tuned).deck);
    }

    QJsonObject reportJson() const override
    {
        return tuneReportToJson(
            m_result, m_setup,
            m_where.installation(m_common.units(), m_common.wireUnit()).feedLine);
    }

    // The model or the deck on standard output goes alone, without the report after it.
    QString reportText() const override
    {
        return m_output.toStandardOutput() ? QString() : tuneReportText(m_result, m_setup);
    }

    const InstallationOptions m_where{m_parser};
    const QCommandLineOption m_goal =
        added({QStringLiteral("goal"), goalHelp(), QStringLiteral("GOAL"),
               tuneGoals().front().name.toString()});
    const QCommandLineOption m_band =
        added({QStringLiteral("band"),
               QStringLiteral("For --goal band: the band to cover, in MHz, as LOW-HIGH; by "
                              "default the amateur band that holds the design frequency."),
               QStringLiteral("LOW-HIGH")});
    const OutputOptions m_output{
        m_parser,
        {QStringLiteral("Write the tuned model; - for standard output."),
         QStringLiteral("nec (NEC-2 deck) or ez (binary model file) for -o."), false, true}};
    ModelInput m_formula;
    TuneSetup m_setup;
    TuneGoal m_tuneGoal = TuneGoal::Match;
    TuneResult m_result;
};

} // namespace

int tuneCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                EngineScheduler &scheduler)
{
    return TuneCommand(QStringLiteral("tune"), tuneDescription(), out, err)
        .run(arguments, scheduler);
}

} // namespace moxon
