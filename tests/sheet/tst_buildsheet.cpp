#include "buildsheet.h"
#include "captionface.h"
#include "pdfpage.h"
#include "sheetpdf.h"
#include "sheetsample.h"
#include "testsuite.h"
#include "translation.h"

#include <QFile>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(moxon::UiLanguage)
Q_DECLARE_METATYPE(moxon::ToleranceResult)

namespace {

// The words of a PDF's text, blanks and line ends folded, so that a table's cells read in order.
QString folded(const QString &text)
{
    return text.simplified();
}

} // namespace

// The build sheet written as PDF without a display, read back with the poppler tools: the
// pieces and their lengths as worked by hand, the spreaders, the predictions, in both
// languages and in the window's face alone.
class TestBuildSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pdfTextHoldsTheCutList_data();
    void pdfTextHoldsTheCutList();
    void tolerancesWhereComputed();
    void tolerancesOnlyOfTheSheetsDesign_data();
    void tolerancesOnlyOfTheSheetsDesign();
    void unwritableFolderGivesAReason();
    void everyTextIsInTheFace_data();
    void everyTextIsInTheFace();
    void onePageInTheCaptionFaceAlone_data();
    void onePageInTheCaptionFaceAlone();

private:
    [[nodiscard]] std::optional<QString> pdfOf(const BuildSheet &sheet, UiLanguage language,
                                               QString &error);

    CaptionFace m_face;
    QTemporaryDir m_dir;
};

std::optional<QString> TestBuildSheet::pdfOf(const BuildSheet &sheet, UiLanguage language,
                                             QString &error)
{
    Translation translation;
    if (!translation.setLanguage(language)) {
        error = u"the English translation did not load"_s;
        return std::nullopt;
    }
    const QString path = m_dir.filePath(uiLanguageName(language) + u".pdf"_s);
    const QString failure = saveBuildSheetPdf(path, sheet, QLocale::c());
    if (!failure.isEmpty()) {
        error = failure;
        return std::nullopt;
    }
    return path;
}

void TestBuildSheet::pdfTextHoldsTheCutList_data()
{
    QTest::addColumn<UiLanguage>("language");
    QTest::addColumn<QStringList>("captions");

    QTest::newRow("Chinese")
        << UiLanguage::Chinese
        << QStringList{u"施工单"_s,   u"驱动单元半边"_s, u"反射单元"_s,           u"尾端绝缘子"_s,
                       u"下料长度"_s, u"绕线余量"_s,     u"馈电间隙"_s,           u"支臂"_s,
                       u"谐振点"_s,   u"2 mm 铜线"_s,    u"按架设调谐后的尺寸"_s, u"一般地面"_s};
    QTest::newRow("English") << UiLanguage::English
                             << QStringList{u"Build sheet"_s, u"Driven element half"_s,
                                            u"Reflector"_s,   u"Tail insulator"_s,
                                            u"Cut length"_s,  u"Wrap allowance"_s,
                                            u"Feed gap"_s,    u"Spreader arm"_s,
                                            u"SWR dip"_s,     u"2 mm copper wire"_s,
                                            u"tuned"_s,       u"average ground"_s};
}

void TestBuildSheet::pdfTextHoldsTheCutList()
{
    QFETCH(UiLanguage, language);
    QFETCH(QStringList, captions);

    QString error;
    const std::optional<QString> pdf = pdfOf(twentyMetreSheet(), language, error);
    QVERIFY2(pdf, qPrintable(error));
    const std::optional<QString> read = pdfText(*pdf, error);
    QVERIFY2(read, qPrintable(error));
    const QString text = folded(*read);

    for (const QString &caption : captions) {
        QVERIFY2(text.contains(caption, Qt::CaseInsensitive),
                 qPrintable(caption + u" is not on the sheet: "_s + text));
    }
    // Worked by hand from A 7.7224, B 1.0372, C 0.1332, D 1.4109, E 2.5813 m with 5 cm of
    // wrap and a gap of 2.5 cm: a driver's half hangs 3.8612 + 1.0372 - 0.0125 = 4.8859 m and
    // is cut 4.9859 m, twice; the reflector hangs 7.7224 + 2 x 1.4109 = 10.5442 m and is cut
    // 10.6442 m; 20.6160 m of wire in all. The arms reach 4.0712 m from the hub and meet at
    // 37.0 degrees across E, 143.0 across A.
    const QStringList lengths = {u"7.7224 m"_s,  u"1.0372 m"_s,   u"0.1332 m"_s, u"1.4109 m"_s,
                                 u"2.5813 m"_s,  u"4.8859 m"_s,   u"4.9859 m"_s, u"10.5442 m"_s,
                                 u"10.6442 m"_s, u"20.6160 m"_s,  u"4.0712 m"_s, u"37.0°"_s,
                                 u"143.0°"_s,    u"2 × 5.0 cm"_s, u"2.5 cm"_s};
    for (const QString &length : lengths) {
        QVERIFY2(text.contains(length), qPrintable(length + u" is not on the sheet: "_s + text));
    }
    // The driver's half, its count, span, wrap and cut on one row, in that order.
    const std::optional<QString> laidOut = pdfText(*pdf, error, PdfTextOrder::Layout);
    QVERIFY2(laidOut, qPrintable(error));
    const QString rows = folded(*laidOut);
    QVERIFY2(rows.contains(u"2 4.8859 m 2 × 5.0 cm 4.9859 m"_s), qPrintable(rows));
    QVERIFY2(rows.contains(u"1 10.5442 m 2 × 5.0 cm 10.6442 m"_s), qPrintable(rows));
    // The predictions.
    for (const QString &figure : {u"14.073 MHz"_s, u"1.05"_s, u"21.3 dB"_s, u"27.5°"_s}) {
        QVERIFY2(text.contains(figure), qPrintable(figure + u" is not on the sheet: "_s + text));
    }
    // Without tolerances the cells say so, and the note says where they come from.
    QVERIFY2(text.contains(u"--tolerances"_s), qPrintable(text));
}

void TestBuildSheet::tolerancesWhereComputed()
{
    BuildSheet sheet = twentyMetreSheet();
    sheet.tolerances = twentyMetreTolerances();
    QString error;
    const std::optional<QString> pdf = pdfOf(sheet, UiLanguage::Chinese, error);
    QVERIFY2(pdf, qPrintable(error));
    const std::optional<QString> read = pdfText(*pdf, error, PdfTextOrder::Layout);
    QVERIFY2(read, qPrintable(error));
    const QString text = folded(*read);
    // Each dimension's row: its length, then how much shorter and longer, in centimetres;
    // "≥" where neither limit ended the search.
    QVERIFY2(text.contains(u"7.7224 m 10.3 cm 4.1 cm"_s), qPrintable(text));
    QVERIFY2(text.contains(u"1.0372 m ≥ 20.0 cm 8.7 cm"_s), qPrintable(text));
    QVERIFY2(text.contains(u"0.1332 m 5.0 cm 6.1 cm"_s), qPrintable(text));
    QVERIFY2(text.contains(u"1.4109 m 5.6 cm 6.7 cm"_s), qPrintable(text));
    QVERIFY2(!text.contains(u"--tolerances"_s), qPrintable(text));
}

void TestBuildSheet::tolerancesOnlyOfTheSheetsDesign_data()
{
    QTest::addColumn<ToleranceResult>("tolerances");
    QTest::addColumn<bool>("taken");

    const ToleranceResult own = twentyMetreTolerances();
    ToleranceResult otherDimensions = own;
    otherDimensions.dimensions.b += 0.01;
    ToleranceResult otherInstallation = own;
    otherInstallation.installation.heightMetres = 12;
    ToleranceResult otherFrequency = own;
    otherFrequency.frequencyMhz = 14.2;
    QTest::newRow("its own") << own << true;
    QTest::newRow("of B 1 cm longer") << otherDimensions << false;
    QTest::newRow("hung 2 m higher") << otherInstallation << false;
    QTest::newRow("of another frequency") << otherFrequency << false;
}

// The window hands over the tolerances it computed last; the sheet shows them only when they
// are of its own design, so that a tuning or a new installation never prints stale ones.
void TestBuildSheet::tolerancesOnlyOfTheSheetsDesign()
{
    QFETCH(ToleranceResult, tolerances);
    QFETCH(bool, taken);

    BuildSheet sheet = twentyMetreSheet();
    const QList<SweepPoint> curve = {{14.0, {50, -30}, 0}, {14.1, {50, 0}, 0}, {14.2, {50, 30}, 0}};
    setPredictions(sheet, {sheet.figures, curve, tolerances});
    QCOMPARE(sheet.tolerances.has_value(), taken);
    QVERIFY(sheet.dipMhz && std::fabs(*sheet.dipMhz - 14.1) < 1e-9);
}

// What the check window's "save as PDF" tells when the file cannot be written: a reason, and
// no file.
void TestBuildSheet::unwritableFolderGivesAReason()
{
    const QString nowhere = m_dir.filePath(u"missing/sheet.pdf"_s);
    QVERIFY(!saveBuildSheetPdf(nowhere, twentyMetreSheet(), QLocale::c()).isEmpty());
    QVERIFY(!QFile::exists(nowhere));
}

void TestBuildSheet::everyTextIsInTheFace_data()
{
    QTest::addColumn<QString>("text");

    // The sheet's texts as the translation file holds them: each source text whole, however
    // the code splits it over lines, and its English.
    QFile file(QStringLiteral(MOXON_TRANSLATIONS));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    QXmlStreamReader ts(&file);
    bool inSheet = false;
    int row = 0;
    while (!ts.atEnd()) {
        if (ts.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (ts.name() == u"name") {
            inSheet = ts.readElementText() == u"BuildSheet";
        } else if (inSheet && (ts.name() == u"source" || ts.name() == u"translation")) {
            QTest::addRow("%d", row++) << ts.readElementText();
        }
    }
    QVERIFY2(!ts.hasError(), qPrintable(ts.errorString()));
    QVERIFY2(row > 50, "the sheet's texts are not in the translation file");
}

// A character missing from the face would print as an empty box on the builder's paper.
void TestBuildSheet::everyTextIsInTheFace()
{
    QFETCH(QString, text);
    for (const bool bold : {false, true}) {
        QFont font = CaptionFace::captionFont();
        font.setBold(bold);
        const QRawFont face = QRawFont::fromFont(font);
        QCOMPARE(face.familyName(), QString::fromUtf16(kCaptionFamily));
        for (const char32_t character : text.toUcs4()) {
            QVERIFY2(face.supportsCharacter(character),
                     qPrintable(u"U+%1 of \"%2\" is not in the face"_s
                                    .arg(uint(character), 4, 16, QLatin1Char('0'))
                                    .arg(text)));
        }
    }
}

void TestBuildSheet::onePageInTheCaptionFaceAlone_data()
{
    QTest::addColumn<UiLanguage>("language");
    QTest::newRow("Chinese") << UiLanguage::Chinese;
    QTest::newRow("English") << UiLanguage::English;
}

void TestBuildSheet::onePageInTheCaptionFaceAlone()
{
    QFETCH(UiLanguage, language);

    BuildSheet sheet = twentyMetreSheet();
    sheet.tolerances = twentyMetreTolerances();
    QString error;
    const std::optional<QString> pdf = pdfOf(sheet, language, error);
    QVERIFY2(pdf, qPrintable(error));
    const std::optional<int> pages = pdfPageCount(*pdf, error);
    QVERIFY2(pages, qPrintable(error));
    QCOMPARE(*pages, 1);
    // No character fell back on another font: every text is in the window's face.
    const std::optional<QStringList> fonts = pdfFontNames(*pdf, error);
    QVERIFY2(fonts, qPrintable(error));
    QVERIFY(!fonts->isEmpty());
    for (const QString &font : *fonts) {
        QVERIFY2(font.contains(u"MoxonCaptionSans"_s), qPrintable(fonts->join(u", "_s)));
    }
    // Everything on the paper, clear of its edges: ink from the top to the last third.
    const std::optional<QImage> page = pdfPageImage(*pdf, 50, error);
    QVERIFY2(page, qPrintable(error));
    const QRect ink = inkBounds(*page);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.left() > 0 && ink.top() > 0);
    QVERIFY(ink.right() < page->width() - 1 && ink.bottom() < page->height() - 1);
    QVERIFY2(ink.bottom() > page->height() * 2 / 3,
             qPrintable(u"ink ends at %1 of %2"_s.arg(ink.bottom()).arg(page->height())));
}

MOXON_TEST_MAIN(TestBuildSheet)
#include "tst_buildsheet.moc"
