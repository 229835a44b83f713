#include "lossyline.h"

#include "installation.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace moxon {

namespace {

// dB in one neper of amplitude: 20 log10 e.
const double kDbPerNeper = 20 / std::numbers::ln10;

} // namespace

LossyLine::LossyLine(Cable cable)
    : m_cable(std::move(cable))
{
}

std::complex<double> LossyLine::propagation(double frequencyMhz) const
{
    const double alpha = m_cable.loss.dbPer100m(frequencyMhz) / 100 / kDbPerNeper;
    const double beta =
        2 * std::numbers::pi / (freeSpaceWavelength(frequencyMhz) * m_cable.velocityFactor);
    return {alpha, beta};
}

double LossyLine::electricalDegrees(double frequencyMhz, double lengthMetres) const
{
    return propagation(frequencyMhz).imag() * lengthMetres * 180 / std::numbers::pi;
}

std::complex<double> LossyLine::inputImpedance(std::complex<double> load, double frequencyMhz,
                                               double lengthMetres) const
{
    const std::complex<double> gl = propagation(frequencyMhz) * lengthMetres;
    const std::complex<double> c = std::cosh(gl);
    const std::complex<double> s = std::sinh(gl);
    const double z0 = m_cable.z0Ohm;
    return z0 * (load * c + z0 * s) / (z0 * c + load * s);
}

std::complex<double> LossyLine::loadImpedance(std::complex<double> input, double frequencyMhz,
                                              double lengthMetres) const
{
    return inputImpedance(input, frequencyMhz, -lengthMetres);
}

double LossyLine::matchedLossDb(double frequencyMhz, double lengthMetres) const
{
    return m_cable.loss.dbPer100m(frequencyMhz) * lengthMetres / 100;
}

double LossyLine::totalLossDb(std::complex<double> load, double frequencyMhz,
                              double lengthMetres) const
{
    // The line's chain matrix carries the load's voltage and current to the input:
    // V1 = V2 cosh γl + I2 Z0 sinh γl, I1 = V2 sinh γl / Z0 + I2 cosh γl. One ampere into the
    // load takes Re ZL watts (peak values, halved alike on both sides).
    const std::complex<double> gl = propagation(frequencyMhz) * lengthMetres;
    const std::complex<double> c = std::cosh(gl);
    const std::complex<double> s = std::sinh(gl);
    const double z0 = m_cable.z0Ohm;
    const std::complex<double> v1 = load * c + z0 * s;
    const std::complex<double> i1 = load * s / z0 + c;
    const double into = (v1 * std::conj(i1)).real();
    const double out = load.real();
    if (!(out > 0)) {
        return std::numeric_limits<double>::infinity();
    }
    return 10 * std::log10(into / out);
}

} // namespace moxon
