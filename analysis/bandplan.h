#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace moxon {

struct Band
{
    QString name;        // the band by its wavelength, as amateurs call it: "20 m", "70 cm"
    QString frequency;   // the usual design frequency in MHz, as text in the C locale
    double lowerMhz = 0; // lower edge of the band, MHz
    double upperMhz = 0; // upper edge of the band, MHz
};

// The amateur bands from 160 m to 23 cm, each with a design frequency near the middle of the
// part of the band where beams are mostly used, and its edges as the common IARU and US
// allocations draw them.
[[nodiscard]] QList<Band> amateurBands();

// The band whose edges hold `mhz` (edges included), if any.
[[nodiscard]] std::optional<Band> bandContaining(double mhz);

} // namespace moxon
