#include "frmmoxon.h"
#include "pdfpage.h"
#include "testsuite.h"
#include "windowprinter.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(moxon::UiLanguage)

namespace moxon::test {

namespace {

void paintWith(QWidget &widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

// A window narrower than its client area, as the window is while the sheet is shown: a black
// box and a caption inside the shown part, a black block past the window's right edge.
struct NarrowedWindow
{
    static constexpr QSize kWindowSize{400, 300};
    static constexpr QRect kBox{10, 10, 380, 280};

    NarrowedWindow()
    {
        window.resize(kWindowSize);
        window.setWindowTitle(QStringLiteral("Sheet test"));
        client->setGeometry(0, 0, 600, 300);
        client->setAutoFillBackground(true);
        paintWith(*client, QPalette::Window, Qt::white);

        auto *box = new QFrame(client);
        box->setFrameStyle(QFrame::Box | QFrame::Plain);
        box->setLineWidth(2);
        paintWith(*box, QPalette::WindowText, Qt::black);
        box->setGeometry(kBox);

        auto *caption = new QLabel(QStringLiteral("工作频率 146 MHz"), client);
        paintWith(*caption, QPalette::WindowText, Qt::black);
        caption->move(40, 40);

        auto *hidden = new QFrame(client);
        hidden->setAutoFillBackground(true);
        paintWith(*hidden, QPalette::Window, Qt::black);
        hidden->setGeometry(450, 100, 100, 100);
    }

    QWidget window;
    QWidget *client = new QWidget(&window);
};

} // namespace

class WindowPrinterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fitsTheImageToThePage_data();
    void fitsTheImageToThePage();
    void printsOnlyWhatTheWindowShows_data();
    void printsOnlyWhatTheWindowShows();
    void printsOnePageWithTextAsText_data();
    void printsOnePageWithTextAsText();
    void printsTheWindowsCaptionsAsText_data();
    void printsTheWindowsCaptionsAsText();
};

void WindowPrinterTest::fitsTheImageToThePage_data()
{
    QTest::addColumn<QSizeF>("image");
    QTest::addColumn<QRectF>("page");
    QTest::addColumn<QRectF>("expected");

    QTest::newRow("wide image fills the width, at the top")
        << QSizeF(528, 376) << QRectF(0, 0, 1000, 1400) << QRectF(0, 0, 1000, 1000 * 376.0 / 528);
    QTest::newRow("tall image fills the height, centred across")
        << QSizeF(100, 400) << QRectF(0, 0, 1000, 1000) << QRectF(375, 0, 250, 1000);
    QTest::newRow("wide image on a landscape page fills the height")
        << QSizeF(400, 300) << QRectF(0, 0, 1400, 900) << QRectF(100, 0, 1200, 900);
    QTest::newRow("exact fit") << QSizeF(200, 100) << QRectF(0, 0, 400, 200)
                               << QRectF(0, 0, 400, 200);
    QTest::newRow("page offset is kept")
        << QSizeF(200, 100) << QRectF(50, 70, 400, 400) << QRectF(50, 70, 400, 200);
    QTest::newRow("small image is enlarged")
        << QSizeF(10, 10) << QRectF(0, 0, 300, 500) << QRectF(0, 0, 300, 300);
    QTest::newRow("empty image") << QSizeF(0, 100) << QRectF(0, 0, 400, 400) << QRectF();
    QTest::newRow("empty page") << QSizeF(200, 100) << QRectF(0, 0, 400, 0) << QRectF();
}

void WindowPrinterTest::fitsTheImageToThePage()
{
    QFETCH(QSizeF, image);
    QFETCH(QRectF, page);
    QFETCH(QRectF, expected);

    const QRectF placed = fitToPage(image, page);
    QCOMPARE(placed.isEmpty(), expected.isEmpty());
    if (!expected.isEmpty()) {
        QCOMPARE(placed.topLeft(), expected.topLeft());
        QCOMPARE(placed.size(), expected.size());
    }
}

void WindowPrinterTest::printsOnlyWhatTheWindowShows_data()
{
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("narrowed window cuts the client area") << 400 << QRect(0, 0, 400, 300);
    QTest::newRow("wide window shows all of it") << 700 << QRect(0, 0, 600, 300);
    QTest::newRow("window as wide as the client area") << 600 << QRect(0, 0, 600, 300);
}

void WindowPrinterTest::printsOnlyWhatTheWindowShows()
{
    QFETCH(int, windowWidth);
    QFETCH(QRect, expected);

    NarrowedWindow sheet;
    sheet.window.resize(windowWidth, 300);
    QCOMPARE(shownRect(*sheet.client), expected);
    QCOMPARE(shownRect(sheet.window), QRect(QPoint(0, 0), sheet.window.size()));
}

void WindowPrinterTest::printsOnePageWithTextAsText_data()
{
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<QMarginsF>("margins"); // millimetres

    QTest::newRow("portrait, uneven margins") << QPageLayout::Portrait << QMarginsF(20, 30, 10, 10);
    QTest::newRow("landscape, fitted to the height")
        << QPageLayout::Landscape << QMarginsF(10, 10, 10, 10);
}

void WindowPrinterTest::printsOnePageWithTextAsText()
{
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(QMarginsF, margins);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));

    NarrowedWindow sheet;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation);
    printer.setPageMargins(margins, QPageLayout::Millimeter);
    QCOMPARE(printWidgetImage(*sheet.client, printer), PrintOutcome::Printed);

    QString error;
    const std::optional<int> pages = pdfPageCount(pdf, error);
    QVERIFY2(pages, qPrintable(error));
    QCOMPARE(*pages, 1);

    // The caption is in the file as text in an embedded font, not as a picture of text.
    const std::optional<QStringList> fonts = pdfFontNames(pdf, error);
    QVERIFY2(fonts, qPrintable(error));
    QVERIFY2(!fonts->isEmpty(), "no font in the PDF: the text was printed as a bitmap");

    constexpr int dpi = 100;
    const std::optional<QImage> page = pdfPageImage(pdf, dpi, error);
    QVERIFY2(page, qPrintable(error));

    // The box is the outermost ink; where it lands shows the shown part fitted to the
    // printable area, and nothing from past the window's edge.
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Point);
    const QRectF placed = fitToPage(QSizeF(NarrowedWindow::kWindowSize), printable);
    const double scale = placed.width() / NarrowedWindow::kWindowSize.width();
    const QRectF box = NarrowedWindow::kBox.toRectF();
    const QRectF expected((placed.topLeft() + box.topLeft() * scale) * dpi / 72.0,
                          box.size() * scale * dpi / 72.0);
    const QRect ink = inkBounds(*page);
    const QString where = QStringLiteral("ink at %1,%2 %3x%4, expected %5,%6 %7x%8")
                              .arg(ink.x())
                              .arg(ink.y())
                              .arg(ink.width())
                              .arg(ink.height())
                              .arg(expected.x())
                              .arg(expected.y())
                              .arg(expected.width())
                              .arg(expected.height());
    constexpr double tolerance = 2.5; // pixels at 100 dpi
    QVERIFY2(std::abs(ink.left() - expected.left()) <= tolerance, qPrintable(where));
    QVERIFY2(std::abs(ink.top() - expected.top()) <= tolerance, qPrintable(where));
    QVERIFY2(std::abs(ink.right() + 1 - expected.right()) <= tolerance, qPrintable(where));
    QVERIFY2(std::abs(ink.bottom() + 1 - expected.bottom()) <= tolerance, qPrintable(where));
}

void WindowPrinterTest::printsTheWindowsCaptionsAsText_data()
{
    QTest::addColumn<UiLanguage>("language");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("absent");
    const QStringList chinese{QStringLiteral("工作频率"), QStringLiteral("馈电点")};
    const QStringList english{QStringLiteral("Freq."), QStringLiteral("Feed point")};
    QTest::newRow("Chinese") << UiLanguage::Chinese << chinese << english;
    // The sheet is the window as it shows: in English when the window is.
    QTest::newRow("English") << UiLanguage::English << english << chinese;
}

void WindowPrinterTest::printsTheWindowsCaptionsAsText()
{
    QFETCH(UiLanguage, language);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, absent);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("window.pdf"));

    frmMoxon window(language);
    window.show();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QCOMPARE(printWidgetImage(window, printer), PrintOutcome::Printed);

    // The captions, the result boxes and the letters of the diagram all come back out of
    // the file as text: nothing of the window went to paper as a bitmap of text.
    QString error;
    const std::optional<QString> text = pdfText(pdf, error);
    QVERIFY2(text, qPrintable(error));
    const QString resultA =
        qobject_cast<QLineEdit *>(window.control(QStringLiteral("txtA")))->text();
    QVERIFY(!resultA.isEmpty());
    for (const QString &expected : captions + QStringList{resultA}) {
        QVERIFY2(
            text->contains(expected),
            qPrintable(QStringLiteral("\"%1\" is not text in the PDF: %2").arg(expected, *text)));
    }
    for (const QString &other : absent) {
        QVERIFY2(!text->contains(other),
                 qPrintable(QStringLiteral("\"%1\" is on the sheet: %2").arg(other, *text)));
    }
}

} // namespace moxon::test

MOXON_TEST_MAIN(moxon::test::WindowPrinterTest)
#include "tst_windowprinter.moc"
