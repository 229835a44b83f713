#include "frmmoxon.h"
#include "messages.h"
#include "pdfpage.h"
#include "printqueue.h"
#include "testsuite.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <array>
#include <cstdio>

// The print command on the real window and a real CUPS queue: the queue named by
// MOXON_TEST_PRINTER is a cups-pdf printer writing into MOXON_TEST_PDF_DIR, set up as the
// default by scripts/setup-printer.sh.

using namespace Qt::StringLiterals;

namespace moxon::test {

namespace {

// Set in the environment of the copy of this program that runs without a print server.
constexpr char kWithoutPrinterVariable[] = "MOXON_PRINT_WITHOUT_PRINTER";

const std::array kSheetControls = {u"frmMoxon"_s, u"Frame1"_s, u"Frame2"_s, u"optFT"_s,
                                   u"optIN"_s,    u"optM"_s,   u"optMM"_s};

// Window geometry in twips, as the window lays it out.
constexpr int kSheetClientWidth = 7920;  // the sheet's outer width less the border
constexpr int kDesignClientWidth = 9960; // the design's outer width less the border
constexpr int kClientHeight = 5640;
constexpr QRect kFrame1{120, 120, 7695, 5415};
constexpr QRect kCalculateButton{6240, 450, 1200, 375};
// Inside optFT (6360, 4290, 975 x 240), right of its caption.
constexpr QRect kOptFTRightEnd{7180, 4300, 140, 220};

struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int windowWidth = 0; // pixels, when the box came up
    bool calculateVisible = true;
};

// Answers the window's message boxes as they come up, one scripted button each, and notes
// what each said and how the window looked behind it.
class BoxAnswerer : public QObject
{
public:
    BoxAnswerer(frmMoxon &window, QList<QMessageBox::StandardButton> answers)
        : m_window(window)
        , m_answers(std::move(answers))
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::answerOpenBox);
        m_timer.start();
    }

    [[nodiscard]] const QList<SeenBox> &seen() const { return m_seen; }

private:
    void answerOpenBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == m_answered.data()) {
            return;
        }
        m_answered = box;
        m_seen.append({box->windowTitle(), box->text(), box->icon(), m_window.width(),
                       m_window.control(u"btnCalculate"_s)->isVisible()});
        const QMessageBox::StandardButton answer =
            m_answers.isEmpty() ? QMessageBox::Ok : m_answers.takeFirst();
        if (QAbstractButton *button = box->button(answer)) {
            button->click();
        } else {
            box->reject();
        }
    }

    frmMoxon &m_window;
    QList<QMessageBox::StandardButton> m_answers;
    QList<SeenBox> m_seen;
    QPointer<QMessageBox> m_answered;
    QTimer m_timer;
};

// What is not as the design has it after a print: empty when the window is restored.
QStringList notRestored(const frmMoxon &window)
{
    QStringList problems;
    if (window.width() != window.twipsToPixelsX(kDesignClientWidth)) {
        problems.append(QStringLiteral("width %1").arg(window.width()));
    }
    if (!window.control(u"btnCalculate"_s)->isVisible()) {
        problems.append(QStringLiteral("btnCalculate hidden"));
    }
    for (const QString &control : kSheetControls) {
        const QWidget *widget = window.control(control);
        const QColor design = QApplication::palette(widget).color(QPalette::Window);
        if (widget->palette().color(QPalette::Window) != design) {
            problems.append(control + QStringLiteral(" background"));
        }
    }
    return problems;
}

QAbstractButton *printButton(const frmMoxon &window)
{
    return qobject_cast<QAbstractButton *>(window.control(u"btnPrint"_s));
}

// Pixels of a twips rectangle of the window, placed by where Frame1 landed on the page.
QRect onPage(const QRect &twips, const QRect &frame1OnPage)
{
    const double sx = double(frame1OnPage.width()) / kFrame1.width();
    const double sy = double(frame1OnPage.height()) / kFrame1.height();
    return QRectF(frame1OnPage.left() + (twips.left() - kFrame1.left()) * sx,
                  frame1OnPage.top() + (twips.top() - kFrame1.top()) * sy, twips.width() * sx,
                  twips.height() * sy)
        .toAlignedRect();
}

} // namespace

// The copy of this program started without a print server: presses print, answers OK, and
// writes each box it saw and what was not restored to standard output.
int printWithoutPrinter()
{
    frmMoxon window;
    window.show();
    BoxAnswerer answerer(window, {QMessageBox::Ok, QMessageBox::Ok});
    printButton(window)->click();
    QTextStream out(stdout);
    for (const SeenBox &box : answerer.seen()) {
        out << "box\t" << box.title << '\t' << int(box.icon) << '\t' << box.text << '\n';
    }
    out << "not restored\t" << notRestored(window).join(QLatin1Char(',')) << '\n';
    return 0;
}

class PrintIntegrationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void okPrintsTheSheetAsOnePage();
    void cancelSendsNoJob();
    void withoutPrinterSaysSoAndSendsNoJob();
    void cleanup();

private:
    PrintQueue m_queue;
    QSet<QString> m_pdfsBefore;
};

void PrintIntegrationTest::initTestCase()
{
    QVERIFY2(!m_queue.name().isEmpty() && !m_queue.folder().isEmpty(),
             "MOXON_TEST_PRINTER and MOXON_TEST_PDF_DIR are not set; run this through ctest");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("lpstat")).isEmpty(),
             "lpstat is missing: run scripts/install-deps.sh test");
    // Never print on whatever else the machine calls its default printer.
    const QString defaultPrinter = QPrinterInfo::defaultPrinter().printerName();
    QVERIFY2(defaultPrinter == m_queue.name(),
             qPrintable(QStringLiteral("the default printer is \"%1\", not the test queue %2: "
                                       "run scripts/setup-printer.sh as root")
                            .arg(defaultPrinter, m_queue.name())));
    QVERIFY2(m_queue.waitUntilIdle(60000), "the test queue still has jobs from before");
    m_pdfsBefore = m_queue.pdfs();
}

void PrintIntegrationTest::cleanup()
{
    // The sheets this test printed go; what was there before stays.
    for (const QString &name : m_queue.pdfs() - m_pdfsBefore) {
        QFile::remove(QDir(m_queue.folder()).filePath(name));
    }
}

void PrintIntegrationTest::okPrintsTheSheetAsOnePage()
{
    const QSet<QString> jobsBefore = m_queue.jobs(QStringLiteral("all"));
    const QSet<QString> pdfsBefore = m_queue.pdfs();

    frmMoxon window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    BoxAnswerer answerer(window, {QMessageBox::Ok});
    printButton(window)->click();

    QCOMPARE(answerer.seen().size(), 1);
    const SeenBox &confirm = answerer.seen().first();
    QCOMPARE(confirm.title, confirmPrintMessage().title);
    QCOMPARE(confirm.text, confirmPrintMessage().text);
    QCOMPARE(confirm.icon, QMessageBox::NoIcon);
    QCOMPARE(confirm.windowWidth, window.twipsToPixelsX(kSheetClientWidth));
    QVERIFY(!confirm.calculateVisible);
    QCOMPARE(notRestored(window), QStringList());

    QString error;
    const std::optional<QString> printed = m_queue.printedPage(pdfsBefore, error);
    QVERIFY2(printed, qPrintable(error));
    const QString &pdf = *printed;
    const QSet<QString> newJobs = m_queue.jobs(QStringLiteral("all")) - jobsBefore;
    QCOMPARE(newJobs.size(), 1);

    constexpr int dpi = 100;
    const std::optional<QImage> page = pdfPageImage(pdf, dpi, error);
    QVERIFY2(page, qPrintable(error));
    // To look at the sheet by eye: MOXON_KEEP_PRINTED_SHEET names a folder for the PDF and
    // the page as PNG.
    if (const QString keep = qEnvironmentVariable("MOXON_KEEP_PRINTED_SHEET"); !keep.isEmpty()) {
        QFile::copy(pdf, QDir(keep).filePath(QStringLiteral("sheet.pdf")));
        page->save(QDir(keep).filePath(QStringLiteral("sheet.png")));
    }

    // On white, the outermost ink is Frame1's border, with white all round it.
    const QRect frame = inkBounds(*page, kPureWhite);
    QVERIFY2(!frame.isEmpty(), "the printed page is blank");
    QVERIFY(frame.left() > 0 && frame.top() > 0);
    QVERIFY(frame.right() < page->width() - 1 && frame.bottom() < page->height() - 1);

    // The narrowed window: nothing of the export options or the buttons to the right of Frame1,
    // so the image has the sheet's proportions, not the whole window's.
    const QRect sheet = onPage(QRect(0, 0, kSheetClientWidth, kClientHeight), frame);
    const double aspect = double(sheet.width()) / sheet.height();
    const double expectedAspect = double(kSheetClientWidth) / kClientHeight;
    QVERIFY2(std::abs(aspect / expectedAspect - 1) < 0.03,
             qPrintable(QStringLiteral("aspect %1, expected %2").arg(aspect).arg(expectedAspect)));

    // A white sheet: inside Frame1 most of the paper stays white, where the window's button
    // face would grey all of it.
    const double inked = inkShare(*page, frame.adjusted(4, 4, -4, -4), kPureWhite);
    QVERIFY2(inked < 0.5, qPrintable(QStringLiteral("%1 of Frame1 is not white").arg(inked)));

    // Blank paper where the Calculate button stands in the window, and beside the caption of
    // a display-unit option, whose background must have turned white with the sheet.
    const std::array<std::pair<const char *, QRect>, 2> blankPlaces = {{
        {"the Calculate button", kCalculateButton},
        {"the right end of optFT", kOptFTRightEnd},
    }};
    for (const auto &[place, twips] : blankPlaces) {
        const double inkedThere =
            inkShare(*page, onPage(twips, frame).adjusted(2, 2, -2, -2), kPureWhite);
        QVERIFY2(inkedThere < 0.01, qPrintable(QStringLiteral("%1 of the place of %2 is inked")
                                                   .arg(inkedThere)
                                                   .arg(QLatin1String(place))));
    }
}

void PrintIntegrationTest::cancelSendsNoJob()
{
    const QSet<QString> jobsBefore = m_queue.jobs(QStringLiteral("all"));
    const QSet<QString> pdfsBefore = m_queue.pdfs();

    frmMoxon window;
    window.show();
    BoxAnswerer answerer(window, {QMessageBox::Cancel});
    printButton(window)->click();

    QCOMPARE(answerer.seen().size(), 1);
    QCOMPARE(answerer.seen().first().title, confirmPrintMessage().title);
    QCOMPARE(notRestored(window), QStringList());
    // A job is on the server before the print returns, so none can still be on its way.
    QCOMPARE(m_queue.jobs(QStringLiteral("all")), jobsBefore);
    QCOMPARE(m_queue.pdfs(), pdfsBefore);
}

void PrintIntegrationTest::withoutPrinterSaysSoAndSendsNoJob()
{
    const QSet<QString> jobsBefore = m_queue.jobs(QStringLiteral("all"));
    const QSet<QString> pdfsBefore = m_queue.pdfs();

    QTemporaryDir nowhere;
    QVERIFY(nowhere.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kWithoutPrinterVariable), QStringLiteral("1"));
    // A print server that is not there: no printers, and so no default one.
    environment.insert(QStringLiteral("CUPS_SERVER"),
                       nowhere.filePath(QStringLiteral("cups.sock")));
    environment.remove(QStringLiteral("PRINTER"));
    environment.remove(QStringLiteral("LPDEST"));
    QProcess child;
    child.setProcessEnvironment(environment);
    // The folder's test program runs this case again, by its name.
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("tst_printintegration")});
    QVERIFY2(child.waitForFinished(60000), "the copy without a printer did not finish");
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));

    const QString expected = QStringLiteral("box\t%1\t%2\t%3\nbox\t%4\t%5\t%6\nnot restored\t\n")
                                 .arg(confirmPrintMessage().title)
                                 .arg(int(QMessageBox::NoIcon))
                                 .arg(confirmPrintMessage().text, noPrinterMessage().title)
                                 .arg(int(QMessageBox::Warning))
                                 .arg(noPrinterMessage().text);
    QCOMPARE(output, expected);
    QCOMPARE(m_queue.jobs(QStringLiteral("all")), jobsBefore);
    QCOMPARE(m_queue.pdfs(), pdfsBefore);
}

} // namespace moxon::test

int MOXON_TEST_ENTRY(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(moxon::test::kWithoutPrinterVariable)) {
        return moxon::test::printWithoutPrinter();
    }
    moxon::test::PrintIntegrationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printintegration.moc"
