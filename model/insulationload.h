#pragma once

#include "insulation.h"
#include "modelinput.h"

#include <QString>

namespace moxon {

// Insulated wire as NEC-2 models it. NEC-2 has no card for a dielectric sleeve; its effect on
// a thin wire is that of a series inductance per unit length (J. H. Richmond and E. H. Newman,
// "Dielectric coated wire antennas", Radio Science 11(1), 1976): the sleeve's radial field,
// quasi-static for a sleeve thin against the wavelength, adds to the potential of the wire's
// charge a share (1 - 1/εr) ln(b/a) / (2π ε0) per unit of charge per metre, for metal of
// radius a in insulation of outer radius b. On a current that varies along the wire as a wave
// at the speed of light, that added potential acts as the inductance per metre
//     L' = (μ0 / 2π) (1 - 1/εr) ln(b/a).
// On the slower wave of the insulated wire the sleeve acts as L' / VF², for a velocity factor
// VF: the inductance models the insulation the better, the less it slows the wave.

// The series inductance per metre, H/m, that stands in for `insulation` on a wire of radius
// `radiusMetres`.
[[nodiscard]] double insulationInductance(double radiusMetres, const Insulation &insulation);

// The velocity factor the insulation gives a half-wave element of radius `radiusMetres` at
// `frequencyMhz`, estimated: the wave's speed falls as the square root of the wire's own
// inductance per metre over that with the insulation's added. The wire's own is taken from the
// average characteristic impedance of a cylindrical antenna of half-length l, 120 (ln(2l/a) - 1)
// ohm (S. A. Schelkunoff and H. T. Friis, "Antennas: Theory and Practice", Wiley, 1952), here
// for l a quarter wavelength. It falls short of nec2c's shift of the dip by about a tenth: the
// 20 m design in 0.8 mm of PVC is estimated at 0.976, where nec2c moves its dip by 2.6 %.
[[nodiscard]] double insulatedVelocityFactor(double radiusMetres, const Insulation &insulation,
                                             double frequencyMhz);

// Why the insulation cannot be modelled on the model's wire, naming the limit; empty when it
// can. Insulation that slows the wave by less than a hundred-thousandth changes nothing that
// nec2c's five printed digits show; insulation whose inductance passes a tenth of the wire's
// own slows the wave below a velocity factor of 0.95, where the inductance falls short of the
// sleeve's effect by more than a tenth of that effect.
[[nodiscard]] QString insulationRefusal(const ModelInput &model, const Insulation &insulation);

// Whether the insulation's numbers can be written at all: a permittivity of at least 1 and a
// thickness of 0 or more, each a number.
[[nodiscard]] bool isWritableInsulation(const Insulation &insulation);

} // namespace moxon
