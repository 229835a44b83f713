#pragma once

#include "cable.h"
#include "figures.h"
#include "leastsquares.h"
#include "rationalfit.h"
#include "touchstone.h"

#include <QList>

#include <complex>
#include <optional>

namespace moxon::diagnosing {

// The unknowns of a diagnosis, in their order in the fit: the scale's share above 1, the tails'
// and the gap's errors in the display unit, and the line's length error in metres.
enum class Unknown
{
    Scale,
    DriverTails,
    ReflectorTails,
    Gap,
    Line,
};

// An engine run's impedances over frequency: exact at the run's frequencies, between and a
// little beyond them a rational fit corrected by the misses at its two nearest samples (the
// fit of a dozen samples smooths some of them; the correction puts it back through all).
class SampledCurve
{
public:
    explicit SampledCurve(const QList<SweepPoint> &samples);

    [[nodiscard]] std::complex<double> at(double frequencyMhz) const;

private:
    std::optional<RationalFit> m_fit;
    QList<double> m_frequencies;          // MHz, ascending
    QList<std::complex<double>> m_misses; // ohms: sample minus fit, or the sample alone
};

// The model's curves around one point of the fit: the engine's run of it and of each unknown
// the engine answers stepped once, at the same frequencies.
struct Centre
{
    QList<double> x;
    SampledCurve model;
    QList<SampledCurve> stepped; // in the order of `engineUnknowns`
};

// The model near a centre, without further engine runs: a design s times as large behaves at f
// as the centre's does at s f but for its wire and its height, which do not grow with it (the
// model's scale stretched along frequency), and the tails and the gap move it by their
// finite differences, to first order. Carried through the line to the radio where the file was
// measured there. Damped Gauss-Newton on this local model finds the next centre; each centre
// is then run on the engine, which keeps the fit on the engine's own curve.
class LocalModel
{
public:
    LocalModel(const Centre &centre, const QList<Unknown> &unknowns,
               const QList<double> &engineSteps, const std::optional<FeedLine> &line);

    // The model's feed-point impedance at `y`, and as seen where the file was measured.
    [[nodiscard]] std::complex<double> feed(const QList<double> &y, double frequencyMhz) const;
    [[nodiscard]] std::complex<double> measured(const QList<double> &y, double frequencyMhz) const;
    // The residuals against `readings` at `y` (the real and imaginary part of each), and their
    // Jacobian from central differences of this model.
    [[nodiscard]] LinearisedResiduals linearised(const QList<double> &y,
                                                 const QList<TouchstonePoint> &readings) const;
    // The least-squares point of this model against `readings`, from the centre, each unknown
    // kept within `bounds` (the most of its size either way). With `acrossTurns`, through a line
    // of unknown length, the best of descents from lengths across its reflection's turns.
    [[nodiscard]] QList<double> solved(const QList<TouchstonePoint> &readings,
                                       const QList<double> &bounds, bool acrossTurns = false) const;

private:
    // Damped Gauss-Newton on this model from `y` to where it settles, within `bounds`.
    [[nodiscard]] QList<double> descended(QList<double> y, const QList<TouchstonePoint> &readings,
                                          const QList<double> &bounds) const;
    [[nodiscard]] qsizetype indexOf(Unknown unknown) const { return m_unknowns.indexOf(unknown); }

    const Centre &m_centre;
    QList<Unknown> m_unknowns;
    QList<double> m_engineSteps; // of the unknowns the engine answers, in their order
    std::optional<FeedLine> m_line;
};

} // namespace moxon::diagnosing
