#include "appicon.h"
#include "testsuite.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTest>

#include <array>

namespace moxon::test {

namespace {

// The icon as drawn on its 32 x 32 grid: a red band over rows 4 to 27 (counting from 0) and
// the antenna's outline in cyan, two pixels thick: the top side broken in its middle, both
// short sides broken half-way down, the bottom side whole. Every shipped file is this drawing.
struct GridRect
{
    int x, y, width, height;
    QRgb colour;
};

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kCyan = 0xFF00FFFF;

constexpr std::array kIconDrawing = {
    GridRect{0, 4, 32, 24, kRed},  GridRect{4, 8, 10, 2, kCyan}, // top side, left of the feed point
    GridRect{18, 8, 10, 2, kCyan}, // top side, right of the feed point
    GridRect{4, 10, 2, 5, kCyan},  // driven element's tails
    GridRect{26, 10, 2, 5, kCyan}, GridRect{4, 17, 2, 5, kCyan},  // reflector's tails
    GridRect{26, 17, 2, 5, kCyan}, GridRect{4, 22, 24, 2, kCyan}, // bottom side
};

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const auto edge = [size](int grid) {
        return qRound(grid * size / 32.0);
    };
    for (const GridRect &rect : kIconDrawing) {
        for (int y = edge(rect.y); y < edge(rect.y + rect.height); ++y) {
            for (int x = edge(rect.x); x < edge(rect.x + rect.width); ++x) {
                image.setPixel(x, y, rect.colour);
            }
        }
    }
    return image;
}

QByteArray drawSvg()
{
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
                     "viewBox=\"0 0 32 32\" shape-rendering=\"crispEdges\">\n";
    for (const GridRect &rect : kIconDrawing) {
        svg +=
            QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                .arg(rect.x)
                .arg(rect.y)
                .arg(rect.width)
                .arg(rect.height)
                .arg(QColor(rect.colour).name())
                .toUtf8();
    }
    return svg + "</svg>\n";
}

QString iconFile(const QString &name)
{
    return QStringLiteral(MOXON_ICON_DIR "/") + name;
}

// The first pixel where two images differ, or an empty string.
QString firstDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size()) {
        return QStringLiteral("size %1x%2").arg(actual.width()).arg(actual.height());
    }
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return QStringLiteral("pixel %1,%2 is %3, not %4")
                    .arg(x)
                    .arg(y)
                    .arg(actual.pixel(x, y), 8, 16)
                    .arg(expected.pixel(x, y), 8, 16);
            }
        }
    }
    return {};
}

} // namespace

class TestIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The files in the resources and in the icon theme are the drawing at each size. On a
    // difference the expected image is written to the working folder as .expected.png, with
    // the three colours of the drawing as its palette.
    void shippedPngIsTheDrawing_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : kAppIconSizes) {
            QTest::addRow("%dpx", size) << size;
        }
    }
    void shippedPngIsTheDrawing()
    {
        QFETCH(int, size);
        const QImage expected = drawIcon(size);
        const QString name = QStringLiteral("moxon-%1.png").arg(size);
        const QImage shipped =
            QImage(QStringLiteral(":/icons/") + name).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!shipped.isNull(), qPrintable(name + QStringLiteral(" is not in the resources")));
        const QString difference = firstDifference(shipped, expected);
        if (!difference.isEmpty()) {
            const QList<QRgb> palette = {0x00000000, kRed, kCyan};
            expected.convertToFormat(QImage::Format_Indexed8, palette)
                .save(name + QStringLiteral(".expected.png"));
        }
        QVERIFY2(difference.isEmpty(), qPrintable(name + u' ' + difference));
    }

    void scalableSvgIsTheDrawing()
    {
        QFile file(iconFile(QStringLiteral("moxon.svg")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray expected = drawSvg();
        const QByteArray shipped = file.readAll();
        if (shipped != expected) {
            QFile out(QStringLiteral("moxon.svg.expected"));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(expected);
        }
        QCOMPARE(shipped, expected);
    }

    // What the icon must look like, checked on the 32-pixel image without the drawing above.
    void iconAt32PixelsMatchesItsDescription()
    {
        const QImage icon =
            QImage(QStringLiteral(":/icons/moxon-32.png")).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(icon.size(), QSize(32, 32));
        QSet<QRgb> colours;
        for (int y = 0; y < 32; ++y) {
            const bool band = y >= 4 && y < 28;
            for (int x = 0; x < 32; ++x) {
                const QRgb pixel = icon.pixel(x, y);
                colours.insert(pixel);
                QVERIFY2(band ? qAlpha(pixel) == 255 : qAlpha(pixel) == 0,
                         qPrintable(QStringLiteral("row %1 column %2").arg(y).arg(x)));
                if (band) {
                    QVERIFY(pixel == kRed || pixel == kCyan);
                }
            }
        }
        QVERIFY(colours.size() <= 16);
        const auto cyanRun = [&icon](int x0, int y0, int dx, int dy, int count) {
            for (int i = 0; i < count; ++i) {
                if (icon.pixel(x0 + i * dx, y0 + i * dy) != kCyan) {
                    return false;
                }
            }
            return true;
        };
        QVERIFY(cyanRun(4, 22, 1, 0, 24) && cyanRun(4, 23, 1, 0, 24));   // bottom whole, 2 thick
        QVERIFY(icon.pixel(15, 8) == kRed && icon.pixel(16, 9) == kRed); // top broken mid-way
        QVERIFY(cyanRun(4, 8, 1, 0, 10) && cyanRun(18, 8, 1, 0, 10));
        for (const int x : {4, 5, 26, 27}) { // both short sides broken half-way down
            QVERIFY(cyanRun(x, 8, 0, 1, 7) && cyanRun(x, 17, 0, 1, 7));
            QCOMPARE(icon.pixel(x, 15), kRed);
            QCOMPARE(icon.pixel(x, 16), kRed);
        }
    }

    void windowIconOffersItsSizes()
    {
        const QIcon icon = appIcon();
        QList<QSize> expected;
        for (const int size : kWindowIconSizes) {
            expected << QSize(size, size);
        }
        QCOMPARE(icon.availableSizes(), expected);
        QCOMPARE(icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32),
                 drawIcon(32));
    }
};

} // namespace moxon::test

MOXON_TEST_MAIN(moxon::test::TestIcon)
#include "tst_icon.moc"
