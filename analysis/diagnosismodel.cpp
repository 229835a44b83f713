#include "diagnosismodel.h"

#include "installation.h"
#include "lossyline.h"

#include <algorithm>
#include <cmath>

namespace moxon::diagnosing {

namespace {

// The central differences of the local model: small against any unknown's reach, large
// against rounding (the model is a smooth function, evaluated in double precision).
constexpr double kDifferenceStep = 1e-5;
// Damped Gauss-Newton on the local model: where the damping starts, how it moves, and when
// the steps stop (the model costs nothing, so it is solved tightly).
constexpr double kFirstDamping = 1e-4;
constexpr double kDampingDown = 0.3;
constexpr double kDampingUp = 10;
constexpr double kMostDamping = 1e8;
constexpr int kMostSteps = 60;
constexpr double kSettledFall = 1e-12;
// Where the line's length is unknown: the descent's further starts, this many a turn of the
// line's reflection (half a wavelength in it) and this many either way of the length as told.
constexpr int kLineStartsPerTurn = 8;
constexpr int kLineStarts = 12;

} // namespace

SampledCurve::SampledCurve(const QList<SweepPoint> &samples)
{
    QList<ImpedanceSample> fitted;
    for (const SweepPoint &point : samples) {
        m_frequencies.append(point.frequencyMhz);
        fitted.append(
            ImpedanceSample{point.frequencyMhz, {point.feed.resistance, point.feed.reactance}});
    }
    if (samples.size() >= 2) {
        m_fit = RationalFit::fit(fitted, m_frequencies.first(), m_frequencies.last());
    }
    for (const ImpedanceSample &sample : std::as_const(fitted)) {
        m_misses.append(sample.impedance - (m_fit ? m_fit->impedance(sample.frequencyMhz) : 0.0));
    }
}

std::complex<double> SampledCurve::at(double frequencyMhz) const
{
    if (m_frequencies.isEmpty()) {
        return 0;
    }
    const std::complex<double> base = m_fit ? m_fit->impedance(frequencyMhz) : 0.0;
    const auto next = std::upper_bound(m_frequencies.cbegin(), m_frequencies.cend(), frequencyMhz);
    if (next == m_frequencies.cbegin()) {
        return base + m_misses.first();
    }
    if (next == m_frequencies.cend()) {
        return base + m_misses.last();
    }
    const qsizetype k = next - m_frequencies.cbegin();
    const double share =
        (frequencyMhz - m_frequencies.at(k - 1)) / (m_frequencies.at(k) - m_frequencies.at(k - 1));
    return base + m_misses.at(k - 1) * (1 - share) + m_misses.at(k) * share;
}

LocalModel::LocalModel(const Centre &centre, const QList<Unknown> &unknowns,
                       const QList<double> &engineSteps, const std::optional<FeedLine> &line)
    : m_centre(centre)
    , m_unknowns(unknowns)
    , m_engineSteps(engineSteps)
    , m_line(line)
{
}

std::complex<double> LocalModel::feed(const QList<double> &y, double frequencyMhz) const
{
    const qsizetype scale = indexOf(Unknown::Scale);
    const double stretched = frequencyMhz * (1 + y.at(scale)) / (1 + m_centre.x.at(scale));
    const std::complex<double> model = m_centre.model.at(stretched);
    std::complex<double> z = model;
    // The unknowns after the scale that the engine answers are its stepped runs, in order.
    for (qsizetype k = 0; k < m_centre.stepped.size(); ++k) {
        const qsizetype i = k + 1;
        z += (y.at(i) - m_centre.x.at(i)) / m_engineSteps.at(k) *
             (m_centre.stepped.at(k).at(stretched) - model);
    }
    return z;
}

std::complex<double> LocalModel::measured(const QList<double> &y, double frequencyMhz) const
{
    const std::complex<double> z = feed(y, frequencyMhz);
    if (!m_line) {
        return z;
    }
    const double length = m_line->lengthMetres + y.at(indexOf(Unknown::Line));
    return LossyLine(m_line->cable).inputImpedance(z, frequencyMhz, length);
}

LinearisedResiduals LocalModel::linearised(const QList<double> &y,
                                           const QList<TouchstonePoint> &readings) const
{
    LinearisedResiduals result{{}, {}, int(y.size())};
    QList<QList<double>> ups;
    QList<QList<double>> downs;
    for (qsizetype k = 0; k < y.size(); ++k) {
        ups.append(y);
        downs.append(y);
        ups.last()[k] += kDifferenceStep;
        downs.last()[k] -= kDifferenceStep;
    }
    for (const TouchstonePoint &reading : readings) {
        const double f = reading.frequencyMhz;
        const std::complex<double> miss = measured(y, f) - reading.impedanceOhm;
        result.residuals.append(miss.real());
        result.residuals.append(miss.imag());
        QList<std::complex<double>> columns;
        for (qsizetype k = 0; k < y.size(); ++k) {
            columns.append((measured(ups.at(k), f) - measured(downs.at(k), f)) /
                           (2 * kDifferenceStep));
        }
        for (const std::complex<double> &column : std::as_const(columns)) {
            result.jacobian.append(column.real());
        }
        for (const std::complex<double> &column : std::as_const(columns)) {
            result.jacobian.append(column.imag());
        }
    }
    return result;
}

// A line's reflection turns once in every half wavelength of its length, so that lengths that
// far apart fit the readings near the centre alike; only the turn's slope across the band tells
// them apart, and a descent from the length as told ends in whichever lies nearest. Across the
// turns the descent also starts from lengths a turn and a half either way, and the best end is
// kept: a told length a quarter wave off, easily 0.5 m on 2 m, no longer fits a false length.
QList<double> LocalModel::solved(const QList<TouchstonePoint> &readings,
                                 const QList<double> &bounds, bool acrossTurns) const
{
    QList<double> best = descended(m_centre.x, readings, bounds);
    if (!acrossTurns || !m_line || readings.isEmpty()) {
        return best;
    }
    double bestSum = linearised(best, readings).sumOfSquares();
    const double middleMhz = (readings.first().frequencyMhz + readings.last().frequencyMhz) / 2;
    const double turn = m_line->cable.velocityFactor * freeSpaceWavelength(middleMhz) / 2;
    const qsizetype line = indexOf(Unknown::Line);
    for (int k = -kLineStarts; k <= kLineStarts; ++k) {
        QList<double> start = m_centre.x;
        start[line] = std::clamp(start.at(line) + k * turn / kLineStartsPerTurn, -bounds.at(line),
                                 bounds.at(line));
        if (k == 0 || start.at(line) == m_centre.x.at(line)) {
            continue;
        }
        const QList<double> end = descended(start, readings, bounds);
        const double sum = linearised(end, readings).sumOfSquares();
        if (sum < bestSum) {
            best = end;
            bestSum = sum;
        }
    }
    return best;
}

QList<double> LocalModel::descended(QList<double> y, const QList<TouchstonePoint> &readings,
                                    const QList<double> &bounds) const
{
    LinearisedResiduals at = linearised(y, readings);
    double damping = kFirstDamping;
    for (int step = 0; step < kMostSteps && damping < kMostDamping; ++step) {
        const std::optional<QList<double>> delta = dampedStep(at, damping);
        if (!delta) {
            break;
        }
        QList<double> trial = y;
        for (qsizetype k = 0; k < trial.size(); ++k) {
            trial[k] = std::clamp(trial.at(k) + delta->at(k), -bounds.at(k), bounds.at(k));
        }
        const LinearisedResiduals next = linearised(trial, readings);
        const double before = at.sumOfSquares();
        const double after = next.sumOfSquares();
        if (!(after < before)) {
            damping *= kDampingUp;
            continue;
        }
        y = trial;
        at = next;
        damping *= kDampingDown;
        if (before - after <= kSettledFall * before) {
            break;
        }
    }
    return y;
}

} // namespace moxon::diagnosing
