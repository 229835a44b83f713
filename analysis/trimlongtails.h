#pragma once

#include "tuner.h"

#include <QList>
#include <QString>

namespace moxon::trimming {

// The long-tailed reading of a dip alone: the antenna as built, but with both pairs of tails
// long (or short) alike by as much as puts its dip where it was measured. An antenna that
// behaves longer than its model all over dips at the same frequency, and a dip cannot tell the
// two apart, so a cut advised from a dip alone is tried on both. The tails' length comes from
// the model's slopes to first order: within a few centimetres of the built tails the dip moves
// in proportion to them.
class LongTails
{
public:
    // `measuredDipMhz` and `modelDipMhz`: where the antenna and the model of `built` dip; the
    // slopes: MHz per display unit of each pair of tails.
    LongTails(const TuneDimensions &built, double measuredDipMhz, double modelDipMhz,
              double drivenSlope, double reflectorSlope);

    // Display unit, each tail of both pairs; positive: longer than built.
    [[nodiscard]] double tails() const { return m_tails; }
    // The long-tailed antenna with the same changes of the tails as `cut` makes to the built one.
    [[nodiscard]] TuneDimensions after(const TuneDimensions &cut) const;
    // Whether the long-tailed antenna, as it is and after each of `cuts`, has a gap and tails of
    // at least half of the built ones: past that the antenna is no longer the Moxon the model was
    // made for, and the first-order length no longer holds.
    [[nodiscard]] bool roomFor(const QList<TuneDimensions> &cuts) const;
    // Why the long-tailed antenna is not tried: the sentence for the report.
    [[nodiscard]] QString refusal() const;

private:
    TuneDimensions m_built;
    double m_measuredDipMhz = 0;
    bool m_moves = false; // whether the tails move the dip at all
    double m_tails = 0;
};

} // namespace moxon::trimming
