#pragma once

#include "installation.h"
#include "modelinput.h"

#include <QIODevice>

namespace moxon {

// Writes the model as an NEC-2 input deck of fifteen cards, each line ended by CR LF: the six
// wires in the display unit with a GS card that scales them to metres, a 1 V source on the
// middle segment of wire 2, the one design frequency, and an azimuth and an elevation
// pattern. Numbers always carry ".", whatever the user's locale. Every value is checked before
// the first byte goes out, so a failure writes nothing.
// For the design check the antenna may hang elsewhere than in free space in perfect wire: over
// ground every wire is raised by the installation's height, GE 1 and a GN card (1 for perfect
// ground, 2 for Sommerfeld-Norton real ground) follow the geometry, and the only patterns are
// the elevation cuts of elevationCuts(): in half-degree steps, and where the antenna hangs so
// high that the lobes crowd closer, a finer one; a real conductor adds an LD 5 card with its
// conductivity for every wire. Insulated wire adds an LD 3 card, the series inductance per metre
// that stands in for the insulation on every wire (insulationload.h), after the metal's. In
// free space and bare perfect wire the deck is the export's; in free space and insulated perfect
// wire it is the export's with the insulation's card.
[[nodiscard]] WriteResult WriteNEC(QIODevice &out, const ModelInput &model,
                                   const Installation &installation = {});

} // namespace moxon
