#include "trimline.h"
#include "trimrun.h"

#include <algorithm>
#include <cmath>

namespace moxon::trimming {

namespace {

// The gap's step for its samples, in wavelengths (about 2 cm on 20 m), the step of the tails'
// move against each other, a share of the target (about a centimetre of each tail on 20 m),
// and how many steps of either the surface through them is trusted to reach.
constexpr double kGapStepWavelengths = 1e-3;
constexpr double kAgainstStepShare = 1e-3;
constexpr double kGapReach = 2.5;
// After kGapRounds, where no sample has come within kGapGoalMarginDb above the front-to-back
// the trim is held to (the rebuild's, or the design's), the search goes on, up to
// kMostGapRounds, while it still leads somewhere: the round's least power behind lies more
// than kSettledSteps of a step from its centre, or its best sample gained more than kGainingDb
// on the best before. A frame far off the model's size wants E moved further than the first
// rounds reach, and a sharp null of the design's lies at the end of a curved valley, which the
// surface of each round follows only a little way; a search that has settled is left where it
// is. The margin covers what the dip's corrections after the search may cost near a null.
constexpr int kMostGapRounds = 8;
constexpr double kGapGoalMarginDb = 3;
constexpr double kSettledSteps = 0.5;
constexpr double kGainingDb = 0.5;
// How far below the best sample seen a round's best may fall before the trim goes back to
// that one, dB.
constexpr double kHeldBestDb = 1;
// Passes of the search after the dip's corrections, and the rounds of each.
constexpr int kMostGapPasses = 2;
constexpr int kMostPassRounds = 3;

} // namespace

// Where the frame lets the gap change too: the front-to-back at the target over the gap and
// the tails against each other (the reflector's moving the dip one way, the driven element's
// taking it back), around the best share, six runs of the figures a round, and the least power
// behind on the quadratic surface through them, where the next round is centred. With two
// knobs besides the dip the field behind can be brought to a null, which the tails alone reach
// only by chance; moving the tails against each other reaches their own errors however near
// the target the antenna dips already. A round that found nothing near the best seen before goes
// back to that.
bool TrimRun::gapPlaced()
{
    if (!m_field || !m_gapAsked) {
        return true;
    }
    m_gapGoal = heldFrontToBack(m_rebuild->figures.frontToBack, m_result.designFrontToBack) +
                kGapGoalMarginDb;
    return gapSearched(kGapRounds, kMostGapRounds);
}

// The search holds the dip only to first order, and the dip's corrections after it move the
// null with the dip: a null deep enough to be worth the search is narrower than that move.
// Where the corrections cost the field trim more than kHeldBestDb of the best the search found,
// short of its goal, the search goes on around the corrected antenna and the dip is corrected
// again; each pass moves the dip less. A pass that ends worse, or without a dip, is undone.
bool TrimRun::gapHeld()
{
    const auto nullLost = [this] {
        return m_field && m_gapAsked && m_best &&
               m_best->figures.frontToBack < std::min(m_gapBest, m_gapGoal) - kHeldBestDb;
    };
    for (int pass = 0; pass < kMostGapPasses && nullLost(); ++pass) {
        const Checked before = *m_best;
        const TailMoves movesBefore = m_moves;
        if (!gapSearched(1, kMostPassRounds)) {
            return false;
        }
        m_best.reset(); // the searched antenna is checked anew, and its dip corrected
        if (!correct()) {
            return false;
        }
        if (!m_best || m_best->figures.frontToBack < before.figures.frontToBack) {
            m_best = before;
            m_moves = movesBefore;
            m_field = true;
            m_result.fieldTrimRefusal.clear();
            break;
        }
    }
    return true;
}

// The search's rounds, at least `leastRounds` and at most `mostRounds` of them; the dip's
// further move stays as the corrections left it.
bool TrimRun::gapSearched(int leastRounds, int mostRounds)
{
    const double g = kGapStepWavelengths * freeSpaceWavelength(m_f0) / m_setup.metresPerUnit;
    const double h = kAgainstStepShare * m_ft;
    std::optional<PlaneSample> bestSeen;
    bool moving = false; // the last round led somewhere
    const auto further = [&](int round) {
        return round < leastRounds ||
               (round < mostRounds && moving && bestSeen->frontToBack < m_gapGoal);
    };
    for (int round = 0; further(round); ++round) {
        const std::optional<QList<PlaneSample>> samples = planeSamples(h, g);
        if (!samples) {
            return false;
        }
        const PlaneSample best =
            *std::max_element(samples->cbegin(), samples->cend(), [](const auto &a, const auto &b) {
                return a.frontToBack < b.frontToBack;
            });
        std::pair<double, double> next =
            leastBehind(*samples, h, g, kGapReach).value_or(std::pair(best.against, best.gap));
        moving = std::fabs(next.first - m_moves.against) > kSettledSteps * h ||
                 std::fabs(next.second - m_moves.gap) > kSettledSteps * g ||
                 (bestSeen && best.frontToBack > bestSeen->frontToBack + kGainingDb);
        if (bestSeen && best.frontToBack < bestSeen->frontToBack - kHeldBestDb) {
            next = {bestSeen->against, bestSeen->gap};
            moving = false;
        }
        if (!bestSeen || best.frontToBack > bestSeen->frontToBack) {
            bestSeen = best;
        }
        const TailMoves moved = movedTo(next.first, next.second);
        if (m_line->keeps(m_line->trimmed(m_bestShare, m_factor, moved))) {
            m_moves = moved;
        }
    }
    if (bestSeen) {
        m_gapBest = std::max(m_gapBest, bestSeen->frontToBack);
    }
    return !bestSeen || settledOnBest(*bestSeen);
}

// The last round's least point was never run: it stands only where it does at least as well as
// the best sample seen, which a surface through samples around a sharp null can miss by far.
bool TrimRun::settledOnBest(const PlaneSample &bestSeen)
{
    if (bestSeen.against == m_moves.against && bestSeen.gap == m_moves.gap) {
        return true;
    }
    const std::optional<QList<ProbeAnswer>> answers =
        m_rounds.run({m_check->figuresProbe(m_line->trimmed(m_bestShare, m_factor, m_moves))});
    if (!answers) {
        return false;
    }
    if (answers->first().figures->frontToBack < bestSeen.frontToBack) {
        m_moves = movedTo(bestSeen.against, bestSeen.gap);
    }
    return true;
}

// The front-to-back at the target around the best move of the tails against each other and of
// the gap so far: there, a step of either either way, and a step of both.
std::optional<QList<PlaneSample>> TrimRun::planeSamples(double againstStep, double gapStep)
{
    const double a = m_moves.against;
    const double e = m_moves.gap;
    QList<PlaneSample> samples{
        {a, e},           {a - againstStep, e}, {a + againstStep, e},
        {a, e - gapStep}, {a, e + gapStep},     {a + againstStep, e + gapStep}};
    QList<DesignProbe> probes;
    for (const PlaneSample &sample : std::as_const(samples)) {
        probes.append(m_check->figuresProbe(
            m_line->trimmed(m_bestShare, m_factor, movedTo(sample.against, sample.gap))));
    }
    const std::optional<QList<ProbeAnswer>> answers = m_rounds.run(probes);
    if (!answers) {
        return std::nullopt;
    }
    for (qsizetype k = 0; k < samples.size(); ++k) {
        samples[k].frontToBack = answers->at(k).figures->frontToBack;
    }
    return samples;
}

} // namespace moxon::trimming
