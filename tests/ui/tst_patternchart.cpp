#include "patternchart.h"
#include "testsuite.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QImage>
#include <QTest>

#include <cmath>

using namespace moxon;
using namespace Qt::StringLiterals;

// The pattern charts' frames: whole round the plot, over ground as in free space, where over
// ground the chart is laid out taller than its view so that only the upper half circle shows.
class TestPatternChart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frameIsClosedBelow_data();
    void frameIsClosedBelow();
};

void TestPatternChart::frameIsClosedBelow_data()
{
    QTest::addColumn<bool>("overGround");

    QTest::newRow("over ground: the upper half") << true;
    QTest::newRow("free space: the whole circle") << false;
}

void TestPatternChart::frameIsClosedBelow()
{
    QFETCH(bool, overGround);

    PatternChart chart(PatternChart::Plane::Elevation, u"elevation"_s, u"elevation"_s);
    QList<CutPoint> cut;
    for (int theta = 0; theta <= 180; ++theta) {
        const double lobe = std::cos((theta - 90) * 0.05);
        cut.append({double(theta), 10 * std::log10(std::max(lobe * lobe, 1e-4))});
    }
    chart.setElevation(cut, 0, 0, 0, overGround);
    chart.resize(472, 296);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QCoreApplication::processEvents();

    const QImage image = chart.viewport()->grab().toImage();
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    chart.chart()->layout()->getContentsMargins(&left, &top, &right, &bottom);
    const int edge = int(std::lround(image.height() - bottom)); // the frame's bottom edge, px
    const int inset = int(left + chart.chart()->backgroundRoundness()) + 2;
    const QRgb outside = image.pixel(1, image.height() - 1);

    // Below the frame nothing of the plot shows: the view's own background only.
    for (int y = edge + 2; y < image.height(); ++y) {
        for (int x = inset; x < image.width() - inset; ++x) {
            QVERIFY2(image.pixel(x, y) == outside,
                     qPrintable(u"plot drawn below the frame at (%1, %2)"_s.arg(x).arg(y)));
        }
    }
    // And the frame's bottom edge is drawn across, a pixel either side of where it lies.
    for (const int x : {inset, image.width() / 3, image.width() - inset}) {
        bool drawn = false;
        for (int y = edge - 2; y <= edge + 1; ++y) {
            drawn = drawn || image.pixel(x, y) != outside;
        }
        QVERIFY2(drawn, qPrintable(u"no bottom edge at x %1"_s.arg(x)));
    }
}

MOXON_TEST_MAIN(TestPatternChart)

#include "tst_patternchart.moc"
