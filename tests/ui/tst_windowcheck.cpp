// The design check from the main window, on a real display: each way of opening it, its
// figures against moxon-cli's for the same design, and that it follows a unit option.

#include "checkfigureformat.h"
#include "filedialoganswer.h"
#include "frmmoxon.h"
#include "standinprocesses.h"
#include "testsuite.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

QWidget *checkWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == u"CheckWindow"_s) {
            return window;
        }
    }
    return nullptr;
}

QString shown(const QWidget *window, const QString &name)
{
    const auto *label = window->findChild<QLabel *>(name);
    return label != nullptr ? label->text() : u"(no label %1)"_s.arg(name);
}

// What moxon-cli check (or tune) --json says of the design.
QJsonObject commandLineCheck(const QStringList &options, const QString &command = u"check"_s)
{
    QProcess cli;
    cli.start(QStringLiteral(MOXON_CLI), QStringList{command, u"--json"_s} + options);
    if (!cli.waitForFinished(30'000) || cli.exitCode() != 0) {
        qWarning("moxon-cli check: %s", cli.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
}

// The figures of the check window as they must read for the command line's check.
void compareFigures(const QWidget *window, const QJsonObject &cli)
{
    QVERIFY2(!cli.isEmpty(), "moxon-cli check gave no report");
    const CheckFigureFormat format(window->locale());
    QCOMPARE(shown(window, u"impedance"_s),
             format.impedance({cli.value(u"resistance_ohm"_s).toDouble(),
                               cli.value(u"reactance_ohm"_s).toDouble()}));
    QCOMPARE(shown(window, u"swr"_s), format.swr(cli.value(u"swr_50"_s).toDouble()));
    if (cli.contains(u"takeoff_deg"_s)) {
        QCOMPARE(shown(window, u"takeoff"_s), format.angle(cli.value(u"takeoff_deg"_s).toDouble()));
    }
    QCOMPARE(shown(window, u"gain"_s), format.gain(cli.value(u"forward_gain_dbi"_s).toDouble()));
    QCOMPARE(shown(window, u"frontToBack"_s),
             format.frontToBack(cli.value(u"front_to_back_db"_s).toDouble()));
    QCOMPARE(shown(window, u"beamwidth"_s),
             format.beamwidth(cli.value(u"beamwidth_deg"_s).toDouble()));
    const QJsonObject band = cli.value(u"bandwidth"_s).toObject();
    QCOMPARE(shown(window, u"bandwidth"_s),
             format.bandwidth({true, band.value(u"lower_mhz"_s).toDouble(),
                               band.value(u"upper_mhz"_s).toDouble(),
                               band.value(u"reaches_lower_end"_s).toBool(),
                               band.value(u"reaches_upper_end"_s).toBool()},
                              cli.value(u"frequency_mhz"_s).toDouble()));
}

// Xvfb runs no window manager: the window takes the focus itself.
void showActive(QWidget &window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
}

bool checkFinished(const QWidget *window)
{
    return shown(window, u"status"_s).startsWith(u"nec2c 已算完"_s);
}

// The number a cell of the window shows, its sign and unit aside: "−3.9" and "≥ 0.25 in" read
// as -3.9 and 0.25.
double cellNumber(const QString &text)
{
    const int word = text.startsWith(u'≥') ? 1 : 0;
    QString number = text.section(u' ', word, word);
    number.replace(u'−', u'-').remove(u'+');
    return QLocale(QLocale::English, QLocale::UnitedStates).toDouble(number);
}

// Answers the next file dialog with `path`.
void answerFileDialog(QTimer &timer, const QString &path)
{
    QObject::connect(&timer, &QTimer::timeout, &timer, [path] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            dialog && dialog->isVisible()) {
            chooseFile(dialog, path);
        }
    });
    timer.start(5);
}

// Shows `window`, opens the check with Ctrl+D and waits for its first check.
void openWithFirstCheck(QWidget &window, QWidget *&check)
{
    showActive(window);
    QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier);
    check = checkWindow();
    QVERIFY(check != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(checkFinished(check), 20'000);
}

// The tolerances the check window shows of a design: what moxon-cli reports of it.
void tolerancesAsTheCommandLine(const QWidget *check, const QStringList &design)
{
    const QJsonObject tolerance = commandLineCheck(design, u"tolerance"_s);
    QVERIFY(!tolerance.isEmpty());
    for (const QChar letter : u"ABCD"_s) {
        const QJsonObject cut =
            tolerance.value(u"dimensions"_s).toObject().value(QString(letter.toLower())).toObject();
        const auto cell = [&](int column) {
            return cellNumber(shown(check, u"tolerance%1%2"_s.arg(letter).arg(column)));
        };
        const QString row =
            u"%1: window %2 %3 %4 %5, moxon-cli %6"_s.arg(letter)
                .arg(cell(0))
                .arg(cell(1))
                .arg(cell(2))
                .arg(cell(3))
                .arg(QString::fromUtf8(QJsonDocument(cut).toJson(QJsonDocument::Compact)));
        QVERIFY2(std::fabs(cell(0) - cut.value(u"dip_khz_per_step"_s).toDouble()) <= 0.051,
                 qPrintable(row));
        QVERIFY2(std::fabs(cell(1) - cut.value(u"front_to_back_db_per_step"_s).toDouble()) <=
                     0.0051,
                 qPrintable(row));
        QVERIFY2(std::fabs(cell(2) - cut.value(u"tolerance_minus"_s).toDouble()) <= 0.0051,
                 qPrintable(row));
        QVERIFY2(std::fabs(cell(3) - cut.value(u"tolerance_plus"_s).toDouble()) <= 0.0051,
                 qPrintable(row));
    }
    QVERIFY2(shown(check, u"tolerancesResult"_s)
                 .contains(
                     u"成品率 %1 %"_s.arg(tolerance.value(u"yield"_s).toDouble() * 100, 0, 'f', 1)),
             qPrintable(shown(check, u"tolerancesResult"_s)));
}

// The trim the check window shows of the analyser's file of a design: the scale and the cuts
// moxon-cli advises of the same file.
void trimAsTheCommandLine(const QWidget *check, const QStringList &design, QPushButton *open)
{
    // The analyser's file: the scale and the cuts the command line advises.
    const QString measured = QStringLiteral(MOXON_TEST_DATA_DIR "/touchstone/moxon28.s1p");
    {
        QTimer answer;
        answerFileDialog(answer, measured);
        QTest::mouseClick(open, Qt::LeftButton);
    }
    QTRY_VERIFY_WITH_TIMEOUT(shown(check, u"trimStatus"_s).startsWith(u"修剪已算完"_s), 60'000);
    const QJsonObject trim =
        commandLineCheck(design + QStringList{u"--measured"_s, measured}, u"trim"_s);
    QVERIFY(!trim.isEmpty());
    const QJsonObject field = trim.value(u"field_trim"_s).toObject();
    const QString lines = shown(check, u"trimResult"_s);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const auto cut = [&](const QString &tails, double change) {
        return tails + (change < 0 ? u"两端各剪 "_s : u"两端各加 "_s) +
               english.toString(std::fabs(change), 'f', 2) + u" in"_s;
    };
    for (const QString &expected :
         {u"实测谐振点 %1 MHz"_s.arg(trim.value(u"measured_dip_mhz"_s).toDouble(), 0, 'f', 4),
          u"模型谐振点 %1 MHz"_s.arg(trim.value(u"model_dip_mhz"_s).toDouble(), 0, 'f', 4),
          u"电尺度 %1"_s.arg(trim.value(u"scale"_s).toDouble(), 0, 'f', 4),
          cut(u"驱动单元"_s, field.value(u"driver_tail_change"_s).toDouble()),
          cut(u"反射单元"_s, field.value(u"reflector_tail_change"_s).toDouble()),
          u"预测谐振点 %1 MHz"_s.arg(field.value(u"predicted_dip_mhz"_s).toDouble(), 0, 'f', 4)}) {
        QVERIFY2(lines.contains(expected), qPrintable(expected + u" in:\n"_s + lines));
    }
    // The dip the file gave, in the box where it may be typed over.
    QCOMPARE(check->findChild<QLineEdit *>(u"measuredDip"_s)->text(),
             english.toString(trim.value(u"measured_dip_mhz"_s).toDouble(), 'f', 4)
                 .remove(QRegularExpression(u"0+$"_s)));
}

// The tuned model through the export's Save As and message, as moxon-cli tune writes it; the
// main window's design stays the formula's.
void exportsTheTunedModel(frmMoxon &window, QPushButton *exportTuned)
{
    const QString before = qobject_cast<QLineEdit *>(window.control(u"txtC"_s))->text();
    QTemporaryDir folder;
    const QString path = folder.filePath(u"tuned.nec"_s);
    QTest::mouseClick(qobject_cast<QRadioButton *>(window.control(u"optNEC"_s)), Qt::LeftButton, {},
                      QPoint(6, 6));
    QString message;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && dialog->isVisible()) {
            chooseFile(dialog, path);
        } else if (auto *box = qobject_cast<QMessageBox *>(modal); box && box->isVisible()) {
            message = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    answer.start(5);
    QTest::mouseClick(exportTuned, Qt::LeftButton);
    answer.stop();
    QVERIFY2(message.startsWith(u"Model written to file '"_s), qPrintable(message));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QProcess cliModel;
    cliModel.start(QStringLiteral(MOXON_CLI),
                   {u"tune"_s, u"--freq"_s, u"146"_s, u"--goal"_s, u"front-to-back"_s,
                    u"--format"_s, u"nec"_s, u"-o"_s, u"-"_s});
    QVERIFY(cliModel.waitForFinished(30'000));
    QCOMPARE(written.readAll(), cliModel.readAllStandardOutput());
    QCOMPARE(qobject_cast<QLineEdit *>(window.control(u"txtC"_s))->text(), before);
}

} // namespace

class TestWindowCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The installation the check window remembers: kept apart from the user's.
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY2(!QStandardPaths::findExecutable(u"nec2c"_s).isEmpty(),
                 "nec2c is not installed; scripts/install-deps.sh test installs it");
    }

    // Each test starts from free space and perfect wire.
    void init() { QSettings(u"moxon"_s, u"moxon"_s).clear(); }

    void opens_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Ctrl+D") << u"key"_s;
        QTest::newRow("click on the diagram") << u"click"_s;
        QTest::newRow("the diagram's menu") << u"menu"_s;
    }

    void opens()
    {
        QFETCH(QString, way);
        frmMoxon window;
        showActive(window);
        QVERIFY(checkWindow() == nullptr || !checkWindow()->isVisible());
        QWidget *diagram = window.control(u"Image1"_s);
        QVERIFY(diagram != nullptr);
        QCOMPARE(diagram->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(diagram->toolTip().contains(u"Ctrl+D"_s));

        if (way == u"key"_s) {
            QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier);
        } else if (way == u"click"_s) {
            QTest::mouseClick(diagram, Qt::LeftButton, {}, diagram->rect().center());
        } else {
            // The menu runs its own loop: its first entry is chosen from inside it.
            QStringList entries;
            QTimer::singleShot(0, this, [&entries] {
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                if (menu == nullptr) {
                    return;
                }
                for (QAction *action : menu->actions()) {
                    entries.append(action->text());
                }
                menu->actions().first()->trigger();
                menu->close();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, diagram->rect().center(),
                                    diagram->mapToGlobal(diagram->rect().center()));
            QApplication::sendEvent(diagram, &event);
            // The check, then apart from it the choice of language.
            QCOMPARE(entries,
                     (QStringList{u"设计检查…(&D)"_s, QString(), u"界面语言 / Language"_s}));
        }

        QWidget *check = checkWindow();
        QVERIFY(check != nullptr);
        QTRY_VERIFY(check->isVisible());
        QVERIFY(check->windowTitle().startsWith(u"设计检查"_s));
        QTRY_VERIFY_WITH_TIMEOUT(checkFinished(check), 20'000);
        compareFigures(check, commandLineCheck({u"--freq"_s, u"146"_s}));

        // Closing the main window closes the check window too.
        window.close();
        QVERIFY(!check->isVisible());
    }

    void followsUnitOptions()
    {
        frmMoxon window;
        QWidget *check = nullptr;
        openWithFirstCheck(window, check);
        QVERIFY(check != nullptr);

        // Millimetres round the dimensions otherwise than inches: the deck, and the check, follow.
        auto *millimetres = qobject_cast<QRadioButton *>(window.control(u"optMM"_s));
        QVERIFY(millimetres != nullptr);
        QTest::mouseClick(millimetres, Qt::LeftButton, {}, QPoint(6, millimetres->height() / 2));
        QVERIFY(!checkFinished(check));
        QTRY_VERIFY_WITH_TIMEOUT(checkFinished(check), 20'000);
        compareFigures(check, commandLineCheck({u"--freq"_s, u"146"_s, u"--units"_s, u"mm"_s}));
    }

    void followsTheInstallation()
    {
        frmMoxon window;
        QWidget *check = nullptr;
        openWithFirstCheck(window, check);
        QVERIFY(check != nullptr);

        // Average ground, then 400 inches up: each change checks the design anew.
        auto *ground = check->findChild<QComboBox *>(u"ground"_s);
        auto *height = check->findChild<QLineEdit *>(u"height"_s);
        QVERIFY(ground != nullptr && height != nullptr);
        const int average = ground->findText(u"一般地面"_s);
        QVERIFY(average > 0);
        ground->setCurrentIndex(average);
        Q_EMIT ground->activated(average);
        QVERIFY(!checkFinished(check));
        height->setText(u"400"_s);
        height->setModified(true); // as typing does
        Q_EMIT height->editingFinished();
        QVERIFY(!checkFinished(check));
        QTRY_VERIFY_WITH_TIMEOUT(checkFinished(check), 20'000);
        QVERIFY(shown(check, u"header"_s).contains(u"400 in"_s));
        compareFigures(check, commandLineCheck({u"--freq"_s, u"146"_s, u"--height"_s, u"400"_s,
                                                u"--ground"_s, u"average"_s}));

        // Remembered for the next window.
        window.close();
        frmMoxon again;
        openWithFirstCheck(again, check);
        QVERIFY(shown(check, u"header"_s).contains(u"400 in"_s));
        QCOMPARE(check->findChild<QComboBox *>(u"ground"_s)->currentIndex(), average);
    }

    // An engine that never answers, in place of nec2c: the check and a tuning hang until a
    // window is closed, and then no engine process and no working folder may be left.
    void closingMidTuneLeavesNothing_data()
    {
        QTest::addColumn<bool>("mainWindow");
        QTest::newRow("the check window closed") << false;
        QTest::newRow("the main window closed") << true;
    }

    void closingMidTuneLeavesNothing()
    {
        QFETCH(bool, mainWindow);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QDir(folder.path()).mkpath(u"bin"_s);
        QDir(folder.path()).mkpath(u"tmp"_s);
        QVERIFY(QFile::link(QStringLiteral(MOXON_STANDIN_DIR "/hang.sh"),
                            folder.filePath(u"bin/nec2c"_s)));
        const QByteArray path = qgetenv("PATH");
        const QByteArray tmp = qgetenv("TMPDIR");
        const QString pids = folder.filePath(u"pids"_s);
        qputenv("PATH", QFile::encodeName(folder.filePath(u"bin"_s)) + ':' + path);
        qputenv("TMPDIR", QFile::encodeName(folder.filePath(u"tmp"_s)));
        qputenv("MOXON_STANDIN_PIDS", QFile::encodeName(pids));
        const QDir workFolders(folder.filePath(u"tmp"_s));
        {
            auto window = std::make_unique<frmMoxon>();
            showActive(*window);
            QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
            QWidget *check = checkWindow();
            QVERIFY(check != nullptr);
            QTRY_VERIFY(check->isVisible());
            auto *tune = check->findChild<QPushButton *>(u"tuningStart"_s);
            QVERIFY(tune != nullptr && tune->isEnabled());
            QTest::mouseClick(tune, Qt::LeftButton);
            QVERIFY(shown(check, u"tuningStatus"_s).startsWith(u"正在调谐"_s));
            // The check's engines hold every core; the tuning's first run waits for one.
            QTRY_VERIFY(notedNumbers(pids).size() >= 2);
            QTRY_VERIFY(!workFolders.isEmpty(QDir::Dirs | QDir::NoDotAndDotDot));
            if (mainWindow) {
                window->close();
                window.reset();
            } else {
                check->close();
            }
            QTRY_VERIFY_WITH_TIMEOUT(allEnded(notedNumbers(pids)), kEndedWaitMs);
            QTRY_VERIFY_WITH_TIMEOUT(workFolders.isEmpty(QDir::Dirs | QDir::NoDotAndDotDot),
                                     kEndedWaitMs);
        }
        qputenv("PATH", path);
        qputenv("TMPDIR", tmp);
        QVERIFY(allEnded(notedNumbers(pids)));
        QVERIFY(workFolders.isEmpty(QDir::Dirs | QDir::NoDotAndDotDot));
    }

    // A 10 m design and what an analyser measured of it: the tolerances and the trim the
    // window shows are what moxon-cli reports of the same design and file.
    void tolerancesAndTrimAsTheCommandLine()
    {
        frmMoxon window;
        showActive(window);
        auto *frequency = qobject_cast<QLineEdit *>(window.control(u"txtFreq"_s));
        QVERIFY(frequency != nullptr);
        frequency->setFocus();
        frequency->selectAll();
        QTest::keyClicks(frequency, u"28.4"_s);
        QTest::keyClick(frequency, Qt::Key_Return);
        QWidget *check = nullptr;
        openWithFirstCheck(window, check);
        QVERIFY(check != nullptr);
        auto *tabs = check->findChild<QTabWidget *>(u"figureTabs"_s);
        const QStringList design{u"--freq"_s, u"28.4"_s};

        QTest::mouseClick(check->findChild<QPushButton *>(u"tolerancesStart"_s), Qt::LeftButton);
        QCOMPARE(tabs->currentIndex(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(shown(check, u"tolerancesStatus"_s).startsWith(u"公差已算完"_s),
                                 60'000);
        tolerancesAsTheCommandLine(check, design);
        if (QTest::currentTestFailed()) {
            return;
        }

        // A file that is no Touchstone file: refused with its line, nothing run.
        QTemporaryDir folder;
        const QString broken = folder.filePath(u"broken.s1p"_s);
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# MHz S RI R 50\n28.0 0.1\n");
        file.close();
        auto *open = check->findChild<QPushButton *>(u"openMeasurement"_s);
        QVERIFY(open != nullptr);
        {
            QTimer answer;
            answerFileDialog(answer, broken);
            QTest::mouseClick(open, Qt::LeftButton);
        }
        QCOMPARE(tabs->currentIndex(), 3);
        QVERIFY2(shown(check, u"trimStatus"_s).startsWith(u"broken.s1p line 2: "_s),
                 qPrintable(shown(check, u"trimStatus"_s)));
        QVERIFY(shown(check, u"trimResult"_s).isEmpty());

        trimAsTheCommandLine(check, design, open);
    }

    void tunesCancelsAndExports()
    {
        frmMoxon window;
        QWidget *check = nullptr;
        openWithFirstCheck(window, check);
        QVERIFY(check != nullptr);
        auto *goal = check->findChild<QComboBox *>(u"goal"_s);
        auto *tune = check->findChild<QPushButton *>(u"tuningStart"_s);
        auto *cancel = check->findChild<QPushButton *>(u"tuningCancel"_s);
        auto *exportTuned = check->findChild<QPushButton *>(u"exportTuned"_s);
        QVERIFY(goal && tune && cancel && exportTuned);
        QVERIFY(!exportTuned->isEnabled());
        goal->setCurrentIndex(1); // the best front-to-back

        // Cancelled at once, while the main window keeps answering.
        QTest::mouseClick(tune, Qt::LeftButton);
        QVERIFY(cancel->isVisible());
        QTest::keyClick(check, Qt::Key_Escape);
        QCOMPARE(shown(check, u"tuningStatus"_s), u"调谐已取消。"_s);
        QVERIFY(!cancel->isVisible() && !exportTuned->isEnabled());

        // Tuned, then the tuned design checked, with what moxon-cli tune reports.
        QTest::mouseClick(tune, Qt::LeftButton);
        const auto tuned = [check] {
            return shown(check, u"tuningStatus"_s).startsWith(u"调谐完成"_s);
        };
        QTRY_VERIFY_WITH_TIMEOUT(tuned(), 30'000);
        QTRY_VERIFY_WITH_TIMEOUT(checkFinished(check), 20'000);
        QVERIFY(shown(check, u"header"_s).endsWith(u"（调谐后）"_s));
        // Each dimension and each figure before and after, in the tab beside the figures.
        const QStringList result = shown(check, u"tuningResult"_s).split(u'\n');
        for (const QChar letter : u"ABCDE"_s) {
            QVERIFY2(std::any_of(result.cbegin(), result.cend(),
                                 [letter](const QString &line) {
                                     return line.startsWith(letter) && line.contains(u'→');
                                 }),
                     qPrintable(result.join(u'|')));
        }
        QCOMPARE(check->findChild<QTabWidget *>(u"figureTabs"_s)->currentIndex(), 1);
        const QJsonObject cli =
            commandLineCheck({u"--freq"_s, u"146"_s, u"--goal"_s, u"front-to-back"_s}, u"tune"_s);
        const QJsonObject after = cli.value(u"after"_s).toObject();
        const CheckFigureFormat format(check->locale());
        QCOMPARE(shown(check, u"impedance"_s),
                 format.impedance({after.value(u"resistance_ohm"_s).toDouble(),
                                   after.value(u"reactance_ohm"_s).toDouble()}));
        QCOMPARE(shown(check, u"frontToBack"_s),
                 format.frontToBack(after.value(u"front_to_back_db"_s).toDouble()));

        exportsTheTunedModel(window, exportTuned);
    }
};

MOXON_TEST_MAIN(TestWindowCheck)
#include "tst_windowcheck.moc"
