#include "enginecommand.h"

#include "checkrequest.h"
#include "engineruns.h"
#include "moxoncli.h"

namespace moxon {

EngineCommand::EngineCommand(const QString &name, const QString &description, QTextStream &out,
                             QTextStream &err)
    : m_io(name, out, err)
    , m_out(out)
{
    m_parser.setApplicationDescription(description);
}

int EngineCommand::run(const QStringList &arguments, EngineScheduler &scheduler)
{
    const auto check = [&] {
        return firstProblem(
            QStringList{m_common.checkOneFrequency(), m_model.check(), where().check()} +
            problems());
    };
    if (const std::optional<int> status = m_io.parse(m_parser, arguments, check)) {
        return *status;
    }
    if (const std::optional<int> status = prepare()) {
        return *status;
    }
    const bool json = m_common.json();
    const Calculation run = m_io.calculate(m_common, m_common.frequencies().first());
    if (!run.accepted()) {
        return m_io.failed(CommandFailure::rejected(run), json);
    }
    if (const std::optional<int> status = setUp(run)) {
        return *status;
    }
    // A design the check refuses cannot be analysed either: say why as check does.
    if (const QString refused = refusal(); !refused.isEmpty()) {
        m_io.say(refused);
        return m_io.failed(CommandFailure::engine(EngineFailure::Refused, refused), json);
    }
    if (const std::optional<CommandFailure> failure = analyse(scheduler)) {
        return m_io.failed(*failure, json);
    }
    if (json) {
        m_io.printJson(reportJson());
    } else {
        m_out << reportText();
    }
    m_out.flush();
    return ExitOk;
}

QCommandLineOption EngineCommand::added(QCommandLineOption option)
{
    m_parser.addOption(option);
    return option;
}

TuneSetup EngineCommand::tuneSetupOf(const Calculation &run) const
{
    return tuneSetup(CommandIo::model(run, m_model), run.shown.values, run.form.wireSize,
                     where().installation(m_common.units(), m_common.wireUnit()));
}

std::optional<CommandFailure> EngineCommand::checked(const CheckRequest &request,
                                                     const QString &deckPath,
                                                     EngineScheduler &scheduler,
                                                     CheckReport &report)
{
    report = checkOnEngine(request, scheduler);
    if (report.failure != EngineFailure::Refused) {
        if (std::optional<CommandFailure> failure = m_io.writeDeck(deckPath, report.deck)) {
            return failure;
        }
    }
    if (!report.ok()) {
        m_io.say(report.message);
        return CommandFailure::engine(report.failure, report.message);
    }
    return std::nullopt;
}

std::optional<CommandFailure> EngineCommand::failureOf(const AnalysisOutcome &outcome)
{
    if (outcome.message.isEmpty()) {
        return std::nullopt;
    }
    m_io.say(outcome.message);
    return CommandFailure::analysis(outcome);
}

} // namespace moxon
