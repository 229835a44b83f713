#pragma once

// An antenna built with errors the program is not told, as an analyser reads it: nec2c's own
// runs of its model, independent of the program's fits. For the tests and the pictures that
// need the measured file of a real antenna.

#include "calculation.h"
#include "feedline.h"
#include "installation.h"
#include "touchstone.h"
#include "tuner.h"

#include <QList>
#include <QString>

#include <optional>

namespace moxon::test {

// The design the window shows for `inputs` in `unit`, horizontal and along X, hung as
// `installation`: the model every analysis of the session starts from.
[[nodiscard]] TuneSetup shownDesignSetup(const FormInputs &inputs, DisplayUnit unit,
                                         const Installation &installation);

[[nodiscard]] TuneDimensions scaledBy(const TuneDimensions &dims, double scale);

// nec2c's impedance of `dims` at `frequencies`, run as two decks side by side; a run that
// failed leaves its frequencies out.
[[nodiscard]] QList<SweepPoint> impedances(const TuneSetup &setup, const TuneDimensions &dims,
                                           const QList<double> &frequencies);

// `count` frequencies evenly over +-`share` of `centreMhz`.
[[nodiscard]] QList<double> frequenciesAround(double centreMhz, int count, double share);

// How the antenna was built against its design: the display unit's lengths.
struct BuildErrors
{
    double scale = 1;         // the whole antenna, frame and wire alike
    double driverTail = 0;    // each driven-element tail; positive: too long
    double reflectorTail = 0; // each reflector tail; positive: too long
};

// What an analyser reads of the design of `setup` built with `errors` at `frequencies`: at
// the antenna, or at the radio's end of `line`, with Gaussian noise of `noiseOhm` on each
// part of every reading from a generator seeded with `seed`. Empty when nec2c failed.
[[nodiscard]] QList<TouchstonePoint>
analyserReadings(const TuneSetup &setup, const BuildErrors &errors,
                 const QList<double> &frequencies, double noiseOhm,
                 const std::optional<FeedLine> &line = std::nullopt, unsigned seed = 5);

// Written as an analyser in the shack writes it: Z in RI against 50 ohms, frequencies in MHz.
[[nodiscard]] bool writeAnalyserFile(const QString &path, const QList<TouchstonePoint> &points);

} // namespace moxon::test
