#include "checkrequest.h"
#include "eventlog.h"
#include "fakecheckview.h"
#include "goldenfile.h"
#include "modelfile.h"
#include "testsuite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

QString writtenMessage(const QString &path)
{
    return u"message notice Model Generated: Model written to file '"_s + path +
           u"'.\n\nThis model has been constructed for Free Space with Zero wire loss.\nIf "
           "desired you may use your modeling program to change these attributes."_s;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Hidden entries too: a temporary file left behind would show here.
QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

QString goldenName(ModelFormat format)
{
    return format == ModelFormat::Nec ? u"startup.nec"_s : u"startup.ez"_s;
}

ExportOutcome exportTo(FakeWindow &window, ModelFormat format, const QString &path)
{
    window.session.setFormat(format);
    window.view.savePaths = {path};
    return window.session.exportModel();
}

enum class Failure
{
    MissingFolder,
    TargetIsFolder,
    UnderProc,
    FrequencyPastSingle, // the design takes it, the model file cannot hold it
};

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startupModel_data();
    void startupModel();
    void existingLongerFileIsReplacedWhole_data();
    void existingLongerFileIsReplacedWhole();
    void secondExportHoldsOnlyItsOwnChoice();
    void cancelTouchesNothing();
    void failedWriteLeavesOldFile_data();
    void failedWriteLeavesOldFile();
    void rejectedInputWritesNothing_data();
    void rejectedInputWritesNothing();
    void warningDoesNotStopTheExport();
    void tunedModel();
    void tunedInsulatedModel_data();
    void tunedInsulatedModel();
};

void TestExport::startupModel_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<ModelFormat>("format");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("design");

    // Model files read the same in every locale.
    QTest::newRow("nec") << kUs << ModelFormat::Nec << u"NEC files (*.nec)|*.nec"_s
                         << u"design in 29.17"_s;
    QTest::newRow("eznec") << kUs << ModelFormat::Eznec << u"EZNEC files (*.ez)|*.ez"_s
                           << u"design in 29.17"_s;
    QTest::newRow("nec, decimal comma")
        << kGerman << ModelFormat::Nec << u"NEC files (*.nec)|*.nec"_s << u"design in 29,17"_s;
    QTest::newRow("eznec, decimal comma")
        << kGerman << ModelFormat::Eznec << u"EZNEC files (*.ez)|*.ez"_s << u"design in 29,17"_s;
}

void TestExport::startupModel()
{
    QFETCH(QLocale, locale);
    QFETCH(ModelFormat, format);
    QFETCH(QString, filter);
    QFETCH(QString, design);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The name is used as the dialog returns it: no extension is added.
    const QString path = dir.filePath(u"no extension"_s);
    FakeWindow window(locale);
    QCOMPARE(exportTo(window, format, path), ExportOutcome::Written);

    const QString difference = compareWithGolden(goldenName(format), readAll(path));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(entries(dir.path()), QStringList{u"no extension"_s});
    QCOMPARE(eventLog(window.view.events),
             (QStringList{design,
                          QStringLiteral("save as ") +
                              (format == ModelFormat::Nec ? u"NEC"_s : u"EZNEC"_s),
                          writtenMessage(path)}));
    QCOMPARE(saveFilter(format), filter);
}

void TestExport::existingLongerFileIsReplacedWhole_data()
{
    QTest::addColumn<ModelFormat>("format");
    QTest::newRow("nec") << ModelFormat::Nec;
    QTest::newRow("eznec") << ModelFormat::Eznec;
}

void TestExport::existingLongerFileIsReplacedWhole()
{
    QFETCH(ModelFormat, format);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"model"_s);
    QVERIFY(writeFile(path, QByteArray(5000, 'x')));
    FakeWindow window;
    QCOMPARE(exportTo(window, format, path), ExportOutcome::Written);

    const QString difference = compareWithGolden(goldenName(format), readAll(path));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(entries(dir.path()), QStringList{u"model"_s});
}

void TestExport::secondExportHoldsOnlyItsOwnChoice()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeWindow window;
    window.session.setVertical(true);
    window.session.setXAxis(false);
    window.session.selectDisplayUnit(DisplayUnit::Millimetre);
    QCOMPARE(exportTo(window, ModelFormat::Nec, dir.filePath(u"first.nec"_s)),
             ExportOutcome::Written);
    const QByteArray first = readAll(dir.filePath(u"first.nec"_s));
    QVERIFY2(first.contains("GW 1  5 0 171 -370.5 0 273.8 -370.5 1.02616\r\n"), first.constData());
    QVERIFY(first.contains("GS 0 0 0.001\r\n"));
    QVERIFY(first.contains("RP 0 181 1 1000 -90 270 1 1\r\n"));

    window.session.setVertical(false);
    window.session.setXAxis(true);
    window.session.selectDisplayUnit(DisplayUnit::Inch);
    QCOMPARE(exportTo(window, ModelFormat::Nec, dir.filePath(u"second.nec"_s)),
             ExportOutcome::Written);
    const QString difference =
        compareWithGolden(u"startup.nec"_s, readAll(dir.filePath(u"second.nec"_s)));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(window.session.state().wireTable[0].X1, 10.78 - 4.05);
    QCOMPARE(window.session.state().wireTable[0].Z1, 0.0);
}

void TestExport::cancelTouchesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"kept.nec"_s);
    QVERIFY(writeFile(path, "old deck\r\n"));
    FakeWindow window;
    window.session.setFormat(ModelFormat::Nec);
    window.session.setXAxis(false);
    QCOMPARE(window.session.exportModel(), ExportOutcome::Cancelled);

    QCOMPARE(readAll(path), QByteArray("old deck\r\n"));
    QCOMPARE(entries(dir.path()), QStringList{u"kept.nec"_s});
    QCOMPARE(eventLog(window.view.events), (QStringList{u"design in 29.17"_s, u"save as NEC"_s}));
    // The table is built before the dialog and kept after a cancel.
    QCOMPARE(window.session.state().wireTable[0].Y1, 10.78 - 4.05);
}

void TestExport::failedWriteLeavesOldFile_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<ModelFormat>("format");

    QTest::newRow("folder missing, nec") << Failure::MissingFolder << ModelFormat::Nec;
    QTest::newRow("folder missing, eznec") << Failure::MissingFolder << ModelFormat::Eznec;
    QTest::newRow("name of a folder, nec") << Failure::TargetIsFolder << ModelFormat::Nec;
    QTest::newRow("name of a folder, eznec") << Failure::TargetIsFolder << ModelFormat::Eznec;
    QTest::newRow("under /proc") << Failure::UnderProc << ModelFormat::Eznec;
    QTest::newRow("frequency past single range, eznec")
        << Failure::FrequencyPastSingle << ModelFormat::Eznec;
}

void TestExport::failedWriteLeavesOldFile()
{
    QFETCH(Failure, failure);
    QFETCH(ModelFormat, format);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray old("the model of yesterday");
    QString path = dir.filePath(u"model"_s);
    QVERIFY(writeFile(path, old));

    FakeWindow window;
    QString reason;
    switch (failure) {
    case Failure::MissingFolder:
        path = dir.filePath(u"missing/model"_s);
        break;
    case Failure::TargetIsFolder:
        path = dir.filePath(u"folder"_s);
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        break;
    case Failure::UnderProc:
        path = u"/proc/moxon-export-test"_s;
        break;
    case Failure::FrequencyPastSingle:
        window.session.setFrequencyText(u"1E39"_s);
        reason = u"The frequency '1E39' is not a number that the model file can hold."_s;
        break;
    }
    const QStringList before = entries(dir.path());
    QCOMPARE(exportTo(window, format, path), ExportOutcome::Failed);

    const QList<Message> messages = window.view.messages();
    QVERIFY(!messages.isEmpty());
    const Message &last = messages.last();
    QCOMPARE(last.kind, MessageKind::Failure);
    QCOMPARE(last.title, u"Export Failed"_s);
    const QString opening = u"Model could not be written to file '"_s + path + u"'.\n"_s;
    QVERIFY2(last.text.startsWith(opening) && last.text.size() > opening.size(),
             qPrintable(last.text));
    if (!reason.isEmpty()) {
        QCOMPARE(last.text, opening + reason);
    }
    for (const Message &message : messages) {
        QVERIFY(message.title != u"Model Generated"_s);
    }
    QCOMPARE(readAll(dir.filePath(u"model"_s)), old);
    QCOMPARE(entries(dir.path()), before);
    if (failure == Failure::UnderProc) {
        QVERIFY(!QFile::exists(path));
    }
}

void TestExport::rejectedInputWritesNothing_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<bool>("calculatedBefore");
    QTest::addColumn<QStringList>("log");

    const QStringList frequency = {
        u"message input error Invalid Entry: Frequency must be a numeric value greater than 0."_s,
        u"focus frequency"_s};
    // A model of the last design with the rejected input would be neither.
    QTest::newRow("frequency 0") << u"0"_s << u"#12"_s << false << frequency;
    QTest::newRow("frequency 0 after a rejected Calculate")
        << u"0"_s << u"#12"_s << true << frequency;
    QTest::newRow("gauge 41") << u"146"_s << u"#41"_s << false
                              << QStringList{u"wire 41 AWG"_s,
                                             u"message input error Invalid Entry: AWG wire size "
                                             "must be an integer value between 0 and 40."_s,
                                             u"focus wire size"_s};
}

void TestExport::rejectedInputWritesNothing()
{
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(bool, calculatedBefore);
    QFETCH(QStringList, log);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeWindow window;
    window.enter(freq, wire, WireUnit::Gauge);
    if (calculatedBefore) {
        QCOMPARE(window.session.calculate(), CalculateOutcome::Rejected);
        window.view.clear();
    }
    QCOMPARE(exportTo(window, ModelFormat::Eznec, dir.filePath(u"model.ez"_s)),
             ExportOutcome::Rejected);

    QCOMPARE(eventLog(window.view.events), log);
    QCOMPARE(entries(dir.path()), QStringList());
}

void TestExport::warningDoesNotStopTheExport()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"thick.nec"_s);
    FakeWindow window;
    window.enter(u"1000"_s, u"0.5"_s, WireUnit::Inch);
    QCOMPARE(exportTo(window, ModelFormat::Nec, path), ExportOutcome::Written);

    const QList<Message> messages = window.view.messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.first().title, u"Warning"_s);
    QCOMPARE(messages.last().title, u"Model Generated"_s);
    const QByteArray deck = readAll(path);
    QVERIFY2(deck.contains("FR 0 1 0 0 1000 1\r\n"), deck.constData());
    QVERIFY(deck.contains(" 0.25\r\n"));
}

void TestExport::tunedModel()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"tuned.nec"_s);
    FakeWindow window(QLocale(QLocale::English, QLocale::UnitedStates));
    FakeCheckView checks;
    window.session.setCheckView(&checks);
    window.session.setFormat(ModelFormat::Nec);
    window.view.savePaths = {path, path};
    QCOMPARE(window.session.exportTunedModel(), ExportOutcome::Rejected); // nothing tuned yet

    // Tuned by nec2c for the best front-to-back, which moves the gap and the tails.
    window.session.startTuning(TuneGoal::FrontToBack);
    QTRY_VERIFY_WITH_TIMEOUT(checks.result.has_value(), 30'000);
    QCOMPARE(checks.outline(),
             (QStringList{u"tuning started"_s, u"tuning result"_s, u"check tuned"_s}));
    const TuneDimensions tuned = checks.result->tuned;
    QVERIFY(!(tuned == checks.result->formula));
    window.view.events.clear();

    // The horizontal beam along X that was tuned, even with the options changed in between
    // and back: the export writes the model that was tuned, whole.
    QCOMPARE(window.session.exportTunedModel(), ExportOutcome::Written);
    const ModelInput formula = *window.session.currentModel();
    QCOMPARE(readAll(path), modelBytes(ModelFormat::Nec, withDimensions(formula, tuned)).bytes);
    QCOMPARE(eventLog(window.view.events), (QStringList{u"save as NEC"_s, writtenMessage(path)}));
    // The shown design and what the export writes stay the formula's.
    QCOMPARE(window.session.state().shown->values.e, 10.78);
    QCOMPARE(window.session.currentModel()->wires[1].X1, 10.78);

    // An option that changes the model voids the tuning: nothing tuned to export any more.
    window.session.setVertical(true);
    QCOMPARE(checks.outline().mid(3), (QStringList{u"tuning ended voided"_s, u"check formula"_s}));
    QVERIFY(!window.session.tuning());
    QCOMPARE(window.session.exportTunedModel(), ExportOutcome::Rejected);
}

void TestExport::tunedInsulatedModel_data()
{
    QTest::addColumn<ModelFormat>("format");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("told");

    // 0.8 mm of PVC on the start-up design's #12 wire, of radius 1.026 mm:
    // 2e-7 (1 - 1/3.5) ln(1.826 / 1.026) H/m.
    QTest::newRow("NEC deck: the loading in the deck")
        << ModelFormat::Nec << u"notice"_s
        << u"Its insulation is in the deck as a series inductance of 82.3 nH per metre on every "
           "wire (an LD 3 card)."_s;
    QTest::newRow("binary model file: no place for it")
        << ModelFormat::Eznec << u"warning"_s
        << u"The file has no place for the insulation, without which these dimensions resonate "
           "higher: add it in your modeling program, as insulation 0.8 mm thick of relative "
           "permittivity 3.5, or as a series inductance of 82.3 nH per metre on every wire."_s;
}

void TestExport::tunedInsulatedModel()
{
    QFETCH(ModelFormat, format);
    QFETCH(QString, kind);
    QFETCH(QString, told);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"tuned"_s);
    FakeWindow window(QLocale(QLocale::English, QLocale::UnitedStates));
    FakeCheckView checks;
    window.session.setCheckView(&checks);
    Installation insulated;
    insulated.insulation = Insulation{InsulationKind::Pvc, 3.5, 0.0008};
    window.session.setInstallation(insulated);
    window.session.setFormat(format);
    window.view.savePaths = {path};

    window.session.startTuning(TuneGoal::Match);
    QTRY_VERIFY_WITH_TIMEOUT(checks.result.has_value(), 60'000);
    window.view.events.clear();
    QCOMPARE(window.session.exportTunedModel(), ExportOutcome::Written);
    const ModelInput tuned = withDimensions(*window.session.currentModel(), checks.result->tuned);
    const QByteArray written = readAll(path);
    QCOMPARE(written, modelBytes(format, tuned, insulated.insulation).bytes);
    // The deck carries the loading; the binary file is the bare model's, byte for byte.
    if (format == ModelFormat::Nec) {
        QCOMPARE(written.count("\nLD 3 0 0 0 0 8.23"), 1);
    } else {
        QCOMPARE(written, modelBytes(format, tuned).bytes);
    }
    const QStringList events = eventLog(window.view.events);
    QCOMPARE(events.size(), 2);
    QVERIFY2(events.at(1).startsWith(u"message "_s + kind), qPrintable(events.at(1)));
    QVERIFY2(events.at(1).endsWith(told), qPrintable(events.at(1)));
}

MOXON_TEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
