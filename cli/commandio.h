#pragma once

#include "analysisoutcome.h"
#include "calculation.h"
#include "commandoptions.h"
#include "messages.h"
#include "modelinput.h"
#include "nec2crunner.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTextStream>

#include <functional>
#include <optional>

namespace moxon {

inline constexpr QStringView kProgram = u"moxon-cli";

// Why a command ended without its report: `error` names it for scripts, `message` says it in
// a sentence, `status` is the exit status.
struct CommandFailure
{
    QString error;
    QString message;
    int status = 0;

    // A design input the window rejects: "input_rejected", exit 1.
    [[nodiscard]] static CommandFailure rejected(const Calculation &run);
    // No figures from the engine, named as the check's JSON names it: exit 3 when there are
    // none to be had (nec2c missing, the model beyond it, figures no antenna has), else 1.
    [[nodiscard]] static CommandFailure engine(EngineFailure failure, const QString &message);
    // An analysis without a result: the engine's failures as engine() names them (all of the
    // tuning's are), else a tolerance's or a trim's own: "no_dip" or "dip_out_of_reach", exit 1.
    [[nodiscard]] static CommandFailure analysis(const AnalysisOutcome &outcome);
};

// What one command of moxon-cli writes, and the steps every command takes between its options
// and its report: parsing, calculating the design as the window does, writing the model or
// the deck, and telling why it failed.
class CommandIo
{
public:
    CommandIo(QString command, QTextStream &out, QTextStream &err);

    // Parses `arguments`, the program and the command first, then checks them with `check`.
    // The exit status when the command ends here: after --help, or a bad argument told on
    // stderr; nothing when it goes on.
    [[nodiscard]] std::optional<int> parse(QCommandLineParser &parser, const QStringList &arguments,
                                           const std::function<QString()> &check);

    // The design at `frequency` as the window calculates it, its message told on stderr.
    [[nodiscard]] Calculation calculate(const CommonOptions &common, const QString &frequency);
    // The calculation's message, if it gave one: its input error or its range warning.
    [[nodiscard]] static std::optional<Message> calculationMessage(const Calculation &run);
    // The model of `run` as the window's export builds it from the design as shown.
    [[nodiscard]] static ModelInput model(const Calculation &run, const ModelOptions &options);

    // Writes `model` as the window's export does, whole or not at all, into `path`; "-" puts
    // it alone on standard output, so that it can be piped. A model tuned for insulated wire
    // carries `insulation`'s card in the NEC deck; the binary model file, which has no place
    // for it, is written with a warning on stderr.
    [[nodiscard]] std::optional<CommandFailure>
    writeModel(const QString &path, ModelFormat format, const ModelInput &model,
               const QString &frequency, const std::optional<Insulation> &insulation = {});
    // --deck: `deck` into `path`, or onto standard output for "-"; nothing without a path or
    // a deck.
    [[nodiscard]] std::optional<CommandFailure> writeDeck(const QString &path,
                                                          const QByteArray &deck);
    // --pdf: the build sheet into `path` whole or not at all, or onto standard output for "-".
    [[nodiscard]] std::optional<CommandFailure> writeSheet(const QString &path,
                                                           const QByteArray &pdf);

    // A message of the window on stderr: "<frequency> MHz: <title>: <text>".
    void tell(const Message &message, const QString &frequency);
    // A sentence of the command's own on stderr: "moxon-cli <command>: <sentence>".
    void say(const QString &sentence);
    // One JSON object on a line of its own.
    void printJson(const QJsonObject &object);
    // Ends the command on `failure`, whose sentence stderr has been told: with --json
    // (`json`) standard output gets {"error", "message"}. Its exit status.
    int failed(const CommandFailure &failure, bool json);

private:
    void writeBytes(const QByteArray &bytes);
    // `bytes` into `path` or onto standard output; a failure names `what` was not written and
    // is `error` for scripts.
    [[nodiscard]] std::optional<CommandFailure> writeOutput(const QString &path,
                                                            const QByteArray &bytes,
                                                            const QString &what,
                                                            const QString &error);

    QString m_command;
    QTextStream &m_out;
    QTextStream &m_err;
};

} // namespace moxon
