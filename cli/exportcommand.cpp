#include "exportcommand.h"

#include "commandio.h"
#include "commandoptions.h"
#include "moxoncli.h"

namespace moxon {

int exportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                  EngineScheduler &)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the model exactly as the window's export would: the six wires from the "
        "dimensions as shown, written whole or not at all."));
    const CommonOptions common(parser);
    const ModelOptions model(parser);
    const OutputOptions output(
        parser, {QStringLiteral("The file to write; - for standard output."),
                 QStringLiteral("nec (NEC-2 deck) or ez (binary model file)."), true, false});
    CommandIo io(QStringLiteral("export"), out, err);
    const auto check = [&] {
        return firstProblem(
            {common.checkOneFrequency(), model.check(), output.check(common.json())});
    };
    if (const std::optional<int> status = io.parse(parser, arguments, check)) {
        return *status;
    }

    const QString frequency = common.frequencies().first();
    const Calculation run = io.calculate(common, frequency);
    if (!run.accepted()) {
        return ExitRejected;
    }
    const QString path = output.modelPath();
    if (io.writeModel(path, output.format(), CommandIo::model(run, model), frequency)) {
        return ExitRejected;
    }
    if (path != u"-") {
        // The confirmation's first line names the file; the rest is advice for the window.
        out << modelWrittenMessage(path).text.section(QLatin1Char('\n'), 0, 0) << Qt::endl;
    }
    return ExitOk;
}

} // namespace moxon
