#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace moxon {

// What tuning aims at: the lowest SWR on 50 ohms at the design frequency with a front-to-back
// at least the formula design's; the best front-to-back there (at the take-off angle over
// ground) with an SWR of at most kFrontToBackSwr; or the lowest worst SWR over a band, with a
// front-to-back at most kBandFrontToBackDrop below the formula design's.
enum class TuneGoal
{
    Match,
    FrontToBack,
    Band,
};

inline constexpr double kMatchedSwr = 1.10;       // the match goal is met at or below it
inline constexpr double kFrontToBackSwr = 1.5;    // the front-to-back goal's largest SWR
inline constexpr double kBandSwr = 2.0;           // the band goal is met with the worst below it
inline constexpr double kBandFrontToBackDrop = 3; // dB the band goal may give up

// A goal as the command line, scripts and the window name it. The sentences are the command
// line's; "%1" in them stands for the goal's SWR limit.
struct TuneGoalInfo
{
    TuneGoal goal = TuneGoal::Match;
    QStringView name;              // for --goal and the JSON's "goal": "front-to-back"
    const char *caption = nullptr; // for the window's list of goals, as translated: "最大前后比"
    QStringView aim;               // what --help says it tunes for
    QStringView summary;           // the report's goal line
    double swrLimit = 0;           // the SWR the goal is met at or below, or the largest it allows
    int swrDecimals = 2;           // of that limit in the sentences: "1.10", "1.5"
};

// Every goal, the default first, in the order of the window's list.
[[nodiscard]] std::span<const TuneGoalInfo> tuneGoals();
[[nodiscard]] const TuneGoalInfo &tuneGoalInfo(TuneGoal goal);
// The window's caption of `info` in the program's language.
[[nodiscard]] QString tuneGoalCaption(const TuneGoalInfo &info);
// A goal by its name, compared without regard to letter case.
[[nodiscard]] std::optional<TuneGoal> tuneGoalFromText(QStringView text);
[[nodiscard]] QStringList tuneGoalNames();
// "match or front-to-back": the names in order, for messages that list the choices.
[[nodiscard]] QString tuneGoalChoices();
// The goal's sentences with its SWR limit in place.
[[nodiscard]] QString tuneGoalAim(TuneGoal goal);
[[nodiscard]] QString tuneGoalSummary(TuneGoal goal);

} // namespace moxon
