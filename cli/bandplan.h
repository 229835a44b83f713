#pragma once

#include <QList>
#include <QString>

namespace moxon {

struct Band
{
    QString name;      // the band by its wavelength, as amateurs call it: "20 m", "70 cm"
    QString frequency; // the usual design frequency in MHz, as text in the C locale
};

// The amateur bands from 160 m to 23 cm, each with a design frequency near the middle of the
// part of the band where beams are mostly used.
[[nodiscard]] QList<Band> amateurBands();

} // namespace moxon
