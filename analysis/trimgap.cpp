#include "trimline.h"
#include "trimrun.h"

#include <algorithm>
#include <cmath>

namespace moxon::trimming {

namespace {

// The gap's step for its samples, in wavelengths (about 2 cm on 20 m), and how many steps of
// either the surface through them is trusted to reach.
constexpr double kGapStepWavelengths = 1e-3;
constexpr double kGapReach = 2.5;
// After kGapRounds, where a round's least power behind still lies on the edge of its reach
// and no sample has come within kGapGoalMarginDb above the front-to-back the trim is held to
// (the rebuild's, or the design's), the search goes on, up to kMostGapRounds: a frame far off
// the model's size wants E moved further than the first rounds reach; one that is not is left
// with E moved no further than they took it. The margin covers what the dip's corrections
// after the search may cost near a null.
constexpr int kMostGapRounds = 6;
constexpr double kGapGoalMarginDb = 3;
constexpr double kOnEdge = 0.999; // of the reach: a least point there lies on its edge
// How far below the best sample seen a round's best may fall before the trim goes back to
// that one, dB.
constexpr double kHeldBestDb = 1;

} // namespace

// Where the frame lets the gap change too: the front-to-back over the line and the gap around
// the best share, six runs of the figures at the target a round, and the least power behind
// on the quadratic surface through them, where the next round is centred. With two knobs
// besides the dip the field behind can be brought to a null, which the tails alone reach only
// by chance. A round that found nothing near the best seen before goes back to that.
bool TrimRun::gapPlaced()
{
    if (!m_field || !m_gapAsked) {
        return true;
    }
    const double g = kGapStepWavelengths * freeSpaceWavelength(m_f0) / m_setup.metresPerUnit;
    const double h = kRefiningSpacing;
    std::optional<PlaneSample> bestSeen;
    bool outward = false; // the last round's least lay on the edge of its reach
    const double goal =
        heldFrontToBack(m_rebuild->figures.frontToBack, m_result.designFrontToBack) +
        kGapGoalMarginDb;
    const auto further = [&](int round) {
        return round < kGapRounds ||
               (round < kMostGapRounds && outward && bestSeen->frontToBack < goal);
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
        const std::optional<std::pair<double, double>> least =
            leastBehind(*samples, h, g, kGapReach);
        std::pair<double, double> next =
            least ? std::pair(m_line->clamped(least->first), least->second)
                  : std::pair(best.share, best.gap);
        outward = least && (std::fabs(least->first - m_bestShare) >= kGapReach * h * kOnEdge ||
                            std::fabs(least->second - m_gapChange) >= kGapReach * g * kOnEdge);
        if (bestSeen && best.frontToBack < bestSeen->frontToBack - kHeldBestDb) {
            next = {bestSeen->share, bestSeen->gap};
            outward = false;
        }
        if (!bestSeen || best.frontToBack > bestSeen->frontToBack) {
            bestSeen = best;
        }
        if (m_line->keeps(m_line->trimmed(next.first, m_factor, next.second))) {
            m_bestShare = next.first;
            m_gapChange = next.second;
        }
    }
    return true;
}

// The front-to-back at the target around the best share and gap so far: there, a step of the
// share either way, a step of the gap either way, and a step of both.
std::optional<QList<PlaneSample>> TrimRun::planeSamples(double shareStep, double gapStep)
{
    const double u = m_bestShare;
    const double e = m_gapChange;
    QList<PlaneSample> samples{{u, e},           {u - shareStep, e}, {u + shareStep, e},
                               {u, e - gapStep}, {u, e + gapStep},   {u + shareStep, e + gapStep}};
    QList<DesignProbe> probes;
    for (const PlaneSample &sample : std::as_const(samples)) {
        probes.append(m_check->figuresProbe(m_line->trimmed(sample.share, m_factor, sample.gap)));
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
