#pragma once

#include "touchstone.h"

#include <QByteArray>
#include <QList>

namespace moxon {

enum class TouchstoneVersion
{
    One, // the option line and the rows
    Two, // the same between [Version] 2.0 and [End], with Y and Z in siemens and ohms
};

// How a one-port file is written.
struct TouchstoneFormat
{
    FrequencyUnit unit = FrequencyUnit::MHz;
    NetworkParameter parameter = NetworkParameter::S;
    NumberFormat numbers = NumberFormat::RealImaginary;
    double referenceOhm = 50; // the option line's R
    TouchstoneVersion version = TouchstoneVersion::One;
};

// A one-port Touchstone file of `points` (in increasing frequency), as an analyser would
// write it; every number reads back as the double it was written from. An impedance of 0 has
// no admittance, and is written as Y only as an infinite number, which no reader takes.
[[nodiscard]] QByteArray touchstoneS1p(const QList<TouchstonePoint> &points,
                                       const TouchstoneFormat &format = {});

} // namespace moxon
