#pragma once

#include "figures.h"

#include <QLocale>
#include <QString>

#include <optional>

namespace moxon {

// The texts of the check's figures, in one of two styles. The window's follow the user's
// locale, the way the result boxes do, with the typographic signs: "51.16 − j3.28 Ω", "1.07",
// "6.04 dBi", "43.2 dB", "77.9°". The command line's are plain ASCII with "." as the decimal
// point, for terminals and scripts: "51.16 - j3.28 ohm", "6.04 dBi", "43.20 dB", "77.9 degrees".
class CheckFigureFormat
{
public:
    // The window's style in `locale`.
    explicit CheckFigureFormat(QLocale locale);
    [[nodiscard]] static CheckFigureFormat plain();

    [[nodiscard]] QString frequency(double mhz) const; // "146 MHz"
    [[nodiscard]] QString impedance(const FeedPoint &feed) const;
    [[nodiscard]] QString swr(double swr) const;
    [[nodiscard]] QString gain(double dbi) const;
    [[nodiscard]] QString frontToBack(double db) const;
    // The window: width in MHz and per cent of the design frequency; "≥" and, on a second line,
    // the end it reaches when it stops at an end of the sweep; a sentence when there is none.
    // The command line: both edges, the width and the per cent, and the end it reaches.
    [[nodiscard]] QString bandwidth(const Bandwidth &band, double f0Mhz) const;
    [[nodiscard]] QString beamwidth(const std::optional<double> &degrees) const;
    [[nodiscard]] QString angle(double degrees) const; // "28.5°", "28.5 degrees"

private:
    CheckFigureFormat(QLocale locale, bool plain);
    [[nodiscard]] QString fixed(double value, int decimals) const;

    QLocale m_locale;
    bool m_plain = false;
};

} // namespace moxon
