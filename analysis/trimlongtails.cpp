#include "trimlongtails.h"

#include "trim.h"

#include <QLocale>

#include <cmath>

namespace moxon::trimming {

namespace {

// The long-tailed antenna keeps at least this share of the built gap and of each built tail.
constexpr double kNarrowestLongShare = 0.5;

} // namespace

LongTails::LongTails(const TuneDimensions &built, double measuredDipMhz, double modelDipMhz,
                     double drivenSlope, double reflectorSlope)
    : m_built(built)
    , m_measuredDipMhz(measuredDipMhz)
{
    // Both pairs lengthened alike move the dip by the sum of their slopes per unit.
    const double slope = drivenSlope + reflectorSlope;
    m_moves = slope < 0 && std::isfinite(slope);
    m_tails = m_moves ? (measuredDipMhz - modelDipMhz) / slope : 0;
}

TuneDimensions LongTails::after(const TuneDimensions &cut) const
{
    return withTails(cut, m_tails, m_tails);
}

bool LongTails::roomFor(const QList<TuneDimensions> &cuts) const
{
    if (!m_moves) {
        return false;
    }
    // The antenna as it would be now, before any cut, and after each.
    for (const TuneDimensions &cut : QList{m_built} + cuts) {
        const TuneDimensions dims = after(cut);
        if (!(dims.c() >= kNarrowestLongShare * m_built.c() &&
              dims.b >= kNarrowestLongShare * m_built.b &&
              dims.d >= kNarrowestLongShare * m_built.d)) {
            return false;
        }
    }
    return true;
}

QString LongTails::refusal() const
{
    if (!m_moves) {
        return QStringLiteral("The model's dip does not move down as its tails grow, so an "
                              "antenna with long tails cannot be told from it.");
    }
    return QStringLiteral("Tails long enough to dip at %1 MHz would leave the gap C or a tail "
                          "less than half of itself as built: the cut is chosen for an antenna "
                          "that behaves longer all over alone.")
        .arg(QLocale::c().toString(m_measuredDipMhz, 'f', 4));
}

} // namespace moxon::trimming
