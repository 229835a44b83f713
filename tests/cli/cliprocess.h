#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace moxon::test {

// The built moxon-cli run as a shell runs it, its standard output as raw bytes, with an engine
// of the test's choosing as "nec2c" on PATH.
struct ProgramRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// A folder to put on PATH alone: empty (no engine at all), or with an "nec2c" that runs
// `script`, one of the stand-ins or a script of the test's own.
class EngineFolder
{
public:
    EngineFolder() = default;
    explicit EngineFolder(const QByteArray &script)
    {
        QFile engine(m_folder.filePath(QStringLiteral("nec2c")));
        if (engine.open(QIODevice::WriteOnly)) {
            engine.write("#!/bin/sh\n" + script + '\n');
            engine.close();
            engine.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    // A stand-in of tests/analysis/standins, by its name: "replay", "degenerate", ...
    [[nodiscard]] static QByteArray standIn(const QString &name)
    {
        return "exec " + QFile::encodeName(QStringLiteral(MOXON_STANDIN_DIR "/") + name) +
               ".sh \"$@\"";
    }

    [[nodiscard]] QString path() const { return m_folder.path(); }
    [[nodiscard]] QString filePath(const QString &name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
};

// Runs moxon-cli with `arguments` and PATH as given; the engine's stand-ins need the shell's
// own tools beside it.
inline ProgramRun runProgram(const QStringList &arguments, const QString &path)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), path);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MOXON_CLI_PROGRAM), arguments);
    ProgramRun run;
    if (process.waitForFinished(120'000) && process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

inline QString withSystemTools(const QString &folder)
{
    return folder + QStringLiteral(":/usr/bin:/bin");
}

// Why standard output is not exactly one JSON object with "error" and "message", and only
// them; empty when it is.
inline QString notOneFailureObject(const QByteArray &out)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return QStringLiteral("not one JSON object: ") + QString::fromUtf8(out.left(300));
    }
    if (!out.endsWith('\n') || out.count('\n') != 1) {
        return QStringLiteral("not one line: ") + QString::fromUtf8(out.left(300));
    }
    const QJsonObject object = document.object();
    if (object.keys() != QStringList{QStringLiteral("error"), QStringLiteral("message")} ||
        object.value(QStringLiteral("error")).toString().isEmpty() ||
        object.value(QStringLiteral("message")).toString().isEmpty()) {
        return QStringLiteral("not {error, message}: ") + QString::fromUtf8(out);
    }
    return {};
}

} // namespace moxon::test
