#pragma once

#include <QList>

#include <complex>

namespace moxon::test {

// A known impedance, standing in for the engine's in the tests of the rational fit and of the
// curves built on it: constant + slope * (f - centreMhz) + sum of residue / (f - pole), ohms.
struct Known
{
    std::complex<double> constant;
    std::complex<double> slope;        // ohms per MHz
    QList<std::complex<double>> poles; // MHz
    QList<std::complex<double>> residues;
    double centreMhz = 100;

    [[nodiscard]] std::complex<double> at(double f) const
    {
        std::complex<double> z = constant + slope * (f - centreMhz);
        for (qsizetype k = 0; k < poles.size(); ++k) {
            z += residues.at(k) / (f - poles.at(k));
        }
        return z;
    }
};

} // namespace moxon::test
