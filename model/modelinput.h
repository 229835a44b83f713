#pragma once

#include "calculation.h"
#include "wiretable.h"

#include <QString>

#include <optional>

namespace moxon {

enum class ModelFormat
{
    Nec,   // NEC-2 input deck, text
    Eznec, // binary model file of 170-byte records
};

// Everything a model writer reads: typed, checked values only, so that no writer parses.
struct ModelInput
{
    WireTable wires{};
    DisplayUnit units = DisplayUnit::Inch; // the unit of every coordinate in `wires`
    WireSize wire;
    double frequencyMHz = 0;
    QString frequencyText; // as typed: the deck's frequency card carries it
    bool vertical = false; // polarization; the wires already stand as it says
    bool xAxis = true;     // the beam lies along X; otherwise along Y
};

// The model of a shown design: the wires from the dimensions as shown (rounded, in the
// display unit), the frequency and the wire size as they were accepted.
[[nodiscard]] ModelInput modelInputFor(const ShownDesign &shown, const DesignInput &input,
                                       bool vertical, bool xAxis);

// What a writer did: either the whole model went out, or nothing usable did and `error`
// says why in a sentence fit for a message.
class WriteResult
{
public:
    [[nodiscard]] static WriteResult success() { return WriteResult(); }
    [[nodiscard]] static WriteResult failure(QString reason);

    [[nodiscard]] bool ok() const { return !m_failed; }
    [[nodiscard]] const QString &error() const { return m_error; }

private:
    WriteResult() = default;

    QString m_error;
    bool m_failed = false;
};

// A gauge as the 16-bit whole number both model files hold (a tie rounds to even).
[[nodiscard]] std::optional<qint16> gaugeNumber(double gauge);

// A double as a single-precision number, or nothing when it lies past the single range or so
// near zero that single precision would not hold its digits (zero itself is held).
[[nodiscard]] std::optional<float> toSinglePrecision(double value);

// The radius the model files hold, in inches: half the diameter, a gauge's rounded to 5
// decimals of an inch, in single precision; nothing when single precision cannot hold it.
[[nodiscard]] std::optional<float> radiusInches(const WireSize &wire);

[[nodiscard]] QString unstorableWireSize(const WireSize &wire);

} // namespace moxon
