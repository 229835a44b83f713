#pragma once

#include "localenumbers.h"
#include "wiretable.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace moxon {

// Everything a model writer reads, taken from the window at the moment of an export, so
// that the writers never look at the window themselves.
struct ModelSource
{
    WireTable wires{};
    QString displayUnits; // "ft", "in", "m" or "mm": the unit of every coordinate in `wires`
    QString wireUnit;     // the picked wire-size unit: "in", "mm" or "AWG"
    QString wireSize;     // the wire-size text; a gauge reads "#" and the number
    QString frequency;    // the frequency text in MHz, exactly as typed
    bool xAxis = false;   // the beam lies along X; otherwise along Y
};

// What a writer did: either the whole model went out, or nothing usable did and `error`
// says why in a sentence fit for a message box.
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

// The gauge of a wire-size text such as "#12": the number after the "#", read in the
// window's locale, rounded to a whole number (a tie to the even one) and within the 16 bits
// both model files hold it in. A text without the "#" is read whole.
[[nodiscard]] std::optional<qint16> gaugeFromWireText(QStringView text,
                                                      const LocaleNumbers &numbers);

// A double as a single-precision number, or nothing when it lies past the single range.
[[nodiscard]] std::optional<float> toSinglePrecision(double value);

// Reasons shared by both writers.
[[nodiscard]] QString unreadableWireSize(const QString &wireSize);
[[nodiscard]] QString unknownWireUnit(const QString &wireUnit);
[[nodiscard]] QString unknownDisplayUnit(const QString &displayUnits);

} // namespace moxon
