#pragma once

#include "analysisoutcome.h"
#include "calculation.h"
#include "commandio.h"
#include "commandoptions.h"
#include "tuner.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace moxon {

class EngineScheduler;

// A command of moxon-cli that runs nec2c on one design as it hangs: check, tune, tolerance
// and trim. Each makes its options after the design's and the model's, in the order its --help
// lists them, and says what it adds to the steps they share, which run() takes in turn: parse and
// check the options, calculate the design as the window does, set the analysis up, refuse a design
// the check refuses, run the analysis on the engine, and print its report as text or JSON.
class EngineCommand
{
public:
    virtual ~EngineCommand() = default;
    EngineCommand(const EngineCommand &) = delete;
    EngineCommand &operator=(const EngineCommand &) = delete;

    // The command `name` with its --help's `description`.
    EngineCommand(const QString &name, const QString &description, QTextStream &out,
                  QTextStream &err);

    // `arguments` start with the program and the command; the exit status.
    [[nodiscard]] int run(const QStringList &arguments, EngineScheduler &scheduler);

protected:
    // Where the design hangs: every such command takes it, after the model's options and any
    // of its own that --help lists before it (check's --sweep).
    [[nodiscard]] virtual const InstallationOptions &where() const = 0;
    // What is wrong with the command's own options, each empty when nothing is; looked at
    // after the design's, in this order.
    [[nodiscard]] virtual QStringList problems() const = 0;
    // What the command does before the design is calculated: the exit status when it ends
    // there.
    [[nodiscard]] virtual std::optional<int> prepare() { return std::nullopt; }
    // Sets the analysis up for the design `run` calculated: the exit status when it ends
    // there.
    [[nodiscard]] virtual std::optional<int> setUp(const Calculation &run) = 0;
    // Why the check refuses the design set up, or empty: nothing is analysed then.
    [[nodiscard]] virtual QString refusal() const = 0;
    // Runs the analysis and writes what the command writes besides its report: why it
    // failed, told on stderr already, or none.
    [[nodiscard]] virtual std::optional<CommandFailure> analyse(EngineScheduler &scheduler) = 0;
    // The report for scripts, and for people; the text may be empty when standard output
    // carries something else alone.
    [[nodiscard]] virtual QJsonObject reportJson() const = 0;
    [[nodiscard]] virtual QString reportText() const = 0;

    // `option` added to the parser, in the order the members that hold them are made.
    [[nodiscard]] QCommandLineOption added(QCommandLineOption option);
    // The tuning's setup of the design `run` calculated, where the options hang it.
    [[nodiscard]] TuneSetup tuneSetupOf(const Calculation &run) const;
    // The design check of `request` into `report`, with the deck the engine ran written to
    // `deckPath` (--deck; none when empty): why it gave no figures, told on stderr, or none.
    [[nodiscard]] std::optional<CommandFailure> checked(const CheckRequest &request,
                                                        const QString &deckPath,
                                                        EngineScheduler &scheduler,
                                                        CheckReport &report);
    // Why `outcome` gave no result, told on stderr and named for scripts; none when it gave
    // one.
    [[nodiscard]] std::optional<CommandFailure> failureOf(const AnalysisOutcome &outcome);

    QCommandLineParser m_parser; // made before the options, which add themselves to it
    CommandIo m_io;
    QTextStream &m_out;
    const CommonOptions m_common{m_parser};
    const ModelOptions m_model{m_parser};
};

} // namespace moxon
