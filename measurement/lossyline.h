#pragma once

#include "cable.h"

#include <complex>

namespace moxon {

// A uniform transmission line of a cable, by the full equations of a lossy line: the complex
// propagation constant γ = α + jβ, with α from the cable's matched loss and β = 2πf / (v c),
// and the input impedance Zin = Z0 (ZL + Z0 tanh γl) / (Z0 + ZL tanh γl) (Ramo, Whinnery and
// Van Duzer, "Fields and Waves in Communication Electronics", 3rd ed., ch. 5, the lossy
// transmission line; the same in Pozar, "Microwave Engineering", 4th ed., §2.7). Z0 is the
// maker's nominal impedance, real: the matched losses of the data sheets and the classic
// total-loss formula are stated on it, and the small reactive part a lossy line's Z0 has (about
// α/β of it, a per cent at HF) is left out with them.
//
// The length is a parameter of every question, not of the line, so that one line can be asked
// at many lengths: a measurement whose line's electrical length is not known exactly.
class LossyLine
{
public:
    explicit LossyLine(Cable cable);

    [[nodiscard]] const Cable &cable() const { return m_cable; }

    // γ at `frequencyMhz`: α in nepers and β in radians per metre.
    [[nodiscard]] std::complex<double> propagation(double frequencyMhz) const;
    // Degrees of phase along `lengthMetres` at `frequencyMhz`: βl.
    [[nodiscard]] double electricalDegrees(double frequencyMhz, double lengthMetres) const;

    // The impedance at the input of `lengthMetres` of line ending in `load`, ohms. Written with
    // cosh and sinh instead of tanh, so that a lossless quarter wave, where tanh γl is
    // infinite, still gives Z0² / ZL.
    [[nodiscard]] std::complex<double>
    inputImpedance(std::complex<double> load, double frequencyMhz, double lengthMetres) const;
    // Its exact inverse: the load that shows `input` at the line's input. A line is the same
    // two-port seen from either end, so the load is the input impedance of the line of length
    // −l ending in `input`.
    [[nodiscard]] std::complex<double>
    loadImpedance(std::complex<double> input, double frequencyMhz, double lengthMetres) const;

    // dB lost along `lengthMetres` when the line ends in Z0: 8.686 αl.
    [[nodiscard]] double matchedLossDb(double frequencyMhz, double lengthMetres) const;
    // dB lost along `lengthMetres` into `load`: the power into the line's input over the power
    // into the load, from the voltage and current at both ends. On a real Z0 this is the
    // classic formula 10 log10[(a² − |Γ|²) / (a (1 − |Γ|²))], a = 10^(matched loss / 10), |Γ|
    // the load's reflection on Z0 (ARRL Antenna Book, chapter on transmission lines).
    // Infinite for a load that takes no power.
    [[nodiscard]] double totalLossDb(std::complex<double> load, double frequencyMhz,
                                     double lengthMetres) const;

private:
    Cable m_cable;
};

} // namespace moxon
