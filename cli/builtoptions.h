#pragma once

#include "tuner.h"
#include "units.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <optional>

namespace moxon {

// The dimensions an antenna was built to, for the tolerances and the trim: --built A,B,C,D,E
// in the unit of --units, the formula's when it is not given.
class BuiltOptions
{
public:
    explicit BuiltOptions(QCommandLineParser &parser);

    // Five lengths above 0, E being B + C + D to the unit's last shown decimal; empty when
    // they are, or when --built is not given.
    [[nodiscard]] QString check(DisplayUnit units) const;
    // The dimensions given, or none for the formula's. Valid once check() passed.
    [[nodiscard]] std::optional<TuneDimensions> dimensions() const;

private:
    [[nodiscard]] std::optional<QList<double>> values() const;

    const QCommandLineParser &m_parser;
    const QCommandLineOption m_built;
};

} // namespace moxon
