#include "measurementfile.h"

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

} // namespace

std::variant<Measurement, QString> readMeasurement(const MeasuredAntenna &measured,
                                                   double designMhz)
{
    Measurement measurement;
    measurement.targetMhz = measured.targetMhz == 0 ? designMhz : measured.targetMhz;
    if (!isFrequency(measurement.targetMhz)) {
        return QStringLiteral("The target must be a frequency above 0 MHz.");
    }
    if (measured.file.isEmpty()) {
        if (!isFrequency(measured.dipMhz)) {
            return QStringLiteral("The measured dip must be a frequency above 0 MHz.");
        }
        measurement.dipMhz = measured.dipMhz;
        return measurement;
    }

    const TouchstoneResult read = readTouchstoneFile(measured.file);
    if (const auto *error = std::get_if<TouchstoneError>(&read)) {
        return error->sentence();
    }
    const QList<TouchstonePoint> &points = std::get<TouchstoneFile>(read).points;
    measurement.source = QFileInfo(measured.file).fileName();
    const std::variant<MeasuredDip, QString> dip = measuredDip(points, measurement.source);
    if (const auto *reason = std::get_if<QString>(&dip)) {
        return *reason;
    }
    measurement.dipMhz = std::get<MeasuredDip>(dip).frequencyMhz;
    measurement.dipSwr = std::get<MeasuredDip>(dip).swr;
    const QList<double> swr = swrOnLine(points);
    measurement.curve.reserve(points.size());
    for (qsizetype i = 0; i < points.size(); ++i) {
        const std::complex<double> z = points[i].impedanceOhm;
        measurement.curve.append(SweepPoint{points[i].frequencyMhz, {z.real(), z.imag()}, swr[i]});
    }
    return measurement;
}

} // namespace moxon
