#include "diagnosisreport.h"
#include "frametext.h"
#include "testsuite.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace moxon;

// When the trim says that the frame's own size holds the front-to-back back: only where the
// tails alone leave it well below the rebuild's, or the design's where that is known, the frame
// was held, and the trim had more than the dip.
class TestFrameText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saysWhenTheFrameHoldsItBack_data();
    void saysWhenTheFrameHoldsItBack();
    void diagnosisGivesTheGapTrimBeside_data();
    void diagnosisGivesTheGapTrimBeside();
};

void TestFrameText::saysWhenTheFrameHoldsItBack_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("fieldDb"); // the field trim's front-to-back; NaN: no field trim
    QTest::addColumn<double>("rebuildDb");
    QTest::addColumn<double>("designDb"); // NaN: the design's is not known (the trim alone)
    QTest::addColumn<bool>("dipAlone");
    QTest::addColumn<bool>("trimGap");
    QTest::addColumn<QString>("said"); // in the lines; empty: no lines

    const double unknown = qQNaN();
    QTest::newRow("frame 0.85 % long, 7 dB short")
        << 1.0085 << 27.66 << 34.78 << unknown << false << false << u"behaves 0.85 % longer"_s;
    QTest::newRow("frame 1 % short, 3 dB short")
        << 0.99 << 25.0 << 28.0 << unknown << false << false << u"behaves 1.00 % shorter"_s;
    QTest::newRow("within a dB of the rebuild")
        << 1.0085 << 34.0 << 34.78 << unknown << false << false << QString();
    QTest::newRow("better than the rebuild")
        << 1.01 << 40.0 << 30.0 << unknown << false << false << QString();
    QTest::newRow("from a dip alone")
        << 1.0085 << 27.66 << 34.78 << unknown << true << false << QString();
    QTest::newRow("E trimmed already")
        << 1.0085 << 27.66 << 34.78 << unknown << false << true << QString();
    QTest::newRow("no field trim")
        << 1.0085 << qQNaN() << 34.78 << unknown << false << false << QString();
    // The rebuild moves the design's own dip onto the target, which can cost it front-to-back
    // the design has: the tails are held to the better of the two.
    QTest::newRow("within a dB of the rebuild, 1.8 dB short of the design")
        << 1.005 << 31.61 << 32.30 << 33.41 << false << false << u"the design's 33.41 dB"_s;
    QTest::newRow("short of the rebuild, the design lower")
        << 1.01 << 25.0 << 28.0 << 26.5 << false << false << u"the rebuild's is 28.00 dB"_s;
    QTest::newRow("within a dB of both")
        << 1.005 << 33.0 << 32.3 << 33.41 << false << false << QString();
    QTest::newRow("short of the design, from a dip alone")
        << 1.005 << 31.61 << 32.30 << 33.41 << true << false << QString();
}

void TestFrameText::saysWhenTheFrameHoldsItBack()
{
    QFETCH(double, scale);
    QFETCH(double, fieldDb);
    QFETCH(double, rebuildDb);
    QFETCH(double, designDb);
    QFETCH(bool, dipAlone);
    QFETCH(bool, trimGap);
    QFETCH(QString, said);

    TrimResult result;
    result.scale = scale;
    result.dipAlone = dipAlone;
    result.trimGap = trimGap;
    result.rebuild.figures.frontToBack = rebuildDb;
    if (!std::isnan(designDb)) {
        result.designFrontToBack = designDb;
    }
    if (!std::isnan(fieldDb)) {
        result.fieldTrim = FieldTrim{};
        result.fieldTrim->antenna.figures.frontToBack = fieldDb;
    }
    const QString lines = frameLines(result);
    QCOMPARE(frameShortfall(result).has_value(), !said.isEmpty());
    QCOMPARE(lines.isEmpty(), said.isEmpty());
    if (!said.isEmpty()) {
        QVERIFY2(lines.contains(said) && lines.contains(u"--trim-gap"_s), qPrintable(lines));
        const double held = std::isnan(designDb) ? rebuildDb : std::max(rebuildDb, designDb);
        QCOMPARE(*frameShortfall(result), held - fieldDb);
    }
}

void TestFrameText::diagnosisGivesTheGapTrimBeside_data()
{
    QTest::addColumn<bool>("offered"); // whether the diagnosis found the trim that moves E

    QTest::newRow("the tails fall short: E's trim beside theirs") << true;
    QTest::newRow("the tails hold it: theirs alone") << false;
}

// The command line's text and JSON of a diagnosis carry the trim that moves E where the
// diagnosis found one, after the tails' own, and say nothing of it otherwise.
void TestFrameText::diagnosisGivesTheGapTrimBeside()
{
    QFETCH(bool, offered);

    const TuneDimensions built{7.7, 1.1, 1.4, 2.7};
    const TuneSetup setup{built, 4, u"m"_s, 1, {}, std::nullopt};
    const auto trimmed = [&built](double drivenChange, double gapChange) {
        TrimResult trim;
        trim.built = built;
        trim.targetMhz = 14.15;
        trim.fieldTrim = FieldTrim{};
        trim.fieldTrim->drivenTailChange = drivenChange;
        trim.fieldTrim->gapChange = gapChange;
        trim.fieldTrim->antenna.dimensions = built;
        trim.fieldTrim->antenna.dimensions.e += gapChange;
        return trim;
    };
    DiagnosisResult result;
    result.explained = true;
    result.trim = trimmed(-0.031, 0);
    if (offered) {
        result.gapTrim = trimmed(-0.012, -0.0456);
    }
    const QString text = diagnosisReportText(result, setup, DisplayUnit::Metre, u"a.s1p"_s);
    QCOMPARE(text.contains(u"Gap trim:"_s), offered);
    QCOMPARE(text.contains(u"make E 4.6 cm shallower"_s), offered);
    QVERIFY2(text.indexOf(u"Field trim:"_s) < text.indexOf(u"Gap trim:"_s) || !offered,
             qPrintable(text));
    const QJsonObject json = diagnosisReportToJson(result, setup);
    QVERIFY(json.contains(u"gap_trim"_s));
    QCOMPARE(json.value(u"gap_trim"_s).isNull(), !offered);
    if (offered) {
        QCOMPARE(json.value(u"gap_trim"_s).toObject().value(u"gap_change"_s).toDouble(), -0.0456);
        QCOMPARE(json.value(u"trim"_s).toObject().value(u"gap_change"_s).toDouble(), 0.0);
    }
}

MOXON_TEST_GUILESS_MAIN(TestFrameText)

#include "tst_frametext.moc"
