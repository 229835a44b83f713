#pragma once

#include "necoutput.h"

#include <QByteArray>

namespace moxon {

// Sets the angles of the run's pattern tables to those the deck's RP cards asked for: nec2c
// prints them to two decimals, coarser than the cuts over ground through lobes hundreds of
// wavelengths up, which lie a few hundredths of a degree apart. Left as printed unless every
// table answers a card that varies one angle, with as many directions.
void takeDeckAngles(NecFrequencyResult &result, const QByteArray &deck);

} // namespace moxon
