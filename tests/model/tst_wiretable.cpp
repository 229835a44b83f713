#include "wiretable.h"
#include "testsuite.h"

#include <QTest>

using namespace moxon;

namespace {

using Ends = std::array<double, 7>; // X1, Y1, Z1, X2, Y2, Z2, Segments

Ends ends(const WireRow &row)
{
    return {row.X1, row.Y1, row.Z1, row.X2, row.Y2, row.Z2, double(row.Segments)};
}

QString describe(const Ends &e)
{
    return QStringLiteral("(%1, %2, %3) to (%4, %5, %6) with %7")
        .arg(e[0])
        .arg(e[1])
        .arg(e[2])
        .arg(e[3])
        .arg(e[4])
        .arg(e[5])
        .arg(e[6]);
}

// A = 20, B = 3, C = 1, D = 4, E = 8 as shown.
const ShownDimensions kShown{20, 3, 4, 8};

} // namespace

Q_DECLARE_METATYPE(Ends)

class TestWireTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layouts_data();
    void layouts();
};

void TestWireTable::layouts_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("xAxis");
    QTest::addColumn<QList<Ends>>("rows");

    QTest::newRow("horizontal, beam along Y")
        << false << false << QList<Ends>{{-10, 5, 0, -10, 8, 0, 5}, {-10, 8, 0, 10, 8, 0, 35},
                                         {10, 8, 0, 10, 5, 0, 5},   {-10, 4, 0, -10, 0, 0, 7},
                                         {-10, 0, 0, 10, 0, 0, 35}, {10, 0, 0, 10, 4, 0, 7}};
    QTest::newRow("vertical, beam along Y")
        << true << false << QList<Ends>{{0, 5, -10, 0, 8, -10, 5}, {0, 8, -10, 0, 8, 10, 35},
                                        {0, 8, 10, 0, 5, 10, 5},   {0, 4, -10, 0, 0, -10, 7},
                                        {0, 0, -10, 0, 0, 10, 35}, {0, 0, 10, 0, 4, 10, 7}};
    QTest::newRow("horizontal, beam along X")
        << false << true << QList<Ends>{{5, -10, 0, 8, -10, 0, 5}, {8, -10, 0, 8, 10, 0, 35},
                                        {8, 10, 0, 5, 10, 0, 5},   {4, -10, 0, 0, -10, 0, 7},
                                        {0, -10, 0, 0, 10, 0, 35}, {0, 10, 0, 4, 10, 0, 7}};
    QTest::newRow("vertical, beam along X")
        << true << true << QList<Ends>{{5, 0, -10, 8, 0, -10, 5}, {8, 0, -10, 8, 0, 10, 35},
                                       {8, 0, 10, 5, 0, 10, 5},   {4, 0, -10, 0, 0, -10, 7},
                                       {0, 0, -10, 0, 0, 10, 35}, {0, 0, 10, 4, 0, 10, 7}};
}

void TestWireTable::layouts()
{
    QFETCH(bool, vertical);
    QFETCH(bool, xAxis);
    QFETCH(QList<Ends>, rows);

    const WireTable table = buildWireTable(kShown, vertical, xAxis);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QVERIFY2(ends(table[std::size_t(i)]) == rows[i],
                 qPrintable(QStringLiteral("row %1: %2, expected %3")
                                .arg(i + 1)
                                .arg(describe(ends(table[std::size_t(i)])), describe(rows[i]))));
    }
}

MOXON_TEST_APPLESS_MAIN(TestWireTable)
#include "tst_wiretable.moc"
