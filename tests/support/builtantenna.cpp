#include "builtantenna.h"

#include "checkreport.h"
#include "checkrequest.h"
#include "enginebatch.h"
#include "enginescheduler.h"
#include "localenumbers.h"
#include "modelinput.h"
#include "sweepplan.h"
#include "touchstonewriter.h"
#include "trim.h"

#include <QFile>

#include <random>

namespace moxon::test {

TuneSetup shownDesignSetup(const FormInputs &inputs, DisplayUnit unit,
                           const Installation &installation)
{
    const Calculation run = calculate(inputs, unit, LocaleNumbers(QLocale::c()));
    return tuneSetup(modelInputFor(run.shown, run.input, false, true), run.shown.values,
                     run.form.wireSize, installation);
}

TuneDimensions scaledBy(const TuneDimensions &dims, double scale)
{
    return {dims.a * scale, dims.b * scale, dims.d * scale, dims.e * scale};
}

QList<SweepPoint> impedances(const TuneSetup &setup, const TuneDimensions &dims,
                             const QList<double> &frequencies)
{
    const QByteArray deck = setup.requestFor(dims).deck;
    const qsizetype half = frequencies.size() / 2;
    const QList<SweepSlice> slices = {frequencySlice(deck, frequencies.mid(0, half)),
                                      frequencySlice(deck, frequencies.mid(half))};
    EngineScheduler scheduler;
    // Dozens of frequencies over ground in a run, on a machine that may be busy building: far
    // longer than one of the program's own runs may take.
    const CheckOptions options{nec2cProgram(), 180'000};
    const std::optional<QList<EngineRun>> runs =
        runEngineBatch({slices.at(0).deck, slices.at(1).deck}, scheduler, options);
    QList<SweepPoint> points;
    for (qsizetype k = 0; runs && k < 2; ++k) {
        points += readSliceRun(runs->at(k), slices.at(k)).points;
    }
    return points;
}

QList<double> frequenciesAround(double centreMhz, int count, double share)
{
    QList<double> frequencies;
    for (int i = 0; i < count; ++i) {
        frequencies.append(centreMhz * (1 - share + 2 * share * i / (count - 1)));
    }
    return frequencies;
}

QList<TouchstonePoint> analyserReadings(const TuneSetup &setup, const BuildErrors &errors,
                                        const QList<double> &frequencies, double noiseOhm,
                                        const std::optional<FeedLine> &line, unsigned seed)
{
    const TuneDimensions real =
        scaledBy(withTails(setup.formula, errors.driverTail, errors.reflectorTail), errors.scale);
    const QList<SweepPoint> curve = impedances(setup, real, frequencies);
    if (curve.size() != frequencies.size()) {
        return {};
    }
    QList<TouchstonePoint> points;
    for (const SweepPoint &point : curve) {
        points.append(
            TouchstonePoint{point.frequencyMhz, {point.feed.resistance, point.feed.reactance}});
    }
    if (line) {
        points = throughLine(points, LossyLine(line->cable), line->lengthMetres);
    }
    std::mt19937 generator(seed);
    std::normal_distribution<double> noise(0, noiseOhm > 0 ? noiseOhm : 1);
    for (TouchstonePoint &point : points) {
        if (noiseOhm > 0) {
            // The resistance's draw first, then the reactance's: the same file on every compiler.
            const double resistance = noise(generator);
            point.impedanceOhm += std::complex<double>(resistance, noise(generator));
        }
    }
    return points;
}

bool writeAnalyserFile(const QString &path, const QList<TouchstonePoint> &points)
{
    QFile s1p(path);
    return s1p.open(QIODevice::WriteOnly) &&
           s1p.write(touchstoneS1p(points, TouchstoneFormat{FrequencyUnit::MHz, NetworkParameter::Z,
                                                            NumberFormat::RealImaginary, 50,
                                                            TouchstoneVersion::One})) > 0;
}

} // namespace moxon::test
