#include "captionface.h"
#include "pdfpage.h"
#include "printqueue.h"
#include "sheetsample.h"
#include "testsuite.h"
#include "windowprinter.h"

#include <QApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

// The build sheet on a real CUPS queue: the queue named by MOXON_TEST_PRINTER is a cups-pdf
// printer writing into MOXON_TEST_PDF_DIR, set up as the default by scripts/setup-printer.sh.

using namespace Qt::StringLiterals;

namespace moxon::test {

class SheetPrintTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void buildSheetPrintsItsCutList();
    void cleanup();

private:
    PrintQueue m_queue;
    QSet<QString> m_pdfsBefore;
};

void SheetPrintTest::initTestCase()
{
    QVERIFY2(!m_queue.name().isEmpty() && !m_queue.folder().isEmpty(),
             "MOXON_TEST_PRINTER and MOXON_TEST_PDF_DIR are not set; run this through ctest");
    // Never print on whatever else the machine calls its default printer.
    QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), m_queue.name());
    QVERIFY2(m_queue.waitUntilIdle(60000), "the test queue still has jobs from before");
    m_pdfsBefore = m_queue.pdfs();
}

void SheetPrintTest::cleanup()
{
    for (const QString &name : m_queue.pdfs() - m_pdfsBefore) {
        QFile::remove(QDir(m_queue.folder()).filePath(name));
    }
}

// The build sheet through the printing module, as the check window prints it: one page on the
// queue, the same page as the sheet drawn for that printer's paper into a PDF file of our own,
// whose text holds the cut list. The queue's PDF keeps no text to read back: the print
// server's filters draw the glyphs without their characters.
void SheetPrintTest::buildSheetPrintsItsCutList()
{
    const QSet<QString> pdfsBefore = m_queue.pdfs();
    const CaptionFace face;
    const BuildSheet sheet = twentyMetreSheet();
    QCOMPARE(printBuildSheet(sheet), PrintOutcome::Printed);
    QString error;
    const std::optional<QString> printed = m_queue.printedPage(pdfsBefore, error);
    QVERIFY2(printed, qPrintable(error));

    QTemporaryDir folder;
    QPrinter local(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    const QPageLayout layout = local.pageLayout();
    local.setOutputFormat(QPrinter::PdfFormat);
    local.setOutputFileName(folder.filePath(u"sheet.pdf"_s));
    local.setPageLayout(layout);
    QCOMPARE(printBuildSheet(sheet, local), PrintOutcome::Printed);
    const std::optional<QString> text = pdfText(local.outputFileName(), error);
    QVERIFY2(text, qPrintable(error));
    const QString words = text->simplified();
    for (const QString &shown : {u"施工单"_s, u"驱动单元半边"_s, u"4.9859 m"_s, u"10.6442 m"_s,
                                 u"4.0712 m"_s, u"14.073 MHz"_s}) {
        QVERIFY2(words.contains(shown), qPrintable(shown + u" is not on the page: "_s + words));
    }

    constexpr int dpi = 50;
    const std::optional<QImage> onPaper = pdfPageImage(*printed, dpi, error);
    QVERIFY2(onPaper, qPrintable(error));
    const std::optional<QImage> drawn = pdfPageImage(local.outputFileName(), dpi, error);
    QVERIFY2(drawn, qPrintable(error));
    QCOMPARE(onPaper->size(), drawn->size());
    const QRect paperInk = inkBounds(*onPaper);
    const QRect drawnInk = inkBounds(*drawn);
    QVERIFY(!drawnInk.isEmpty());
    for (const auto &[side, paper, local] : {std::tuple{"left", paperInk.left(), drawnInk.left()},
                                             {"top", paperInk.top(), drawnInk.top()},
                                             {"right", paperInk.right(), drawnInk.right()},
                                             {"bottom", paperInk.bottom(), drawnInk.bottom()}}) {
        QVERIFY2(std::abs(paper - local) <= 2,
                 qPrintable(u"ink's %1 edge at %2 on paper, %3 drawn"_s.arg(QLatin1String(side))
                                .arg(paper)
                                .arg(local)));
    }
    const double paperShare = inkShare(*onPaper, drawnInk);
    const double drawnShare = inkShare(*drawn, drawnInk);
    QVERIFY2(std::abs(paperShare - drawnShare) < 0.1 * drawnShare,
             qPrintable(u"%1 inked on paper, %2 drawn"_s.arg(paperShare).arg(drawnShare)));
}

} // namespace moxon::test

int MOXON_TEST_ENTRY(int argc, char *argv[])
{
    QApplication app(argc, argv);
    moxon::test::SheetPrintTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sheetprint.moc"
