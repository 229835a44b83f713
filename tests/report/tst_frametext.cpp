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
    QTest::addColumn<bool>("offered");  // whether the diagnosis found the trim that moves E
    QTest::addColumn<bool>("newFrame"); // and a new frame beside both

    QTest::newRow("the tails fall short: E's trim beside theirs") << true << false;
    QTest::newRow("the tails hold it: theirs alone") << false << false;
    QTest::newRow("E's trim falls short too: a new frame beside both") << true << true;
}

// The command line's text and JSON of a diagnosis carry the trim that moves E where the
// diagnosis found one, after the tails' own, and the new frame after both, with the front-to-back
// they fall short of; and say nothing of either otherwise.
void TestFrameText::diagnosisGivesTheGapTrimBeside()
{
    QFETCH(bool, offered);
    QFETCH(bool, newFrame);

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
    result.built = built;
    result.diagnosed = built;
    result.trim = trimmed(-0.031, 0);
    result.trim->rebuild.figures.frontToBack = 30.5;
    result.trim->designFrontToBack = 31.25;
    if (offered) {
        result.gapTrim = trimmed(-0.012, -0.0456);
        result.gapTrim->fieldTrim->antenna.figures.frontToBack = 23.5;
    }
    if (newFrame) {
        result.newFrame = trimmed(0.004, 0);
        result.newFrame->scale = 1.0133;
        TrimmedAntenna &made = result.newFrame->fieldTrim->antenna;
        made.dimensions = {7.5987, 1.0856, 1.3816, 2.6645};
        made.figures.frontToBack = 31.04;
    }
    const QString text = diagnosisReportText(result, setup, DisplayUnit::Metre, u"a.s1p"_s);
    QCOMPARE(text.contains(u"New frame:"_s), newFrame);
    if (newFrame) {
        for (const QString &said :
             {u"behaves 1.33 % longer"_s, u"at 23.50 dB"_s, u"against the design's 31.25 dB"_s,
              u"A    7.7000    7.5987  -10.1 cm"_s, u"front-to-back 31.04 dB"_s}) {
            QVERIFY2(text.contains(said), qPrintable(said + u" not in:\n"_s + text));
        }
        QVERIFY2(text.indexOf(u"Gap trim:"_s) < text.indexOf(u"New frame:"_s), qPrintable(text));
    }
    QCOMPARE(text.contains(u"Gap trim:"_s), offered);
    QCOMPARE(text.contains(u"make E 4.6 cm shallower"_s), offered);
    QVERIFY2(text.indexOf(u"Field trim:"_s) < text.indexOf(u"Gap trim:"_s) || !offered,
             qPrintable(text));
    const QJsonObject json = diagnosisReportToJson(result, setup);
    QVERIFY(json.contains(u"gap_trim"_s));
    QCOMPARE(json.value(u"gap_trim"_s).isNull(), !offered);
    QVERIFY(json.contains(u"new_frame"_s));
    QCOMPARE(json.value(u"new_frame"_s).isNull(), !newFrame);
    if (newFrame) {
        const QJsonObject made = json.value(u"new_frame"_s).toObject();
        QCOMPARE(made.value(u"a"_s).toDouble(), 7.5987);
        QCOMPARE(made.value(u"front_to_back_db"_s).toDouble(), 31.04);
        QVERIFY(made.value(u"sweep"_s).isArray()); // the shape of the trim's rebuild
    }
    if (offered) {
        QCOMPARE(json.value(u"gap_trim"_s).toObject().value(u"gap_change"_s).toDouble(), -0.0456);
        QCOMPARE(json.value(u"trim"_s).toObject().value(u"gap_change"_s).toDouble(), 0.0);
    }
}

MOXON_TEST_GUILESS_MAIN(TestFrameText)

#include "tst_frametext.moc"
