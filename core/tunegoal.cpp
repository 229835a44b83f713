#include "tunegoal.h"

#include <QCoreApplication>
#include <QLocale>

#include <array>

namespace moxon {

namespace {

constexpr std::array kTuneGoals = {
    TuneGoalInfo{TuneGoal::Match, u"match", QT_TRANSLATE_NOOP("TuneGoal", "匹配 50 Ω"),
                 u"the lowest SWR on 50 ohms with a front-to-back no worse than the formula's",
                 u"match on 50 ohm (SWR at most %1, front-to-back no worse than the formula's)",
                 kMatchedSwr, 2},
    TuneGoalInfo{TuneGoal::FrontToBack, u"front-to-back",
                 QT_TRANSLATE_NOOP("TuneGoal", "最大前后比"),
                 u"the best front-to-back with an SWR of at most %1",
                 u"best front-to-back with SWR at most %1", kFrontToBackSwr, 1},
    TuneGoalInfo{TuneGoal::Band, u"band", QT_TRANSLATE_NOOP("TuneGoal", "覆盖波段"),
                 u"the lowest worst SWR over the band (met at %1 or below) with a front-to-back "
                 u"at most 3 dB below the formula's",
                 u"band coverage (worst SWR over the band at most %1, front-to-back at most 3 dB "
                 u"below the formula's)",
                 kBandSwr, 1},
};

QString withLimit(QStringView sentence, const TuneGoalInfo &info)
{
    return sentence.toString().replace(QStringLiteral("%1"),
                                       QLocale::c().toString(info.swrLimit, 'f', info.swrDecimals));
}

} // namespace

std::span<const TuneGoalInfo> tuneGoals()
{
    return kTuneGoals;
}

const TuneGoalInfo &tuneGoalInfo(TuneGoal goal)
{
    for (const TuneGoalInfo &info : kTuneGoals) {
        if (info.goal == goal) {
            return info;
        }
    }
    return kTuneGoals.front();
}

QString tuneGoalCaption(const TuneGoalInfo &info)
{
    return QCoreApplication::translate("TuneGoal", info.caption);
}

std::optional<TuneGoal> tuneGoalFromText(QStringView text)
{
    for (const TuneGoalInfo &info : kTuneGoals) {
        if (text.compare(info.name, Qt::CaseInsensitive) == 0) {
            return info.goal;
        }
    }
    return std::nullopt;
}

QStringList tuneGoalNames()
{
    QStringList names;
    for (const TuneGoalInfo &info : kTuneGoals) {
        names.append(info.name.toString());
    }
    return names;
}

QString tuneGoalChoices()
{
    QStringList names = tuneGoalNames();
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

QString tuneGoalAim(TuneGoal goal)
{
    return withLimit(tuneGoalInfo(goal).aim, tuneGoalInfo(goal));
}

QString tuneGoalSummary(TuneGoal goal)
{
    return withLimit(tuneGoalInfo(goal).summary, tuneGoalInfo(goal));
}

} // namespace moxon
