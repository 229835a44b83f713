#pragma once

// The trim's run, shared by the sources that hold its steps: the model, the antenna's scale,
// the field trim's line and its candidates in one; the corrections onto the target in the other.

#include "analysisrounds.h"
#include "trim.h"
#include "trimcheck.h"
#include "trimline.h"
#include "trimlongtails.h"

#include <QList>
#include <QString>

#include <limits>
#include <optional>

namespace moxon::trimming {

inline constexpr int kMostCorrections = 2; // engine runs bringing the dip onto the target
// The refining candidates' spacing along the line, in shares of the dip's move.
inline constexpr double kRefiningSpacing = 0.1;
// Rounds of the gap's samples where the frame lets E change, at the least.
inline constexpr int kGapRounds = 3;

// The field trim's changes of each pair of tails and of E, from `from` to the trimmed antenna,
// to the builder's decimals.
void changesFrom(FieldTrim &trim, const TuneDimensions &from, int decimals);

// "14.1500 MHz", as the trim's sentences give a frequency.
[[nodiscard]] QString megahertz(double mhz);

// One round of corrections: which of the rebuild and the field trim are off the target, and
// which still lack a curve of their own; the dimensions run for those off it.
struct Correction
{
    bool rebuildOff = false;
    bool fieldOff = false;
    bool rebuildWide = false;
    bool fieldWide = false;
    TuneDimensions rebuildDims;
    TuneDimensions fieldReal;
};

// One trim, in the order its rounds run: the built model and the antenna's scale, the field
// trim's line, its candidates and the rebuild at the target, and their corrections. A step
// that returns false ended the analysis, cancelled or failed, as its rounds say.
class TrimRun
{
public:
    TrimRun(const TuneSetup &setup, double measuredDipMhz, double targetMhz,
            const ProbeEngine &engine, const AnalysisProgressFn &progress, TrimOptions asked);

    [[nodiscard]] TrimResult result();

private:
    [[nodiscard]] bool model();
    [[nodiscard]] bool scale();
    void fieldLine();
    [[nodiscard]] bool candidates();
    void fieldCandidates(const QList<ProbeAnswer> &answers);
    [[nodiscard]] bool refined();
    [[nodiscard]] bool gapPlaced();
    [[nodiscard]] bool gapHeld();
    [[nodiscard]] bool gapSearched(int leastRounds, int mostRounds);
    // The moves with E's and the tails' against each other at these, the dip's further move
    // as the corrections left it.
    [[nodiscard]] trimming::TailMoves movedTo(double against, double gap) const
    {
        return {.gap = gap, .against = against, .further = m_moves.further};
    }
    [[nodiscard]] bool settledOnBest(const trimming::PlaneSample &bestSeen);
    [[nodiscard]] std::optional<QList<trimming::PlaneSample>> planeSamples(double againstStep,
                                                                           double gapStep);
    [[nodiscard]] QList<DesignProbe> longTailsProbes();
    [[nodiscard]] bool longTailsChecked();
    [[nodiscard]] bool correct();
    [[nodiscard]] QList<DesignProbe> correctionProbes(Correction &correction);
    [[nodiscard]] bool takeCorrections(const Correction &correction,
                                       const QList<ProbeAnswer> &answers);
    void finishTrims();

    [[nodiscard]] TuneDimensions rebuildDims() const;
    // The rebuild must dip near the target; a field trim that does not is not advised.
    [[nodiscard]] bool rebuildWithoutDip();
    void refuseField();

    const TuneSetup &m_setup;
    const TuneDimensions &m_built;
    double m_f0 = 0; // MHz: the design frequency
    double m_fm = 0; // MHz: the measured dip
    double m_ft = 0; // MHz: the target
    AnalysisRounds m_rounds;
    TrimResult m_result;
    SweepPoint m_atDesign;                // the model's figures run
    QList<SweepPoint> m_wide;             // the model's first runs, across the band
    std::optional<ImpedanceCurve> m_base; // the model's first fit
    double m_firstDip = 0;                // MHz: on it
    double m_firstScale = 1;              // the antenna's scale as that dip gives it
    double m_modelDip = 0;                // MHz: on the model's corrected curve
    double m_drivenSlope = 0;             // MHz per display unit of the driven element's tails
    double m_reflectorSlope = 0;          // MHz per display unit of the reflector's tails
    std::optional<trimming::TailLine> m_line;
    std::optional<trimming::TargetCheck> m_check;
    bool m_field = false; // whether a field trim is still sought
    QList<double> m_shares;
    double m_rebuildFactor = 1; // every dimension of the rebuild times it
    std::optional<Checked> m_rebuild;
    std::optional<Checked> m_best; // the field trim
    double m_factor = 1;           // the field trim's tails times the line's
    double m_bestShare = 0.5;
    bool m_gapAsked = false; // whether the frame lets E, and so the gap, change too
    double m_gapSlope = 0;   // MHz per display unit of E, on the model
    // The field trim's moves besides the line: E's and the tails' against each other from the
    // search of E, the dip's further move from the corrections.
    trimming::TailMoves m_moves;
    double m_gapGoal = 0; // dB: the front-to-back the search of E stops at, once reached
    double m_gapBest = -std::numeric_limits<double>::infinity(); // dB: the best E's search saw
    // From a dip alone, where the gap leaves room: the antenna read as long-tailed instead.
    std::optional<trimming::LongTails> m_longTails;
    std::optional<double> m_longTailsFrontToBack; // dB, of the field trim on it
};

} // namespace moxon::trimming
