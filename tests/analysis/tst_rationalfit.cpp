#include "adaptivesweep.h"
#include "knownimpedance.h"
#include "necoutput.h"
#include "rationalfit.h"
#include "sweepplan.h"
#include "testsuite.h"

#include <QFile>
#include <QTest>

#include <cmath>
#include <functional>
#include <limits>

using namespace moxon;
using moxon::test::Known;

namespace {

using Complex = std::complex<double>;

// nec2c 1.3's 41-point sweeps: 146 MHz in free space (the start-up design), 14.15 MHz 10 m
// over average ground in copper (its impedance steps by a few tenths of an ohm between 1.00
// and 1.03 f0, which no smooth fit follows) and 7.15 MHz 0.4 wavelengths over average ground
// in copper (smooth); the decks beside them.
QList<SweepPoint> storedSweep(const QString &name, double f0Mhz)
{
    QFile file(QStringLiteral(MOXON_TEST_DATA_DIR "/nec2c/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("missing test data %s", qPrintable(name));
    }
    const NecOutput output = parseNecOutput(QString::fromLatin1(file.readAll()));
    QList<SweepPoint> points;
    for (qsizetype i = 0; i < output.frequencies.size(); ++i) {
        points.append(sweepPoint(sweepFrequency(f0Mhz, int(i)), output.frequencies.at(i).feed));
    }
    return points;
}

QList<SweepPoint> synthetic(double f0Mhz, const std::function<Complex(int)> &impedance)
{
    QList<SweepPoint> points;
    for (int i = 0; i < kSweepPoints; ++i) {
        const Complex z = impedance(i);
        points.append(sweepPoint(sweepFrequency(f0Mhz, i), {z.real(), z.imag()}));
    }
    return points;
}

// The sweep fed from `engine` as if the engine ran each point it asks for, a batch at a time.
void runAgainst(AdaptiveSweep &sweep, const QList<SweepPoint> &engine)
{
    QList<int> next = sweep.firstPoints();
    for (int round = 0; !next.isEmpty(); ++round) {
        QVERIFY2(round < kSweepPoints, "the sweep does not end");
        QList<SweepPoint> points;
        for (const int index : next) {
            QVERIFY(!sweep.engineFrequencies().contains(engine.at(index).frequencyMhz));
            points.append(engine.at(index));
        }
        next = sweep.add(points);
    }
    QVERIFY(sweep.done());
}

bool samePoint(const SweepPoint &a, const SweepPoint &b)
{
    return a.frequencyMhz == b.frequencyMhz && a.feed.resistance == b.feed.resistance &&
           a.feed.reactance == b.feed.reactance && a.swr == b.swr;
}

} // namespace

Q_DECLARE_METATYPE(Known)

class TestRationalFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reproducesKnownRational_data()
    {
        QTest::addColumn<Known>("known");
        QTest::addColumn<int>("samples");
        QTest::newRow("straight line through two samples") << Known{{30, -20}, {4, 9}, {}, {}} << 2;
        QTest::newRow("straight line, a pole at infinity") << Known{{30, -20}, {4, 9}, {}, {}} << 7;
        QTest::newRow("one pole above the band")
            << Known{{40, 10}, {}, {{101, 3}}, {{200, 100}}} << 7;
        QTest::newRow("a pole either side of the axis")
            << Known{{50, 0}, {0.5, 2}, {{98, 4}, {104, -5}}, {{-150, 80}, {300, -40}}} << 9;
    }
    void reproducesKnownRational()
    {
        QFETCH(Known, known);
        QFETCH(int, samples);
        QList<ImpedanceSample> data;
        for (int k = 0; k < samples; ++k) { // from the top down: any order
            const double f = 105 - 10.0 * k / (samples - 1);
            data.append({f, known.at(f)});
        }
        const std::optional<RationalFit> fit = RationalFit::fit(data, 95, 105);
        QVERIFY(fit);
        for (int k = 0; k <= 400; ++k) {
            const double f = 95 + 10.0 * k / 400;
            QVERIFY2(std::abs(fit->impedance(f) - known.at(f)) < 1e-7 * std::abs(known.at(f)),
                     qPrintable(QString::number(f)));
        }
        for (const Complex pole : known.poles) {
            double nearest = std::numeric_limits<double>::infinity();
            for (const Complex found : fit->polesMhz()) {
                nearest = std::min(nearest, std::abs(found - pole));
            }
            QVERIFY2(nearest < 1e-6, qPrintable(QString::number(nearest)));
        }
        for (const Complex found : fit->polesMhz()) { // the rest far off: a polynomial's
            QVERIFY(known.poles.isEmpty() ? std::abs(found) > 1e6 : true);
        }
    }

    void refusesUnusable_data()
    {
        QTest::addColumn<QList<ImpedanceSample>>("samples");
        QTest::addColumn<double>("upperMhz");
        const auto from = [](const Known &known, int count) {
            QList<ImpedanceSample> data;
            for (int k = 0; k < count; ++k) {
                const double f = 95 + 10.0 * k / (count - 1);
                data.append({f, known.at(f)});
            }
            return data;
        };
        const Known smooth{{50, 5}, {3, 8}, {}, {}};
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QList<ImpedanceSample> twice = from(smooth, 5);
        twice[3].frequencyMhz = twice.at(2).frequencyMhz;
        QList<ImpedanceSample> notFinite = from(smooth, 5);
        notFinite[1].impedance = {nan, 3};
        QList<ImpedanceSample> noFrequency = from(smooth, 5);
        noFrequency[4].frequencyMhz = nan;
        QList<ImpedanceSample> noise = from(smooth, 11);
        for (qsizetype k = 0; k < noise.size(); ++k) {
            noise[k].impedance += Complex(k % 2 ? 6 : -6, k % 3 ? -4 : 4);
        }
        QTest::newRow("one sample") << from(smooth, 5).mid(0, 1) << 105.0;
        QTest::newRow("one frequency twice") << twice << 105.0;
        QTest::newRow("impedance not finite") << notFinite << 105.0;
        QTest::newRow("frequency not finite") << noFrequency << 105.0;
        QTest::newRow("empty band") << from(smooth, 5) << 95.0;
        QTest::newRow("pole on the band")
            << from(Known{{50, 0}, {}, {{100.6, 0.02}}, {{5, 1}}}, 9) << 105.0;
        QTest::newRow("pole just past the band's end")
            << from(Known{{50, 0}, {}, {{105.4, 0}}, {{30, 0}}}, 9) << 105.0;
        QTest::newRow("noise of 6 ohm") << noise << 105.0;
    }
    void refusesUnusable()
    {
        QFETCH(QList<ImpedanceSample>, samples);
        QFETCH(double, upperMhz);
        QVERIFY(!RationalFit::fit(samples, 95, upperMhz));
    }

    // The stored sweeps fed to the adaptive sweep: the points it did not run, from the fit,
    // against the engine's own.
    void standsInForStoredSweep_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("f0");
        QTest::addColumn<int>("cores");
        QTest::newRow("146 MHz free space, 1 core") << QStringLiteral("sweep41.out") << 146.0 << 1;
        QTest::newRow("146 MHz free space, 2 cores") << QStringLiteral("sweep41.out") << 146.0 << 2;
        QTest::newRow("146 MHz free space, 8 cores") << QStringLiteral("sweep41.out") << 146.0 << 8;
        QTest::newRow("14.15 MHz 10 m over ground, 2 cores")
            << QStringLiteral("sweep41_ground10m.out") << 14.15 << 2;
        QTest::newRow("7.15 MHz 0.4 wavelengths over ground, 2 cores")
            << QStringLiteral("sweep41_ground04.out") << 7.15 << 2;
    }
    void standsInForStoredSweep()
    {
        QFETCH(QString, file);
        QFETCH(double, f0);
        QFETCH(int, cores);
        const QList<SweepPoint> engine = storedSweep(file, f0);
        QCOMPARE(engine.size(), kSweepPoints);

        AdaptiveSweep sweep(f0, cores);
        const QList<int> first = sweep.firstPoints();
        QVERIFY(first.contains(0) && first.contains(20) && first.contains(40));
        QVERIFY(first.size() >= std::min(cores, AdaptiveSweep::kMostFirstPoints));
        QVERIFY(first.size() <= AdaptiveSweep::kMostFirstPoints);
        runAgainst(sweep, engine);
        QVERIFY(sweep.converged());
        QVERIFY(sweep.lastAgreementOhm() <= sweep.agreementToleranceOhm());
        QVERIFY(sweep.agreementToleranceOhm() <= AdaptiveSweep::kMostScatterOhm);
        const QList<double> ran = sweep.engineFrequencies();
        QVERIFY(std::is_sorted(ran.begin(), ran.end()));
        QVERIFY(ran.contains(engine.at(20).frequencyMhz));
        QVERIFY2(ran.size() <= 7 + 4 * cores, qPrintable(QString::number(ran.size())));

        const QList<SweepPoint> reported = sweep.reportedPoints();
        QCOMPARE(reported.size(), kSweepPoints);
        for (int i = 0; i < kSweepPoints; ++i) {
            const SweepPoint &a = reported.at(i);
            const SweepPoint &b = engine.at(i);
            QCOMPARE(a.frequencyMhz, b.frequencyMhz);
            if (ran.contains(b.frequencyMhz)) {
                QVERIFY(samePoint(a, b));
                continue;
            }
            const double ohm = std::hypot(a.feed.resistance - b.feed.resistance,
                                          a.feed.reactance - b.feed.reactance);
            QVERIFY2(ohm <= 1, qPrintable(QStringLiteral("%1: %2 ohm").arg(i).arg(ohm)));
            QVERIFY2(std::fabs(a.swr - b.swr) <= 0.005 * b.swr, qPrintable(QString::number(i)));
        }
        const QList<SweepPoint> dense = sweep.denseCurve();
        QCOMPARE(dense.size(), AdaptiveSweep::kCheckPoints);
        QCOMPARE(dense.first().frequencyMhz, sweepFrequency(f0, 0));
        QCOMPARE(dense.last().frequencyMhz, sweepFrequency(f0, kSweepPoints - 1));

        // Against the 41 engine points' straight lines: within a tenth of a sweep step.
        const Bandwidth fitted = sweep.fittedBandwidth(engine.at(20).swr);
        const Bandwidth full = bandwidth(engine, f0, engine.at(20).swr);
        QCOMPARE(fitted.exists, full.exists);
        QCOMPARE(fitted.reachesLower, full.reachesLower);
        QCOMPARE(fitted.reachesUpper, full.reachesUpper);
        QVERIFY(std::fabs(fitted.lowerMhz - full.lowerMhz) < 0.1 * kSweepStep * f0);
        QVERIFY(std::fabs(fitted.upperMhz - full.upperMhz) < 0.1 * kSweepStep * f0);
    }

    // Points no low-degree rational follows: the sweep must run them all and report only them.
    void runsEverythingWhenNothingFits_data()
    {
        QTest::addColumn<QList<SweepPoint>>("engine");
        const auto smooth = [](int i) {
            return Complex(20 + 2.0 * i, -60 + 3.0 * i);
        };
        QTest::newRow("a 5 ohm step above f0")
            << synthetic(14.15, [&](int i) { return smooth(i) + (i > 24 ? 5.0 : 0.0); });
        QTest::newRow("noise of 2 ohm") << synthetic(14.15, [&](int i) {
            const unsigned hash = (unsigned(i) * 2654435761u) >> 16;
            return smooth(i) + Complex(hash % 401 / 100.0 - 2, hash % 397 / 100.0 - 2);
        });
        QTest::newRow("noise of 1.5 ohm on 300 ohm")
            << synthetic(14.15, [&](int i) { return smooth(i) + 280.0 + (i % 2 ? 1.5 : -1.5); });
        QTest::newRow("a resonance in the band") << synthetic(
            50.1, [&](int i) { return smooth(i) + 8.0 / (Complex(i - 30.3, 0.2) / 20.0); });
    }
    void runsEverythingWhenNothingFits()
    {
        QFETCH(QList<SweepPoint>, engine);
        const double f0 = engine.at(20).frequencyMhz;
        AdaptiveSweep sweep(f0, 2);
        runAgainst(sweep, engine);
        QVERIFY(!sweep.converged());
        QCOMPARE(sweep.engineFrequencies().size(), kSweepPoints);
        const QList<SweepPoint> reported = sweep.reportedPoints();
        QCOMPARE(reported.size(), kSweepPoints);
        for (int i = 0; i < kSweepPoints; ++i) {
            QVERIFY(samePoint(reported.at(i), engine.at(i)));
        }
        QVERIFY(sweep.denseCurve().isEmpty());
        const Bandwidth fitted = sweep.fittedBandwidth(engine.at(20).swr);
        const Bandwidth full = bandwidth(engine, f0, engine.at(20).swr);
        QCOMPARE(fitted.lowerMhz, full.lowerMhz);
        QCOMPARE(fitted.upperMhz, full.upperMhz);
    }

    // Z = 50 + jX, X = 1000 * ((f - f0) / f0 - shift) ohms: the SWR is 2 where |X| is
    // sqrt(1250) ohms, (f - f0) / f0 = shift -+ sqrt(1250) / 1000.
    void bandwidthEdgesByRootFinding_data()
    {
        QTest::addColumn<double>("shift");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("reachesUpper");
        QTest::newRow("both edges in the sweep") << 0.01 << true << false;
        QTest::newRow("the upper edge past the sweep's end") << 0.03 << true << true;
        QTest::newRow("above 2 at f0") << 0.05 << false << false;
    }
    void bandwidthEdgesByRootFinding()
    {
        QFETCH(double, shift);
        QFETCH(bool, exists);
        QFETCH(bool, reachesUpper);
        const double f0 = 7.15;
        const QList<SweepPoint> engine = synthetic(f0, [&](int i) {
            return Complex(50, 1000 * (kSweepStart - 1 + kSweepStep * i - shift));
        });
        AdaptiveSweep sweep(f0, 2);
        runAgainst(sweep, engine);
        QVERIFY(sweep.converged());
        QVERIFY(sweep.engineFrequencies().size() < 10);
        const Bandwidth band = sweep.fittedBandwidth(engine.at(20).swr);
        QCOMPARE(band.exists, exists);
        if (!exists) {
            return;
        }
        const double edge = std::sqrt(1250.0) / 1000;
        QVERIFY(!band.reachesLower);
        QVERIFY(std::fabs(band.lowerMhz - f0 * (1 + shift - edge)) < 1e-8 * f0);
        QCOMPARE(band.reachesUpper, reachesUpper);
        const double upper = reachesUpper ? sweepFrequency(f0, 40) : f0 * (1 + shift + edge);
        QVERIFY(std::fabs(band.upperMhz - upper) < 1e-8 * f0);
    }

    // Points come back a slice at a time: only what frees a core is handed out, never a point
    // already handed out or run.
    void slicesComingBackOneByOne()
    {
        const QList<SweepPoint> engine = storedSweep(QStringLiteral("sweep41.out"), 146);
        AdaptiveSweep sweep(146, 2);
        QList<int> out = sweep.firstPoints();
        QList<int> handed = out;
        while (!out.isEmpty()) {
            const int index = out.takeFirst();
            const QList<int> more = sweep.add({engine.at(index)});
            QVERIFY(more.size() <= 2);
            for (const int next : more) {
                QVERIFY(!handed.contains(next));
            }
            handed.append(more);
            out.append(more);
            QVERIFY(handed.size() <= kSweepPoints);
        }
        QVERIFY(sweep.done());
        QVERIFY(sweep.converged());
    }
};

MOXON_TEST_GUILESS_MAIN(TestRationalFit)
#include "tst_rationalfit.moc"
