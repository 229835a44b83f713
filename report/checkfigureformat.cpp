#include "checkfigureformat.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace moxon {

CheckFigureFormat::CheckFigureFormat(QLocale locale)
    : CheckFigureFormat(std::move(locale), false)
{
}

CheckFigureFormat::CheckFigureFormat(QLocale locale, bool plain)
    : m_locale(std::move(locale))
    , m_plain(plain)
{
}

CheckFigureFormat CheckFigureFormat::plain()
{
    return CheckFigureFormat(QLocale::c(), true);
}

QString CheckFigureFormat::fixed(double value, int decimals) const
{
    if (!std::isfinite(value) && !m_plain) {
        return QStringLiteral("∞");
    }
    return m_locale.toString(value, 'f', decimals);
}

QString CheckFigureFormat::frequency(double mhz) const
{
    return m_plain ? fixed(mhz, 3) + QStringLiteral(" MHz")
                   : m_locale.toString(mhz, 'g', 10) + QStringLiteral(" MHz");
}

QString CheckFigureFormat::impedance(const FeedPoint &feed) const
{
    // U+2212, the minus sign, reads better than a hyphen between two numbers.
    const bool capacitive = feed.reactance < 0;
    const QString sign = m_plain ? (capacitive ? QStringLiteral(" - j") : QStringLiteral(" + j"))
                                 : (capacitive ? QStringLiteral(" − j") : QStringLiteral(" + j"));
    return fixed(feed.resistance, 2) + sign + fixed(std::fabs(feed.reactance), 2) +
           (m_plain ? QStringLiteral(" ohm") : QStringLiteral(" Ω"));
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
    return fixed(db, m_plain ? 2 : 1) + QStringLiteral(" dB");
}

QString CheckFigureFormat::bandwidth(const Bandwidth &band, double f0Mhz) const
{
    const double width = band.widthMhz();
    if (m_plain) {
        if (!band.exists) {
            return QStringLiteral("none: the SWR at the design frequency is above 2");
        }
        QString text = QStringLiteral("%1 to %2 MHz, %3 MHz (%4 %)")
                           .arg(fixed(band.lowerMhz, 3), fixed(band.upperMhz, 3), fixed(width, 3),
                                fixed(100 * width / f0Mhz, 1));
        if (band.reachesLower && band.reachesUpper) {
            text += QStringLiteral(", to both ends of the sweep");
        } else if (band.reachesLower) {
            text += QStringLiteral(", to the lower end of the sweep");
        } else if (band.reachesUpper) {
            text += QStringLiteral(", to the upper end of the sweep");
        }
        return text;
    }
    if (!band.exists) {
        return QCoreApplication::translate("CheckFigureFormat", "无（设计频率上驻波比大于 2）");
    }
    // Three significant digits at least, and never fewer than two decimals.
    const int decimals = width > 0 ? std::clamp(2 - int(std::floor(std::log10(width))), 2, 6) : 2;
    const QString atLeast =
        band.reachesLower || band.reachesUpper ? QStringLiteral("≥ ") : QString();
    QString text =
        QCoreApplication::translate("CheckFigureFormat", "%1 MHz（%2 %）")
            .arg(atLeast + fixed(width, decimals), atLeast + fixed(100 * width / f0Mhz, 1));
    if (band.reachesLower && band.reachesUpper) {
        text += u'\n' + QCoreApplication::translate("CheckFigureFormat", "已达扫频两端");
    } else if (band.reachesLower) {
        text += u'\n' + QCoreApplication::translate("CheckFigureFormat", "已达扫频下端");
    } else if (band.reachesUpper) {
        text += u'\n' + QCoreApplication::translate("CheckFigureFormat", "已达扫频上端");
    }
    return text;
}

QString CheckFigureFormat::beamwidth(const std::optional<double> &degrees) const
{
    if (!degrees) {
        return m_plain ? QStringLiteral("none: the pattern never falls 3 dB")
                       : QCoreApplication::translate("CheckFigureFormat", "无 −3 dB 点");
    }
    return angle(*degrees);
}

QString CheckFigureFormat::angle(double degrees) const
{
    return fixed(degrees, 1) + (m_plain ? QStringLiteral(" degrees") : QStringLiteral("°"));
}

} // namespace moxon
