#include "commandio.h"

#include "jsontext.h"
#include "localenumbers.h"
#include "machineformats.h"
#include "modelfile.h"
#include "moxoncli.h"

#include <QRegularExpression>
#include <QSaveFile>

namespace moxon {

CommandFailure CommandFailure::rejected(const Calculation &run)
{
    return {QStringLiteral("input_rejected"), run.error ? run.error->message : QString(),
            ExitRejected};
}

CommandFailure CommandFailure::engine(EngineFailure failure, const QString &message)
{
    const bool noFigures = failure == EngineFailure::Missing || failure == EngineFailure::Refused ||
                           failure == EngineFailure::UnsoundResult;
    return {engineFailureName(failure), message, noFigures ? ExitNoFigures : ExitRejected};
}

CommandFailure CommandFailure::analysis(const AnalysisOutcome &outcome)
{
    if (outcome.fault == AnalysisFault::Engine || outcome.fault == AnalysisFault::None) {
        return engine(outcome.failure, outcome.message);
    }
    return {analysisFaultName(outcome.fault), outcome.message, ExitRejected};
}

CommandIo::CommandIo(QString command, QTextStream &out, QTextStream &err)
    : m_command(std::move(command))
    , m_out(out)
    , m_err(err)
{
}

std::optional<int> CommandIo::parse(QCommandLineParser &parser, const QStringList &arguments,
                                    const std::function<QString()> &check)
{
    if (!parser.parse(arguments)) {
        say(parser.errorText());
        return ExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // The parser names the program by its path; name the command as it is typed.
        QString help = parser.helpText();
        help.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                     QStringLiteral("Usage: %1 %2").arg(kProgram, m_command));
        m_out << help;
        return ExitOk;
    }
    if (!parser.positionalArguments().isEmpty()) {
        say(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
        return ExitUsage;
    }
    if (const QString problem = check(); !problem.isEmpty()) {
        say(problem);
        return ExitUsage;
    }
    return std::nullopt;
}

Calculation CommandIo::calculate(const CommonOptions &common, const QString &frequency)
{
    // Numbers on the command line are read in the C locale, so that a script means the same
    // everywhere.
    const Calculation run =
        moxon::calculate(common.inputs(frequency), common.units(), LocaleNumbers(QLocale::c()));
    if (const std::optional<Message> message = calculationMessage(run)) {
        tell(*message, frequency);
    }
    return run;
}

std::optional<Message> CommandIo::calculationMessage(const Calculation &run)
{
    if (run.error) {
        return inputErrorMessage(*run.error);
    }
    if (run.warning != RangeWarning::None) {
        return rangeWarningMessage(run.warning);
    }
    return std::nullopt;
}

ModelInput CommandIo::model(const Calculation &run, const ModelOptions &options)
{
    return modelInputFor(run.shown, run.input, options.vertical(), options.xAxis());
}

std::optional<CommandFailure> CommandIo::writeModel(const QString &path, ModelFormat format,
                                                    const ModelInput &model,
                                                    const QString &frequency,
                                                    const std::optional<Insulation> &insulation)
{
    const bool standardOutput = path == u"-";
    const ModelBytes bytes = standardOutput ? modelBytes(format, model, insulation) : ModelBytes{};
    const WriteResult written =
        standardOutput ? bytes.result : saveModelFile(path, format, model, insulation);
    if (!written.ok()) {
        const Message message = exportFailedMessage(path, written.error());
        tell(message, frequency);
        return CommandFailure{QStringLiteral("model_not_written"),
                              QString(message.text).replace(u'\n', u' '), ExitRejected};
    }
    if (standardOutput) {
        writeBytes(bytes.bytes);
    }
    // What the binary model file leaves out, said where the user looks.
    if (insulation && format == ModelFormat::Eznec) {
        tell(tunedModelWrittenMessage(path, format, model, *insulation), frequency);
    }
    return std::nullopt;
}

std::optional<CommandFailure> CommandIo::writeDeck(const QString &path, const QByteArray &deck)
{
    return writeOutput(path, deck, QStringLiteral("the deck"), QStringLiteral("deck_not_written"));
}

std::optional<CommandFailure> CommandIo::writeSheet(const QString &path, const QByteArray &pdf)
{
    return writeOutput(path, pdf, QStringLiteral("the build sheet"),
                       QStringLiteral("sheet_not_written"));
}

std::optional<CommandFailure> CommandIo::writeOutput(const QString &path, const QByteArray &bytes,
                                                     const QString &what, const QString &error)
{
    if (path.isEmpty() || bytes.isEmpty()) {
        return std::nullopt;
    }
    if (path == u"-") {
        writeBytes(bytes);
        return std::nullopt;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString sentence =
            QStringLiteral("%1 could not be written to %2: %3").arg(what, path, file.errorString());
        say(sentence);
        return CommandFailure{error, sentence, ExitRejected};
    }
    return std::nullopt;
}

void CommandIo::tell(const Message &message, const QString &frequency)
{
    m_err << frequency << " MHz: " << message.title << ": "
          << QString(message.text).replace(QLatin1Char('\n'), QLatin1Char(' ')) << Qt::endl;
}

void CommandIo::say(const QString &sentence)
{
    m_err << kProgram << ' ' << m_command << ": " << sentence << Qt::endl;
}

void CommandIo::printJson(const QJsonObject &object)
{
    m_out << jsonText(object) << Qt::endl;
}

int CommandIo::failed(const CommandFailure &failure, bool json)
{
    if (json) {
        printJson(failureToJson(failure.error, failure.message));
    }
    m_out.flush();
    return failure.status;
}

// Raw bytes on the stream's device; a stream on a string (the tests) gets them as Latin-1.
void CommandIo::writeBytes(const QByteArray &bytes)
{
    m_out.flush();
    if (QIODevice *device = m_out.device()) {
        device->write(bytes);
    } else {
        m_out << QString::fromLatin1(bytes);
    }
}

} // namespace moxon
