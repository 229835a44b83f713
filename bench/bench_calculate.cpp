#include "calculation.h"
#include "fakeview.h"

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
    // The session's Calculate with what the view is given to show, as the window runs it.
    FakeWindow window(QLocale(QLocale::English, QLocale::UnitedStates));
    QBENCHMARK {
        window.session.calculate();
        window.view.clear();
    }
    QVERIFY(window.view.design.has_value());
    QCOMPARE(window.view.design->texts.at(0), QStringLiteral("29.17"));
}

void BenchCalculate::computationAlone()
{
    double freq = 146;
    DesignResult design;
    QBENCHMARK {
        design = computeDesign(WireSize{WireUnit::Gauge, 12}, freq, DisplayUnit::Inch);
    }
    QVERIFY(design.computable());
}

QTEST_GUILESS_MAIN(BenchCalculate)
#include "bench_calculate.moc"
