#include "builtoptions.h"

#include "optionmaking.h"

#include <QLocale>

#include <cmath>

namespace moxon {

BuiltOptions::BuiltOptions(QCommandLineParser &parser)
    : m_parser(parser)
    , m_built(QStringList{QStringLiteral("built")},
              QStringLiteral("The dimensions as built, A,B,C,D,E in the unit of --units (E = B "
                             "+ C + D), for example tuned ones; by default the formula's."),
              QStringLiteral("A,B,C,D,E"))
{
    parser.addOption(m_built);
}

std::optional<QList<double>> BuiltOptions::values() const
{
    const QStringList fields = m_parser.value(m_built).split(u',');
    if (fields.size() != 5) {
        return std::nullopt;
    }
    QList<double> values;
    for (const QString &field : fields) {
        const std::optional<double> value = positiveArgument(field);
        if (!value) {
            return std::nullopt;
        }
        values.append(*value);
    }
    return values;
}

QString BuiltOptions::check(DisplayUnit units) const
{
    if (!m_parser.isSet(m_built)) {
        return {};
    }
    const std::optional<QList<double>> given = values();
    if (!given) {
        return QStringLiteral("--built must be five lengths above 0 as A,B,C,D,E, not '%1'")
            .arg(m_parser.value(m_built));
    }
    // Each of them rounded to the shown decimals: their sum may be off by as much again.
    const int decimals = unitInfo(units).decimals;
    const double sum = given->at(1) + given->at(2) + given->at(3);
    if (std::fabs(given->at(4) - sum) > 1.5 * std::pow(10.0, -decimals)) {
        return QStringLiteral("--built: E must be B + C + D, %1, not %2")
            .arg(QLocale::c().toString(sum, 'f', decimals),
                 QLocale::c().toString(given->at(4), 'f', decimals));
    }
    return {};
}

std::optional<TuneDimensions> BuiltOptions::dimensions() const
{
    if (!m_parser.isSet(m_built)) {
        return std::nullopt;
    }
    const std::optional<QList<double>> given = values();
    if (!given) {
        return std::nullopt;
    }
    return TuneDimensions{given->at(0), given->at(1), given->at(3), given->at(4)};
}

} // namespace moxon
