#pragma once

#include "figures.h"

#include <QLocale>
#include <QString>

#include <optional>

namespace moxon {

// The texts of the check window's figures, in one locale, the way the result boxes use the
// user's locale: "51.16 − j3.28 Ω", "1.07", "6.04 dBi", "43.2 dB", "77.9°".
class CheckFigureFormat
{
public:
    explicit CheckFigureFormat(QLocale locale);

    [[nodiscard]] QString frequency(double mhz) const; // "146 MHz"
    [[nodiscard]] QString impedance(const FeedPoint &feed) const;
    [[nodiscard]] QString swr(double swr) const;
    [[nodiscard]] QString gain(double dbi) const;
    [[nodiscard]] QString frontToBack(double db) const;
    // Width in MHz and per cent of the design frequency; "≥" and, on a second line, the end it
    // reaches when it stops at an end of the sweep; a sentence when there is none.
    [[nodiscard]] QString bandwidth(const Bandwidth &band, double f0Mhz) const;
    [[nodiscard]] QString beamwidth(const std::optional<double> &degrees) const;

private:
    [[nodiscard]] QString fixed(double value, int decimals) const;

    QLocale m_locale;
};

} // namespace moxon
