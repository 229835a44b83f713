#include "nec2crunner.h"

#include "localenumbers.h"

#include <QFile>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace moxon {

namespace {

constexpr int kEngineTimeout = 120'000; // milliseconds; a six-wire model takes well under one

} // namespace

EngineRun runNec2c(const QByteArray &deck)
{
    const QString engine = QStandardPaths::findExecutable(QStringLiteral("nec2c"));
    if (engine.isEmpty()) {
        return {{},
                QStringLiteral("nec2c was not found on PATH; install the Debian package nec2c "
                               "(apt-get install nec2c)")};
    }
    QTemporaryDir folder;
    if (!folder.isValid()) {
        return {{}, QStringLiteral("no temporary folder: ") + folder.errorString()};
    }
    const QString input = folder.filePath(QStringLiteral("model.nec"));
    const QString output = folder.filePath(QStringLiteral("model.out"));
    QFile deckFile(input);
    if (!deckFile.open(QIODevice::WriteOnly) || deckFile.write(deck) != deck.size()) {
        return {{}, QStringLiteral("cannot write the deck: ") + deckFile.errorString()};
    }
    deckFile.close();

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(engine, {QStringLiteral("-i"), input, QStringLiteral("-o"), output});
    if (!process.waitForFinished(kEngineTimeout)) {
        process.kill();
        process.waitForFinished();
        return {{}, QStringLiteral("nec2c did not finish: ") + process.errorString()};
    }
    QFile result(output);
    if (!result.open(QIODevice::ReadOnly)) {
        return {{},
                QStringLiteral("nec2c wrote no output (exit status %1): %2")
                    .arg(process.exitCode())
                    .arg(QString::fromLocal8Bit(process.readAll()).trimmed())};
    }
    return {QString::fromLatin1(result.readAll()), {}};
}

QByteArray sweepDeck(const QByteArray &deck, double start, double step, int steps)
{
    QList<QByteArray> cards;
    for (const QByteArray &card : deck.split('\n')) {
        const QByteArray line = card.trimmed();
        if (line.startsWith("FR")) {
            cards.append(QStringLiteral("FR 0 %1 0 0 %2 %3")
                             .arg(steps)
                             .arg(LocaleNumbers::toSignificant(start, 15),
                                  LocaleNumbers::toSignificant(step, 15))
                             .toLatin1());
        } else if (line.startsWith("RP")) {
            if (!cards.last().startsWith("XQ")) {
                cards.append("XQ");
            }
        } else if (!line.isEmpty()) {
            cards.append(line);
        }
    }
    return cards.join("\r\n") + "\r\n";
}

} // namespace moxon
