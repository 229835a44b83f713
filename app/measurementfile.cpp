#include "measurementfile.h"

#include "feedline.h"
#include "measureddip.h"
#include "touchstone.h"

#include <QFileInfo>

#include <cmath>
#include <complex>

namespace moxon {

namespace {

bool isFrequency(double mhz)
{
    return std::isfinite(mhz) && mhz > 0;
}

// Where the dip is wanted: the target given, or the design frequency.
std::variant<double, QString> targetOf(const MeasuredAntenna &measured, double designMhz)
{
    const double target = measured.targetMhz == 0 ? designMhz : measured.targetMhz;
    if (!isFrequency(target)) {
        return QStringLiteral("The target must be a frequency above 0 MHz.");
    }
    return target;
}

// Why a file measured at the radio cannot be read as it stands; empty when it can.
QString lineRefusal(const MeasuredAntenna &measured, const std::optional<FeedLine> &line)
{
    if (measured.atRadio && !line) {
        return QStringLiteral("A file measured at the radio needs the feed line it was measured "
                              "through: choose the line in the installation.");
    }
    return {};
}

// `points` with their SWR on the 50-ohm line.
QList<SweepPoint> sweepOf(const QList<TouchstonePoint> &points)
{
    const QList<double> swr = swrOnLine(points);
    QList<SweepPoint> curve;
    curve.reserve(points.size());
    for (qsizetype i = 0; i < points.size(); ++i) {
        const std::complex<double> z = points[i].impedanceOhm;
        curve.append(SweepPoint{points[i].frequencyMhz, {z.real(), z.imag()}, swr[i]});
    }
    return curve;
}

} // namespace

std::variant<Measurement, QString> readMeasurement(const MeasuredAntenna &measured,
                                                   double designMhz,
                                                   const std::optional<FeedLine> &line)
{
    Measurement measurement;
    const std::variant<double, QString> target = targetOf(measured, designMhz);
    if (const auto *reason = std::get_if<QString>(&target)) {
        return *reason;
    }
    measurement.targetMhz = std::get<double>(target);
    if (measured.file.isEmpty()) {
        if (!isFrequency(measured.dipMhz)) {
            return QStringLiteral("The measured dip must be a frequency above 0 MHz.");
        }
        measurement.dipMhz = measured.dipMhz;
        return measurement;
    }
    if (const QString refusal = lineRefusal(measured, line); !refusal.isEmpty()) {
        return refusal;
    }

    const TouchstoneResult read = readTouchstoneFile(measured.file);
    if (const auto *error = std::get_if<TouchstoneError>(&read)) {
        return error->sentence();
    }
    const QList<TouchstonePoint> &asRead = std::get<TouchstoneFile>(read).points;
    measurement.source = QFileInfo(measured.file).fileName();
    // Before the dip is found and before anything else uses the curve.
    const QList<TouchstonePoint> points =
        measured.atRadio ? deembedded(asRead, LossyLine(line->cable), line->lengthMetres) : asRead;
    const std::variant<MeasuredDip, QString> dip = measuredDip(points, measurement.source);
    if (const auto *reason = std::get_if<QString>(&dip)) {
        return *reason;
    }
    measurement.dipMhz = std::get<MeasuredDip>(dip).frequencyMhz;
    measurement.dipSwr = std::get<MeasuredDip>(dip).swr;
    measurement.curve = sweepOf(points);
    if (measured.atRadio) {
        measurement.atRadio = true;
        measurement.rawCurve = sweepOf(asRead);
        const std::variant<MeasuredDip, QString> raw = measuredDip(asRead, measurement.source);
        if (const auto *rawDip = std::get_if<MeasuredDip>(&raw)) {
            measurement.rawDipMhz = rawDip->frequencyMhz;
        }
    }
    return measurement;
}

std::variant<DiagnosedFile, QString> readDiagnosisFile(const MeasuredAntenna &measured,
                                                       double designMhz,
                                                       const std::optional<FeedLine> &line)
{
    DiagnosedFile diagnosed;
    const std::variant<double, QString> target = targetOf(measured, designMhz);
    if (const auto *reason = std::get_if<QString>(&target)) {
        return *reason;
    }
    diagnosed.targetMhz = std::get<double>(target);
    // A dip alone says nothing of which cut is off: the fit needs the impedance curve.
    if (measured.file.isEmpty()) {
        return QStringLiteral("The diagnosis needs a measured impedance curve: open the "
                              "analyser's file.");
    }
    if (const QString refusal = lineRefusal(measured, line); !refusal.isEmpty()) {
        return refusal;
    }
    const TouchstoneResult read = readTouchstoneFile(measured.file);
    if (const auto *error = std::get_if<TouchstoneError>(&read)) {
        return error->sentence();
    }
    // The fit carries the model through the line to the radio rather than turning the
    // readings back, so the file's points are kept as they were read.
    diagnosed.measurement.points = std::get<TouchstoneFile>(read).points;
    diagnosed.measurement.line = measured.atRadio ? line : std::nullopt;
    diagnosed.measurement.trimGap = measured.trimGap;
    return diagnosed;
}

} // namespace moxon
