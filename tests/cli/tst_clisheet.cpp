#include "cliprocess.h"
#include "pdfpage.h"
#include "testsuite.h"

#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

// moxon-cli with the real nec2c, as a shell runs it.
ProgramRun runSheet(const QStringList &arguments)
{
    return runProgram(QStringList{u"sheet"_s} + arguments, qEnvironmentVariable("PATH"));
}

QJsonObject jsonOf(const ProgramRun &run)
{
    return QJsonDocument::fromJson(run.out).object();
}

double number(const QJsonObject &object, const QString &path)
{
    QJsonValue value = object;
    for (const QString &key : path.split(u'.')) {
        value = value.toObject().value(key);
    }
    return value.toDouble();
}

// Every frequency "14.0731 MHz" the text names.
QList<double> frequencies(const QString &text)
{
    QList<double> found;
    const QRegularExpression pattern(u"(\\d+\\.\\d+) MHz"_s);
    for (const QRegularExpressionMatch &match : pattern.globalMatch(text)) {
        found.append(match.captured(1).toDouble());
    }
    return found;
}

} // namespace

// moxon-cli sheet against the real nec2c: the PDF it writes shows the pieces its own JSON
// gives, and they add up to the dimensions; the dip and the tolerances are the analyses' own.
class TestCliSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pdfShowsThePiecesOfItsJson_data();
    void pdfShowsThePiecesOfItsJson();
    void dipAndTolerancesAreTheAnalysesOwn();
    void pdfAloneOnStandardOutput();
    void sheetNotWritten();

private:
    QTemporaryDir m_dir;
};

void TestCliSheet::pdfShowsThePiecesOfItsJson_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("wire");   // as the JSON names it, size and unit
    QTest::addColumn<QString>("ground"); // the installation's, as check's JSON names it

    QTest::newRow("20 m over average ground in copper, metres, Chinese")
        << QStringList{u"-f"_s,          u"14.15"_s,  u"-w"_s,         u"2"_s,
                       u"--wire-unit"_s, u"mm"_s,     u"-u"_s,         u"m"_s,
                       u"--height"_s,    u"10"_s,     u"--ground"_s,   u"average"_s,
                       u"--conductor"_s, u"copper"_s, u"--language"_s, u"zh"_s}
        << u"m"_s << 4 << QStringList{u"驱动单元半边"_s, u"反射单元"_s, u"尾端绝缘子"_s, u"支臂"_s,
                                      u"谐振点"_s,       u"主瓣仰角"_s, u"2 × 5.0 cm"_s}
        << u"2 mm"_s << u"real"_s;
    QTest::newRow("2 m, #12, inches, English")
        << QStringList{u"-f"_s, u"146"_s, u"-u"_s, u"in"_s, u"--language"_s, u"en"_s} << u"in"_s
        << 2 << QStringList{u"Driven element half"_s,
                            u"Reflector"_s,
                            u"Tail insulator"_s,
                            u"Spreader arm"_s,
                            u"SWR dip"_s,
                            u"2 × 2.00 in"_s,
                            u"#12 AWG"_s}
        << u"#12 AWG"_s << u"free"_s;
    QTest::newRow("70 cm, millimetres, every point by nec2c, allowances of one's own")
        << QStringList{u"-f"_s,
                       u"435"_s,
                       u"-w"_s,
                       u"2"_s,
                       u"--wire-unit"_s,
                       u"mm"_s,
                       u"-u"_s,
                       u"mm"_s,
                       u"--sweep"_s,
                       u"full"_s,
                       u"--wrap-allowance"_s,
                       u"30"_s,
                       u"--feed-gap"_s,
                       u"12"_s,
                       u"--language"_s,
                       u"en"_s}
        << u"mm"_s << 1 << QStringList{u"2 × 30.0 mm"_s, u"Feed gap 12.0 mm"_s} << u"2 mm"_s
        << u"free"_s;
}

void TestCliSheet::pdfShowsThePiecesOfItsJson()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, unit);
    QFETCH(int, decimals);
    QFETCH(QStringList, captions);
    QFETCH(QString, wire);
    QFETCH(QString, ground);

    const QString pdf = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".pdf"_s);
    const ProgramRun run = runSheet(arguments + QStringList{u"--json"_s, u"--pdf"_s, pdf});
    QVERIFY2(run.status == 0, run.err.constData());
    const QJsonObject sheet = jsonOf(run);
    QCOMPARE(sheet.value(u"pdf"_s).toString(), pdf);
    QCOMPARE(sheet.value(u"wire"_s).toString() + u' ' + sheet.value(u"wire_unit"_s).toString(),
             wire);
    QCOMPARE(sheet.value(u"installation"_s).toObject().value(u"ground"_s).toString(), ground);
    QString error;
    const std::optional<QString> read = pdfText(pdf, error);
    QVERIFY2(read, qPrintable(error));
    const QString text = read->simplified();

    for (const QString &caption : captions) {
        QVERIFY2(text.contains(caption), qPrintable(caption + u" is not on the sheet: "_s + text));
    }
    const auto shown = [&](double value) {
        return QLocale::c().toString(value, 'f', decimals) + u' ' + unit;
    };
    for (const QString &length :
         {u"design.a"_s, u"design.b"_s, u"design.c"_s, u"design.d"_s, u"design.e"_s,
          u"driver_half.span"_s, u"driver_half.cut"_s, u"reflector.span"_s, u"reflector.cut"_s,
          u"tail_spacing"_s, u"spreader.arm"_s, u"total_wire"_s}) {
        const QString expected = shown(number(sheet, length));
        QVERIFY2(text.contains(expected),
                 qPrintable(length + u" "_s + expected + u" is not on the sheet: "_s + text));
    }
    for (const QString &angle :
         {u"spreader.angle_across_e_deg"_s, u"spreader.angle_across_a_deg"_s}) {
        const QString expected = QLocale::c().toString(number(sheet, angle), 'f', 1) + u'°';
        QVERIFY2(text.contains(expected), qPrintable(angle + u" "_s + expected + u": "_s + text));
    }
    QVERIFY2(text.contains(QLocale::c().toString(number(sheet, u"swr_50"_s), 'f', 2)),
             qPrintable(text));
    const double dip = number(sheet, u"dip_mhz"_s);
    // Shown to the kilohertz.
    QVERIFY2(std::ranges::any_of(
                 frequencies(text),
                 [dip](double shownDip) { return std::fabs(shownDip - dip) <= 0.0005 + 1e-9; }),
             qPrintable(u"dip %1 MHz is not on the sheet: "_s.arg(dip) + text));

    // The pieces put the rectangle back together: the halves and the gap make A and both
    // driver tails, the reflector A and both of its tails, the tails and the gap the depth.
    const double a = number(sheet, u"design.a"_s);
    const double exact = 1e-9 * a;
    QVERIFY(std::fabs(2 * number(sheet, u"driver_half.span"_s) + number(sheet, u"feed_gap"_s) -
                      (a + 2 * number(sheet, u"design.b"_s))) < exact);
    QVERIFY(std::fabs(number(sheet, u"reflector.span"_s) - (a + 2 * number(sheet, u"design.d"_s))) <
            exact);
    QVERIFY(std::fabs(number(sheet, u"design.b"_s) + number(sheet, u"tail_spacing"_s) +
                      number(sheet, u"design.d"_s) - number(sheet, u"design.e"_s)) < exact);
    const double halfAngle =
        number(sheet, u"spreader.angle_across_e_deg"_s) / 2 * std::numbers::pi / 180;
    const double arm = number(sheet, u"spreader.arm"_s);
    QVERIFY(std::fabs(2 * arm * std::cos(halfAngle) - a) < 1e-4 * a); // five digits of the angle
    QVERIFY(std::fabs(2 * arm * std::sin(halfAngle) - number(sheet, u"design.e"_s)) < 1e-4 * a);
}

void TestCliSheet::dipAndTolerancesAreTheAnalysesOwn()
{
    const QStringList design{u"-f"_s, u"146"_s, u"-u"_s, u"in"_s, u"--json"_s};
    const ProgramRun sheetRun = runSheet(
        design + QStringList{u"--tolerances"_s, u"--pdf"_s, m_dir.filePath(u"tolerances.pdf"_s)});
    QVERIFY2(sheetRun.status == 0, sheetRun.err.constData());
    const ProgramRun toleranceRun =
        runProgram(QStringList{u"tolerance"_s} + design, qEnvironmentVariable("PATH"));
    QVERIFY2(toleranceRun.status == 0, toleranceRun.err.constData());
    const QJsonObject sheet = jsonOf(sheetRun);
    const QJsonObject tolerance = jsonOf(toleranceRun);

    // The sheet's dip comes from the check's curve, the tolerances' from a fit of their own:
    // the same dip to a fiftieth of a per cent.
    const double dip = number(sheet, u"dip_mhz"_s);
    const double toleranceDip = number(tolerance, u"dip_mhz"_s);
    QVERIFY2(std::fabs(dip / toleranceDip - 1) < 2e-4,
             qPrintable(u"sheet %1 MHz, tolerance %2 MHz"_s.arg(dip).arg(toleranceDip)));
    for (const QString &letter : {u"a"_s, u"b"_s, u"c"_s, u"d"_s}) {
        for (const QString &side : {u"tolerance_minus"_s, u"tolerance_plus"_s}) {
            QCOMPARE(number(sheet, u"tolerances.%1.%2"_s.arg(letter, side)),
                     number(tolerance, u"dimensions.%1.%2"_s.arg(letter, side)));
        }
    }
}

void TestCliSheet::pdfAloneOnStandardOutput()
{
    const ProgramRun run =
        runSheet({u"-f"_s, u"146"_s, u"--language"_s, u"en"_s, u"--pdf"_s, u"-"_s});
    QVERIFY2(run.status == 0, run.err.constData());
    QVERIFY2(run.out.startsWith("%PDF-"), run.out.left(40).constData());
    QVERIFY(run.out.trimmed().endsWith("%%EOF"));
    const QString path = m_dir.filePath(u"standard-output.pdf"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(run.out);
    file.close();
    QString error;
    const std::optional<QString> text = pdfText(path, error);
    QVERIFY2(text, qPrintable(error));
    QVERIFY2(text->contains(u"Cut list"_s), qPrintable(*text));
}

void TestCliSheet::sheetNotWritten()
{
    const ProgramRun run =
        runSheet({u"-f"_s, u"146"_s, u"--json"_s, u"--pdf"_s, u"/nonexistent/folder/sheet.pdf"_s});
    QCOMPARE(run.status, 1);
    const QString problem = notOneFailureObject(run.out);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(jsonOf(run).value(u"error"_s).toString(), u"sheet_not_written"_s);
    QVERIFY2(run.err.contains("/nonexistent/folder/sheet.pdf"), run.err.constData());
}

MOXON_TEST_GUILESS_MAIN(TestCliSheet)
#include "tst_clisheet.moc"
