#include "modelsource.h"

#include <cmath>
#include <limits>

namespace moxon {

WriteResult WriteResult::failure(QString reason)
{
    WriteResult result;
    result.m_failed = true;
    result.m_error = std::move(reason);
    return result;
}

std::optional<qint16> gaugeFromWireText(QStringView text, const LocaleNumbers &numbers)
{
    if (text.startsWith(u'#')) {
        text = text.mid(1);
    }
    const std::optional<double> value = numbers.toDouble(text);
    if (!value) {
        return std::nullopt;
    }
    // nearbyint follows the default rounding mode, round half to even.
    const double whole = std::nearbyint(*value);
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return static_cast<qint16>(whole);
}

std::optional<float> toSinglePrecision(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > double(std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

QString unreadableWireSize(const QString &wireSize)
{
    return QStringLiteral("The wire size '%1' is not a number the model can hold.").arg(wireSize);
}

QString unknownWireUnit(const QString &wireUnit)
{
    return QStringLiteral("The wire-size unit '%1' is not in, mm or AWG.").arg(wireUnit);
}

QString unknownDisplayUnit(const QString &displayUnits)
{
    return QStringLiteral("The display unit '%1' is not ft, in, m or mm.").arg(displayUnits);
}

} // namespace moxon
