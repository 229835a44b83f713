#include "checkreport.h"

#include "patterncards.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace moxon {

namespace {

// The engine prints frequencies with five significant digits.
constexpr double kPrintedFrequency = 1e-4; // relative
// The engine prints -999.99 dB for a direction where it finds no field at all.
constexpr double kEngineGainFloor = -999; // dBi

// Why a feed point the engine computed belongs to no antenna, or nothing when it may: a model
// beyond the thin-wire model's reach comes back with no or negative resistance.
QString unsoundResult(const FeedPoint &feed, double frequencyMhz)
{
    if (std::isfinite(feed.resistance) && std::isfinite(feed.reactance) && feed.resistance > 0) {
        return {};
    }
    return QStringLiteral("nec2c computed a feed-point resistance of %1 ohm at %2 MHz, which no "
                          "antenna has: the model is beyond what the engine computes soundly.")
        .arg(QLocale::c().toString(feed.resistance, 'g', 4),
             QLocale::c().toString(frequencyMhz, 'g', 10));
}

// The run's output, read; on a failure `message` says what happened.
NecOutput readOutput(const EngineRun &run, EngineFailure &failure, QString &message)
{
    if (run.failure != EngineFailure::None) {
        failure = run.failure;
        message = run.error;
        return {};
    }
    NecOutput output = parseNecOutput(run.output);
    switch (output.fault) {
    case OutputFault::None:
        break;
    case OutputFault::DeckError:
        failure = EngineFailure::DeckError;
        message = QStringLiteral("nec2c did not accept the deck: %1.").arg(output.error);
        break;
    case OutputFault::Unreadable:
    case OutputFault::Truncated:
        failure = EngineFailure::Unreadable;
        message =
            QStringLiteral("nec2c printed an output that cannot be read: %1.").arg(output.error);
        break;
    }
    return output;
}

} // namespace

std::optional<double> heightWavelengths(const CheckRequest &request)
{
    const Installation &installation = request.installation;
    if (!installation.overGround()) {
        return std::nullopt;
    }
    return installation.heightMetres / freeSpaceWavelength(request.frequencyMhz);
}

QList<SweepSlice> checkSlices(const CheckRequest &request, int engines, const QList<int> &points)
{
    const GroundKind ground = request.installation.ground.kind;
    const double figuresRunPoints = ground == GroundKind::Real      ? kRealGroundRunPoints
                                    : ground == GroundKind::Perfect ? kPerfectGroundRunPoints
                                                                    : kFiguresRunPoints;
    return sweepSlices(request.deck, request.frequencyMhz, engines, figuresRunPoints, points);
}

FiguresStep readFiguresRun(const EngineRun &run, const CheckRequest &request)
{
    FiguresStep step;
    const NecOutput output = readOutput(run, step.failure, step.message);
    if (step.failure != EngineFailure::None) {
        return step;
    }
    std::optional<DesignFigures> figures;
    if (output.frequencies.size() == 1) {
        NecFrequencyResult result = output.frequencies.first();
        takeDeckAngles(result, request.deck);
        figures =
            designFigures(result, request.axis, request.frequencyMhz, heightWavelengths(request));
    }
    if (!figures) {
        step.failure = EngineFailure::Unreadable;
        step.message = QStringLiteral("nec2c printed no pattern on the horizon and in the "
                                      "vertical plane of the beam for the design frequency.");
        return step;
    }
    QString unsound = unsoundResult(figures->feed, request.frequencyMhz);
    if (unsound.isEmpty() && !(figures->forwardGain > kEngineGainFloor)) {
        unsound = QStringLiteral("nec2c computed no field in the beam's direction at %1 MHz: the "
                                 "model is beyond what the engine computes soundly.")
                      .arg(QLocale::c().toString(request.frequencyMhz, 'g', 10));
    }
    if (!unsound.isEmpty()) {
        step.failure = EngineFailure::UnsoundResult;
        step.message = unsound;
        return step;
    }
    step.figures = *figures;
    return step;
}

SliceStep readSliceRun(const EngineRun &run, const SweepSlice &slice)
{
    SliceStep step;
    const NecOutput output = readOutput(run, step.failure, step.message);
    if (step.failure != EngineFailure::None) {
        return step;
    }
    const qsizetype count = slice.points.size();
    if (output.frequencies.size() != count) {
        step.failure = EngineFailure::Unreadable;
        step.message = QStringLiteral("nec2c printed %1 of the %2 frequencies of a sweep deck.")
                           .arg(output.frequencies.size())
                           .arg(count);
        return step;
    }
    for (qsizetype i = 0; i < count; ++i) {
        // The frequency as asked for: the engine prints only five digits of it.
        const double frequency = slice.frequenciesMhz.at(i);
        const NecFrequencyResult &result = output.frequencies.at(i);
        if (std::fabs(result.frequency - frequency) > kPrintedFrequency * frequency) {
            step.failure = EngineFailure::Unreadable;
            step.message = QStringLiteral("nec2c printed %1 MHz where the sweep asked for %2 MHz.")
                               .arg(result.frequency)
                               .arg(frequency);
            step.points.clear();
            return step;
        }
        if (const QString unsound = unsoundResult(result.feed, frequency); !unsound.isEmpty()) {
            step.failure = EngineFailure::UnsoundResult;
            step.message = unsound;
            step.points.clear();
            return step;
        }
        step.points.append(sweepPoint(frequency, result.feed));
    }
    return step;
}

void mergeSweep(QList<SweepPoint> &sweep, const QList<SweepPoint> &points)
{
    sweep.append(points);
    std::stable_sort(sweep.begin(), sweep.end(), [](const SweepPoint &a, const SweepPoint &b) {
        return a.frequencyMhz < b.frequencyMhz;
    });
}

} // namespace moxon
