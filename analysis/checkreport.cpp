#include "checkreport.h"

#include <QJsonArray>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace moxon {

namespace {

// The engine prints frequencies with five significant digits.
constexpr double kPrintedFrequency = 1e-4; // relative

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

QJsonArray numbers(const QList<CutPoint> &cut, bool angles)
{
    QJsonArray array;
    for (const CutPoint &point : cut) {
        array.append(angles ? point.angle : point.gain);
    }
    return array;
}

QString failureName(EngineFailure failure)
{
    switch (failure) {
    case EngineFailure::None:
        return {};
    case EngineFailure::Missing:
        return QStringLiteral("engine_missing");
    case EngineFailure::NotRun:
        return QStringLiteral("not_run");
    case EngineFailure::DeckError:
        return QStringLiteral("deck_error");
    case EngineFailure::Crashed:
        return QStringLiteral("crashed");
    case EngineFailure::TimedOut:
        return QStringLiteral("timed_out");
    case EngineFailure::Unreadable:
        return QStringLiteral("unreadable_output");
    }
    return {};
}

} // namespace

QList<SweepSlice> checkSlices(const CheckRequest &request, const CheckOptions &options)
{
    const int cores = options.cores > 0 ? options.cores : QThread::idealThreadCount();
    return sweepSlices(request.deck, request.frequencyMhz, cores);
}

DesignStep readDesignRun(const EngineRun &run, const CheckRequest &request)
{
    DesignStep step;
    const NecOutput output = readOutput(run, step.failure, step.message);
    if (step.failure != EngineFailure::None) {
        return step;
    }
    const std::optional<DesignFigures> figures =
        output.frequencies.size() == 1
            ? designFigures(output.frequencies.first(), request.axis, request.frequencyMhz)
            : std::nullopt;
    if (!figures) {
        step.failure = EngineFailure::Unreadable;
        step.message = QStringLiteral("nec2c printed no pattern on the horizon and in the "
                                      "vertical plane of the beam for the design frequency.");
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

CheckReport checkDeck(const CheckRequest &request, const CheckOptions &options)
{
    CheckReport report;
    if (!(request.frequencyMhz > 0) || !std::isfinite(request.frequencyMhz)) {
        report.failure = EngineFailure::NotRun;
        report.message =
            QStringLiteral("nec2c was not run: the design frequency is not a positive number.");
        return report;
    }
    const QList<SweepSlice> slices = checkSlices(request, options);
    Nec2cRunner design(options.engine, options.timeoutMs);
    std::vector<std::unique_ptr<Nec2cRunner>> sweep;
    // The same schedule as in the background: the slices beside the design deck now, the one
    // that follows it once it has finished.
    design.start(request.deck);
    for (const SweepSlice &slice : slices) {
        sweep.push_back(std::make_unique<Nec2cRunner>(options.engine, options.timeoutMs));
        if (!slice.followsDesign) {
            sweep.back()->start(slice.deck);
        }
    }

    design.waitForFinished();
    const DesignStep figures = readDesignRun(design.result(), request);
    if (figures.failure != EngineFailure::None) {
        report.failure = figures.failure;
        report.message = figures.message;
        return report;
    }
    report.figures = figures.figures;
    for (qsizetype i = 0; i < slices.size(); ++i) {
        if (slices.at(i).followsDesign) {
            sweep.at(size_t(i))->start(slices.at(i).deck);
        }
    }
    for (qsizetype i = 0; i < slices.size(); ++i) {
        sweep.at(size_t(i))->waitForFinished();
        const SliceStep step = readSliceRun(sweep.at(size_t(i))->result(), slices.at(i));
        if (step.failure != EngineFailure::None) {
            report.failure = step.failure;
            report.message = step.message;
            return report;
        }
        mergeSweep(report.sweep, step.points);
    }
    report.bandwidth = bandwidth(report.sweep, request.frequencyMhz, report.figures.swr);
    return report;
}

QJsonObject checkReportToJson(const CheckReport &report)
{
    QJsonObject object;
    if (!report.ok()) {
        object.insert(QStringLiteral("error"), failureName(report.failure));
        object.insert(QStringLiteral("message"), report.message);
        return object;
    }
    const DesignFigures &figures = report.figures;
    object.insert(QStringLiteral("frequency_mhz"), figures.frequencyMhz);
    object.insert(QStringLiteral("resistance_ohm"), figures.feed.resistance);
    object.insert(QStringLiteral("reactance_ohm"), figures.feed.reactance);
    object.insert(QStringLiteral("swr_50"), figures.swr);
    object.insert(QStringLiteral("forward"),
                  figures.forwardPhi == 0 ? QStringLiteral("+X") : QStringLiteral("+Y"));
    object.insert(QStringLiteral("forward_gain_dbi"), figures.forwardGain);
    object.insert(QStringLiteral("front_to_back_db"), figures.frontToBack);
    object.insert(QStringLiteral("beamwidth_deg"),
                  figures.beamwidth ? QJsonValue(*figures.beamwidth) : QJsonValue());

    const Bandwidth &band = report.bandwidth;
    object.insert(
        QStringLiteral("bandwidth"),
        band.exists ? QJsonValue(QJsonObject{
                          {QStringLiteral("swr_limit"), kBandwidthSwr},
                          {QStringLiteral("lower_mhz"), band.lowerMhz},
                          {QStringLiteral("upper_mhz"), band.upperMhz},
                          {QStringLiteral("width_mhz"), band.widthMhz()},
                          {QStringLiteral("percent"), 100 * band.widthMhz() / figures.frequencyMhz},
                          {QStringLiteral("reaches_lower_end"), band.reachesLower},
                          {QStringLiteral("reaches_upper_end"), band.reachesUpper},
                      })
                    : QJsonValue());

    QJsonArray rows;
    for (const SweepPoint &point : report.sweep) {
        rows.append(QJsonObject{{QStringLiteral("frequency_mhz"), point.frequencyMhz},
                                {QStringLiteral("resistance_ohm"), point.feed.resistance},
                                {QStringLiteral("reactance_ohm"), point.feed.reactance},
                                {QStringLiteral("swr_50"), point.swr}});
    }
    object.insert(QStringLiteral("sweep_points"), int(report.sweep.size()));
    object.insert(QStringLiteral("sweep"), rows);
    object.insert(QStringLiteral("azimuth"),
                  QJsonObject{{QStringLiteral("theta_deg"), 90},
                              {QStringLiteral("phi_deg"), numbers(figures.azimuth, true)},
                              {QStringLiteral("gain_dbi"), numbers(figures.azimuth, false)}});
    object.insert(QStringLiteral("elevation"),
                  QJsonObject{{QStringLiteral("phi_deg"), figures.elevationPhi},
                              {QStringLiteral("theta_deg"), numbers(figures.elevation, true)},
                              {QStringLiteral("gain_dbi"), numbers(figures.elevation, false)}});
    return object;
}

} // namespace moxon
