#include "localenumbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace moxon {

namespace {

QLocale withStrictNumbers(QLocale locale)
{
    locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

LocaleNumbers::LocaleNumbers(QLocale locale)
    : m_locale(withStrictNumbers(std::move(locale)))
{
}

std::optional<double> LocaleNumbers::toDouble(QStringView text) const
{
    bool ok = false;
    const double value = m_locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString LocaleNumbers::toMask(double value, int decimals) const
{
    return m_locale.toString(value, 'f', decimals);
}

QString LocaleNumbers::toShort(double value, int decimals) const
{
    QString text = toMask(value, decimals);
    const QString point = m_locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(m_locale.zeroDigit())) {
            text.chop(m_locale.zeroDigit().size());
        }
        if (text.endsWith(point)) {
            text.chop(point.size());
        }
    }
    return text;
}

double LocaleNumbers::roundedToMask(double value, int decimals)
{
    // Every locale rounds alike; only its digits and separators differ. The round trip
    // through decimal text gives exactly the double that reading the shown text back gives.
    std::array<char, 400> text{}; // 309 digits of the largest double, a sign and decimals
    const std::to_chars_result end = std::to_chars(text.data(), text.data() + text.size(),
                                                   value, std::chars_format::fixed, decimals);
    double shown = value;
    if (end.ec == std::errc()) {
        std::from_chars(text.data(), end.ptr, shown);
    }
    return shown;
}

QString LocaleNumbers::toSignificant(double value, int digits)
{
    // The C locale has "." and no group separator; any other locale could bring its own
    // digits or separators into a file that other programs read.
    return QLocale::c().toString(value, 'G', digits);
}

} // namespace moxon
