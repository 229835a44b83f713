#include "chartstyle.h"
#include "checkexport.h"
#include "filedialoganswer.h"
#include "smithchart.h"
#include "smithpainter.h"
#include "testsuite.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <complex>
#include <numbers>

using namespace moxon;
using namespace Qt::StringLiterals;

namespace {

using Complex = std::complex<double>;

constexpr double kF0 = 14.15;

QPalette lightPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    return palette;
}

// A model curve that stays at `z` around the design frequency, so that its dot is there.
SmithContent curveAt(Complex z)
{
    SmithContent content;
    content.designMhz = kF0;
    const FeedPoint feed{z.real(), z.imag()};
    content.traces[std::size_t(SmithTrace::Model)] = {SweepPoint{kF0 - 0.1, feed, 1},
                                                      SweepPoint{kF0 + 0.1, feed, 1}};
    content.names[std::size_t(SmithTrace::Model)] = u"model"_s;
    return content;
}

QImage drawn(const SmithPainter &painter, const SmithContent &content)
{
    QImage image(640, 420, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter on(&image);
    painter.paint(on, content, lightPalette());
    return image;
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           24;
}

} // namespace

// The Smith chart drawn into an image: where it puts impedances, and what it says of them.
class TestSmithChart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void impedancesWhereTheChartHasThem_data();
    void impedancesWhereTheChartHasThem();
    void swrTwoCircleIsDrawn();
    void pointerAndImage();
    void savedFromItsContextMenu();
};

void TestSmithChart::impedancesWhereTheChartHasThem_data()
{
    QTest::addColumn<Complex>("z");
    QTest::addColumn<double>("radius"); // from the centre, of the circle's radius
    QTest::addColumn<double>("degrees");
    // A curve's dot at each, drawn whole even on the rim.

    QTest::newRow("50 ohm at the centre") << Complex(50, 0) << 0.0 << 0.0;
    QTest::newRow("a short on the left edge") << Complex(0, 0) << 1.0 << 180.0;
    QTest::newRow("SWR 2, 100 ohm, on the axis") << Complex(100, 0) << 1.0 / 3 << 0.0;
    QTest::newRow("SWR 2, 40 + j30 ohm, straight up") << Complex(40, 30) << 1.0 / 3 << 90.0;
    QTest::newRow("+j50 on the rim") << Complex(0, 50) << 1.0 << 90.0;
    QTest::newRow("-j50 on the rim") << Complex(0, -50) << 1.0 << -90.0;
}

void TestSmithChart::impedancesWhereTheChartHasThem()
{
    QFETCH(Complex, z);
    QFETCH(double, radius);
    QFETCH(double, degrees);

    const SmithPainter painter(QRectF(0, 0, 640, 420), 160);
    const QRectF circle = painter.circle();
    const double r = circle.width() / 2;
    const double angle = degrees * std::numbers::pi / 180;
    const QPointF expected =
        circle.center() + QPointF(radius * r * std::cos(angle), -radius * r * std::sin(angle));
    const QPointF at = painter.pointOf(z);
    QVERIFY2(std::hypot(at.x() - expected.x(), at.y() - expected.y()) < 0.5,
             qPrintable(u"(%1, %2), not (%3, %4)"_s.arg(at.x())
                            .arg(at.y())
                            .arg(expected.x())
                            .arg(expected.y())));

    // The curve's dot is drawn there, in the model's colour, and nothing of it without it.
    const QColor model = chartColours(lightPalette()).curve;
    const QPoint pixel = at.toPoint();
    const QColor colour = drawn(painter, curveAt(z)).pixelColor(pixel);
    QVERIFY2(near(colour, model), qPrintable(colour.name()));
    QVERIFY(!near(drawn(painter, SmithContent{}).pixelColor(pixel), model));

    // And the point reads back as the impedance it is, except at the open.
    const std::optional<Complex> back = painter.impedanceAt(expected);
    QVERIFY(back.has_value());
    QVERIFY2(std::abs(*back - z) < 1e-6 * (1 + std::abs(z)),
             qPrintable(u"%1 %2j"_s.arg(back->real()).arg(back->imag())));
}

// The dotted SWR-2 circle lies where |Γ| is 1/3: most of the way round something is drawn
// there, and seldom a little inside it.
void TestSmithChart::swrTwoCircleIsDrawn()
{
    const SmithPainter painter(QRectF(0, 0, 640, 420), 160);
    const QImage image = drawn(painter, SmithContent{});
    const QPointF centre = painter.circle().center();
    const double r = painter.circle().width() / 6;
    // Whether anything is drawn at `point` or next to it: the dots leave gaps.
    const auto inked = [&image](QPointF point) {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                const QColor colour = image.pixelColor(point.toPoint() + QPoint(dx, dy));
                if (colour.red() + colour.green() + colour.blue() < 3 * 255 - 90) {
                    return true;
                }
            }
        }
        return false;
    };
    int on = 0;
    int inside = 0;
    for (int k = 0; k < 360; ++k) {
        const QPointF direction(std::cos(k * std::numbers::pi / 180),
                                std::sin(k * std::numbers::pi / 180));
        on += inked(centre + direction * r) ? 1 : 0;
        inside += inked(centre + direction * (r * 0.8)) ? 1 : 0;
    }
    QVERIFY2(on > 300, qPrintable(u"%1 of 360 on the circle"_s.arg(on)));
    QVERIFY2(inside < on / 3, qPrintable(u"%1 of 360 inside it"_s.arg(inside)));
}

// Under the pointer: the nearest point of a curve with its frequency, else the chart's own
// impedance; and the chart saves as a PNG of its size.
void TestSmithChart::pointerAndImage()
{
    const QLocale old;
    QLocale::setDefault(QLocale::c());
    SmithChart chart;
    chart.resize(640, 420);
    chart.setDesign(kF0);
    QCOMPARE(chart.edgesMhz(), (QList<double>{14.0, 14.35}));
    chart.setCurve(SmithTrace::Model,
                   {SweepPoint{14.1, {50, 0}, 1.0}, SweepPoint{14.2, {100, 0}, 2.0}});
    const SmithPainter geometry = chart.smithGeometry();
    const QString model = chart.pointText(geometry.circle().center() + QPointF(1, 1));
    QVERIFY2(model.contains(u"14.100 MHz"_s) && model.contains(u"50"_s), qPrintable(model));
    const QString chartItself =
        chart.pointText(geometry.circle().center() + QPointF(0, -geometry.circle().width() / 6));
    QVERIFY2(!chartItself.contains(u"MHz"_s) && chartItself.contains(u"2.00"_s),
             qPrintable(chartItself));
    QVERIFY(chart.pointText(QPointF(2, 2)).isEmpty());
    QLocale::setDefault(old);

    QTemporaryDir folder;
    const QString path = folder.filePath(u"smith.png"_s);
    QCOMPARE(savePng(path, chart.image()), QString());
    const QImage read(path);
    QCOMPARE(read.size(), chart.size() * chart.devicePixelRatio());
}

// "保存圆图…" in the chart's context menu: the dialog offers the chart's name, and a name typed
// without a suffix is written as that PNG, the chart whole.
void TestSmithChart::savedFromItsContextMenu()
{
    SmithChart chart;
    chart.resize(640, 420);
    chart.setDesign(kF0);
    chart.setCurve(SmithTrace::Model,
                   {SweepPoint{14.1, {50, 0}, 1.0}, SweepPoint{14.2, {100, 0}, 2.0}});
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QAction *save = nullptr;
    for (QAction *action : chart.actions()) {
        save = action->objectName() == u"saveSmithChart"_s ? action : save;
    }
    QVERIFY(save != nullptr && chart.contextMenuPolicy() == Qt::ActionsContextMenu);
    QCOMPARE(save->text(), u"保存圆图…"_s);

    QTemporaryDir folder;
    QString offered;
    QTimer answer;
    connect(&answer, &QTimer::timeout, &answer, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->isVisible()) {
            offered = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->text();
            test::chooseFile(dialog, folder.filePath(u"chart"_s));
        }
    });
    answer.start(10);
    save->trigger();
    answer.stop();
    QCOMPARE(offered, u"moxon-smith-14.15MHz.png"_s);
    const QImage written(folder.filePath(u"chart.png"_s));
    QCOMPARE(written.size(), chart.size() * chart.devicePixelRatio());
    // The model's curve is in the file: it starts at 50 ohms, the centre.
    const QPointF centre = chart.smithGeometry().circle().center() * chart.devicePixelRatio();
    QVERIFY(near(written.pixelColor(centre.toPoint()), chartColours(chart.palette()).curve));
}

MOXON_TEST_MAIN(TestSmithChart)
#include "tst_smithchart.moc"
