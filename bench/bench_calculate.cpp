#include "designcalculation.h"
#include "fakewindow.h"

#include <QTest>

using namespace moxon;
using namespace moxon::test;

// Run with: build/bench/bench_calculate -median 9 (or -callgrind for instruction counts).
class BenchCalculate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeCommand();
    void computationAlone();
};

void BenchCalculate::wholeCommand()
{
    FakeWindow window(QLocale(QLocale::English, QLocale::UnitedStates));
    window.load();
    window.toolkit.setLogging(false);
    QBENCHMARK {
        window.form.btnCalculate_Click();
    }
    QCOMPARE(window.toolkit.text(Control::txtA), QStringLiteral("29.17"));
}

void BenchCalculate::computationAlone()
{
    double freq = 146;
    DesignResult design;
    QBENCHMARK {
        design = computeDesign(freq, WireUnit::Gauge, 12, DisplayUnit::Inch);
    }
    QVERIFY(design.computable());
}

QTEST_GUILESS_MAIN(BenchCalculate)
#include "bench_calculate.moc"
