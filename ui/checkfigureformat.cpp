#include "checkfigureformat.h"

#include <algorithm>
#include <cmath>

namespace moxon {

CheckFigureFormat::CheckFigureFormat(QLocale locale)
    : m_locale(std::move(locale))
{
}

QString CheckFigureFormat::fixed(double value, int decimals) const
{
    return std::isfinite(value) ? m_locale.toString(value, 'f', decimals) : QStringLiteral("∞");
}

QString CheckFigureFormat::frequency(double mhz) const
{
    return m_locale.toString(mhz, 'g', 10) + QStringLiteral(" MHz");
}

QString CheckFigureFormat::impedance(const FeedPoint &feed) const
{
    // U+2212, the minus sign, reads better than a hyphen between two numbers.
    const QString sign = feed.reactance < 0 ? QStringLiteral(" − j") : QStringLiteral(" + j");
    return fixed(feed.resistance, 2) + sign + fixed(std::fabs(feed.reactance), 2) +
           QStringLiteral(" Ω");
}

QString CheckFigureFormat::swr(double swr) const
{
    return fixed(swr, 2);
}

QString CheckFigureFormat::gain(double dbi) const
{
    return fixed(dbi, 2) + QStringLiteral(" dBi");
}

QString CheckFigureFormat::frontToBack(double db) const
{
    return fixed(db, 1) + QStringLiteral(" dB");
}

QString CheckFigureFormat::bandwidth(const Bandwidth &band, double f0Mhz) const
{
    if (!band.exists) {
        return QStringLiteral("无（设计频率上驻波比大于 2）");
    }
    const double width = band.widthMhz();
    // Three significant digits at least, and never fewer than two decimals.
    const int decimals = width > 0 ? std::clamp(2 - int(std::floor(std::log10(width))), 2, 6) : 2;
    const QString atLeast =
        band.reachesLower || band.reachesUpper ? QStringLiteral("≥ ") : QString();
    QString text = atLeast + fixed(width, decimals) + QStringLiteral(" MHz（") + atLeast +
                   fixed(100 * width / f0Mhz, 1) + QStringLiteral(" %）");
    if (band.reachesLower && band.reachesUpper) {
        text += QStringLiteral("\n已达扫频两端");
    } else if (band.reachesLower) {
        text += QStringLiteral("\n已达扫频下端");
    } else if (band.reachesUpper) {
        text += QStringLiteral("\n已达扫频上端");
    }
    return text;
}

QString CheckFigureFormat::beamwidth(const std::optional<double> &degrees) const
{
    return degrees ? fixed(*degrees, 1) + QStringLiteral("°") : QStringLiteral("无 −3 dB 点");
}

} // namespace moxon
