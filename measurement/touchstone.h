#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <complex>
#include <variant>

namespace moxon {

// One frequency of a one-port: the load impedance at the reference plane, where the analyser
// was calibrated.
struct TouchstonePoint
{
    double frequencyMhz = 0;
    std::complex<double> impedanceOhm;
};

// A one-port Touchstone file as read: its points in increasing frequency, and the reference
// resistance its S-parameters are given against.
struct TouchstoneFile
{
    QList<TouchstonePoint> points;
    double referenceOhm = 50; // ohms
};

// Why a file is refused.
struct TouchstoneError
{
    QString file;   // the name shown to the user
    int line = 0;   // counted from 1; 0 when the fault lies in no line (the file cannot be read)
    QString reason; // a clause without the full stop

    // One sentence: "measured.s1p line 12: <reason>."
    [[nodiscard]] QString sentence() const;
};

using TouchstoneResult = std::variant<TouchstoneFile, TouchstoneError>;

// What the option line of a Touchstone file declares.
enum class FrequencyUnit
{
    Hz,
    kHz,
    MHz,
    GHz,
};

enum class NetworkParameter
{
    S, // reflection against the reference resistance
    Y, // admittance
    Z, // impedance
};

enum class NumberFormat
{
    RealImaginary,
    MagnitudeAngle, // angle in degrees
    DecibelAngle,   // 20 log10 of the magnitude, angle in degrees
};

// A frequency of `unit` in MHz, and back. Both divide by or multiply with a power of ten that
// is exact in a double, so that 28200000 Hz is the 28.2 MHz that is written as 28.2.
[[nodiscard]] double toMegahertz(double frequency, FrequencyUnit unit);
[[nodiscard]] double fromMegahertz(double megahertz, FrequencyUnit unit);

// Reads a Touchstone 1.x or 2.x file of a one-port, as antenna analysers and small VNAs write
// them. Anything else, and any row that cannot be read as a passive load's impedance, refuses
// the whole file with the line at fault: a measurement read in part would be compared with the
// model as if it were whole. `displayName` names the file in the error.
[[nodiscard]] TouchstoneResult readTouchstone(const QByteArray &data, const QString &displayName);

// The same from the file at `path`, named by its file name; refuses a file that cannot be read.
[[nodiscard]] TouchstoneResult readTouchstoneFile(const QString &path);

// The SWR of each point on the feed line of kLineImpedance ohms, whatever reference resistance
// the file was written against: that line is what the antenna is fed with.
[[nodiscard]] QList<double> swrOnLine(const QList<TouchstonePoint> &points);

} // namespace moxon
