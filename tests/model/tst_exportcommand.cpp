#include "fakewindow.h"
#include "goldenfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace moxon;
using namespace moxon::test;

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

const QString kNecFilter = QStringLiteral("NEC files (*.nec)|*.nec");
const QString kEzFilter = QStringLiteral("EZNEC files (*.ez)|*.ez");

QString generatedText(const QString &path)
{
    return QStringLiteral("Model written to file '") + path +
           QStringLiteral("'.\n\nThis model has been constructed for Free Space with Zero wire "
                          "loss.\nIf desired you may use your modeling program to change these "
                          "attributes.");
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

// Presses the model button with the Save As dialog answering `path`.
void exportTo(FakeWindow &window, const std::optional<QString> &path)
{
    window.toolkit.answerSaveAs(path);
    window.toolkit.press(Control::btnModel);
}

enum class Failure
{
    MissingFolder,
    TargetIsFolder,
    UnderProc,
    UnreadableWireSize,  // a writer refuses its input after the dialog
    FrequencyPastSingle, // the model file cannot hold a frequency the design accepts
};

} // namespace

Q_DECLARE_METATYPE(Failure)

class TestExportCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startupModelMatchesGoldenFile_data();
    void startupModelMatchesGoldenFile();
    void decimalCommaLocaleWritesTheSameFiles_data();
    void decimalCommaLocaleWritesTheSameFiles();
    void secondExportHoldsOnlyItsOwnChoice();
    void cancelTouchesNothing();
    void existingLongerFileIsReplacedWhole_data();
    void existingLongerFileIsReplacedWhole();
    void nameIsUsedAsReturned();
    void failedWriteLeavesOldFileAndSaysSo_data();
    void failedWriteLeavesOldFileAndSaysSo();
    void rejectedInputEndsAfterInvalidEntry_data();
    void rejectedInputEndsAfterInvalidEntry();
    void warningDoesNotStopTheExport();
    void noShownDesignAsksForNoFile();
};

void TestExportCommand::startupModelMatchesGoldenFile_data()
{
    QTest::addColumn<Control>("format");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("golden");

    QTest::newRow("nec") << Control::optNEC << kNecFilter << "startup.nec";
    QTest::newRow("eznec") << Control::optEZNEC << kEzFilter << "startup.ez";
}

void TestExportCommand::startupModelMatchesGoldenFile()
{
    QFETCH(Control, format);
    QFETCH(QString, filter);
    QFETCH(QString, golden);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(golden);
    FakeWindow window;
    window.load();
    window.toolkit.choose(format);
    exportTo(window, path);

    const QString difference = compareWithGolden(golden, readAll(path));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    const QStringList log = window.toolkit.log();
    QCOMPARE(log.first(), QStringLiteral("press btnModel"));
    QCOMPARE(log.at(1), QStringLiteral("press btnCalculate"));
    QVERIFY(log.contains(QStringLiteral("saveas ") + filter));
    QCOMPARE(log.last(), messageLine(MessageStyle::OkOnly, QStringLiteral("Model Generated"),
                                     generatedText(path)));
    QCOMPARE(entries(dir.path()), QStringList{golden});
}

void TestExportCommand::decimalCommaLocaleWritesTheSameFiles_data()
{
    startupModelMatchesGoldenFile_data();
}

void TestExportCommand::decimalCommaLocaleWritesTheSameFiles()
{
    QFETCH(Control, format);
    QFETCH(QString, golden);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeWindow window(kGerman);
    window.load();
    QCOMPARE(window.toolkit.results(),
             (QStringList{QStringLiteral("29,17"), QStringLiteral("4,05"), QStringLiteral("1,17"),
                          QStringLiteral("5,56"), QStringLiteral("10,78")}));
    window.toolkit.choose(format);
    exportTo(window, dir.filePath(golden));

    const QString difference = compareWithGolden(golden, readAll(dir.filePath(golden)));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestExportCommand::secondExportHoldsOnlyItsOwnChoice()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeWindow window;
    window.load();

    window.toolkit.choose(Control::optNEC);
    window.toolkit.choose(Control::optVert);
    window.toolkit.choose(Control::optYaxis);
    window.toolkit.choose(Control::optMM);
    window.form.optMM_Click();
    exportTo(window, dir.filePath(QStringLiteral("first.nec")));
    const QByteArray first = readAll(dir.filePath(QStringLiteral("first.nec")));
    QVERIFY2(first.contains("GW 1  5 0 171 -370.5 0 273.8 -370.5 1.02616\r\n"), first.constData());
    QVERIFY(first.contains("GS 0 0 0.001\r\n"));
    QVERIFY(first.contains("RP 0 181 1 1000 -90 270 1 1\r\n"));

    window.toolkit.choose(Control::optHorz);
    window.toolkit.choose(Control::optXaxis);
    window.toolkit.choose(Control::optIN);
    window.form.optIN_Click();
    exportTo(window, dir.filePath(QStringLiteral("second.nec")));
    const QString difference = compareWithGolden(
        QStringLiteral("startup.nec"), readAll(dir.filePath(QStringLiteral("second.nec"))));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(window.form.state().wireTable[0].X1, 10.78 - 4.05);
    QCOMPARE(window.form.state().wireTable[0].Z1, 0.0);
}

void TestExportCommand::cancelTouchesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kept.nec"));
    writeFile(path, "old deck\r\n");
    FakeWindow window;
    window.load();
    window.toolkit.choose(Control::optNEC);
    window.toolkit.choose(Control::optYaxis);
    exportTo(window, std::nullopt);

    QCOMPARE(readAll(path), QByteArray("old deck\r\n"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("kept.nec")});
    QVERIFY(window.toolkit.messages().isEmpty());
    QCOMPARE(window.toolkit.log().last(), QStringLiteral("saveas ") + kNecFilter);
    // The table is built before the dialog and kept after a cancel.
    QCOMPARE(window.form.state().wireTable[0].Y1, 10.78 - 4.05);
}

void TestExportCommand::existingLongerFileIsReplacedWhole_data()
{
    startupModelMatchesGoldenFile_data();
}

void TestExportCommand::existingLongerFileIsReplacedWhole()
{
    QFETCH(Control, format);
    QFETCH(QString, golden);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("model"));
    writeFile(path, QByteArray(5000, 'x'));
    FakeWindow window;
    window.load();
    window.toolkit.choose(format);
    exportTo(window, path);

    const QString difference = compareWithGolden(golden, readAll(path));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("model")});
}

void TestExportCommand::nameIsUsedAsReturned()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("no extension"));
    FakeWindow window;
    window.load();
    window.toolkit.choose(Control::optEZNEC);
    exportTo(window, path);

    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("no extension")});
    QCOMPARE(readAll(path).size(), 1530);
    QCOMPARE(window.toolkit.messages().last().text, generatedText(path));
}

void TestExportCommand::failedWriteLeavesOldFileAndSaysSo_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<Control>("format");

    QTest::newRow("folder missing, nec") << Failure::MissingFolder << Control::optNEC;
    QTest::newRow("folder missing, eznec") << Failure::MissingFolder << Control::optEZNEC;
    QTest::newRow("name of a folder, nec") << Failure::TargetIsFolder << Control::optNEC;
    QTest::newRow("name of a folder, eznec") << Failure::TargetIsFolder << Control::optEZNEC;
    QTest::newRow("under /proc") << Failure::UnderProc << Control::optEZNEC;
    QTest::newRow("writer refuses wire size, nec")
        << Failure::UnreadableWireSize << Control::optNEC;
    QTest::newRow("writer refuses wire size, eznec")
        << Failure::UnreadableWireSize << Control::optEZNEC;
    QTest::newRow("frequency past single range, eznec")
        << Failure::FrequencyPastSingle << Control::optEZNEC;
}

void TestExportCommand::failedWriteLeavesOldFileAndSaysSo()
{
    QFETCH(Failure, failure);
    QFETCH(Control, format);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray old("the model of yesterday");
    QString path = dir.filePath(QStringLiteral("model"));
    writeFile(path, old);

    FakeWindow window;
    window.load();
    window.toolkit.choose(format);
    QString reason;
    switch (failure) {
    case Failure::MissingFolder:
        path = dir.filePath(QStringLiteral("missing/model"));
        break;
    case Failure::TargetIsFolder:
        path = dir.filePath(QStringLiteral("folder"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        break;
    case Failure::UnderProc:
        path = QStringLiteral("/proc/moxon-export-test");
        break;
    case Failure::UnreadableWireSize:
        // Only a window whose Calculate lets a bad wire size through reaches the writer with
        // it; the real one rejects it first.
        window.toolkit.onPress(Control::btnCalculate, [] {});
        window.toolkit.pick(Control::cboDiaUnits, 0);
        window.toolkit.type(Control::txtWD, QStringLiteral("abc"));
        reason = QStringLiteral("The wire size 'abc' is not a number the model can hold.");
        break;
    case Failure::FrequencyPastSingle:
        window.toolkit.type(Control::txtFreq, QStringLiteral("1E39"));
        reason = QStringLiteral("The frequency '1E39' is not a number that the model file can "
                                "hold.");
        break;
    }
    const QStringList before = entries(dir.path());
    exportTo(window, path);

    const QList<RecordedMessage> messages = window.toolkit.messages();
    QVERIFY(!messages.isEmpty());
    const RecordedMessage &last = messages.last();
    QCOMPARE(last.title, QStringLiteral("Export Failed"));
    QCOMPARE(last.style, MessageStyle::Exclamation);
    const QString opening =
        QStringLiteral("Model could not be written to file '") + path + QStringLiteral("'.\n");
    QVERIFY2(last.text.startsWith(opening) && last.text.size() > opening.size(),
             qPrintable(last.text));
    if (!reason.isEmpty()) {
        QCOMPARE(last.text, opening + reason);
    }
    for (const RecordedMessage &message : messages) {
        QVERIFY(message.title != QStringLiteral("Model Generated"));
    }
    QCOMPARE(readAll(dir.filePath(QStringLiteral("model"))), old);
    QCOMPARE(entries(dir.path()), before);
    if (failure == Failure::UnderProc) {
        QVERIFY(!QFile::exists(path));
    }
}

void TestExportCommand::rejectedInputEndsAfterInvalidEntry_data()
{
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("wireSize");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    QTest::newRow("frequency 0") << "0"
                                 << "#12"
                                 << "Frequency must be a numeric value greater than 0."
                                 << "txtFreq";
    QTest::newRow("gauge 41") << "146"
                              << "#41"
                              << "AWG wire size must be an integer value between 0 and 40."
                              << "txtWD";
}

void TestExportCommand::rejectedInputEndsAfterInvalidEntry()
{
    QFETCH(QString, frequency);
    QFETCH(QString, wireSize);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeWindow window;
    window.load();
    window.toolkit.type(Control::txtFreq, frequency);
    window.toolkit.type(Control::txtWD, wireSize);
    exportTo(window, dir.filePath(QStringLiteral("model.ez")));

    const QStringList log = window.toolkit.log();
    QCOMPARE(log.at(log.size() - 2),
             messageLine(MessageStyle::Exclamation, QStringLiteral("Invalid Entry"), message));
    QCOMPARE(log.last(), QStringLiteral("focus ") + focus);
    QVERIFY(!log.join(u'\n').contains(QStringLiteral("saveas")));
    QCOMPARE(entries(dir.path()), QStringList());
}

void TestExportCommand::warningDoesNotStopTheExport()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("thick.nec"));
    FakeWindow window;
    window.load();
    window.toolkit.choose(Control::optNEC);
    window.toolkit.type(Control::txtFreq, QStringLiteral("1000"));
    window.toolkit.pick(Control::cboDiaUnits, 0);
    window.toolkit.type(Control::txtWD, QStringLiteral("0.5"));
    exportTo(window, path);

    const QList<RecordedMessage> messages = window.toolkit.messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.first().title, QStringLiteral("Warning"));
    QCOMPARE(messages.last().title, QStringLiteral("Model Generated"));
    const QByteArray deck = readAll(path);
    QVERIFY2(deck.contains("FR 0 1 0 0 1000 1\r\n"), deck.constData());
    QVERIFY(deck.contains(" 0.25\r\n"));
}

void TestExportCommand::noShownDesignAsksForNoFile()
{
    // Before start-up has shown a design the result boxes hold no numbers to build from.
    FakeWindow window;
    window.toolkit.choose(Control::optNEC);
    exportTo(window, QStringLiteral("/nonexistent/never.nec"));

    QCOMPARE(window.toolkit.log().last(),
             messageLine(MessageStyle::Exclamation, QStringLiteral("Export Failed"),
                         QStringLiteral("There is no calculated design to export.")));
    QVERIFY(!window.toolkit.log().join(u'\n').contains(QStringLiteral("saveas")));
}

QTEST_MAIN(TestExportCommand)
#include "tst_exportcommand.moc"
