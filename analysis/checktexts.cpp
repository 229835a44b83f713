#include "checktexts.h"

#include "checkfigureformat.h"

#include <QJsonArray>
#include <QTextStream>

namespace moxon {

namespace {

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
    case EngineFailure::Refused:
        return QStringLiteral("model_refused");
    case EngineFailure::DeckError:
        return QStringLiteral("deck_error");
    case EngineFailure::Crashed:
        return QStringLiteral("crashed");
    case EngineFailure::TimedOut:
        return QStringLiteral("timed_out");
    case EngineFailure::Unreadable:
        return QStringLiteral("unreadable_output");
    case EngineFailure::Degenerate:
        return QStringLiteral("unsound_result");
    }
    return {};
}

QByteArray number(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals);
}

QString forwardText(const DesignFigures &figures)
{
    return figures.forwardPhi == 0 ? QStringLiteral("+X") : QStringLiteral("+Y");
}

} // namespace

QString checkHeader(const QString &frequencyText, const QString &wireText,
                    const QString &wireUnitText, bool vertical, bool xAxis)
{
    return QStringLiteral("%1 MHz，线材 %2 %3，%4极化，波束沿 %5 轴")
        .arg(frequencyText.trimmed(), wireText, wireUnitText,
             vertical ? QStringLiteral("垂直") : QStringLiteral("水平"),
             xAxis ? QStringLiteral("X") : QStringLiteral("Y"));
}

QString checkReportText(const CheckReport &report)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const DesignFigures &design = report.figures;
    QString text;
    QTextStream out(&text);
    out << "Design frequency:  " << format.frequency(design.frequencyMhz) << '\n'
        << "Feed point:        " << format.impedance(design.feed) << '\n'
        << "SWR on 50 ohm:     " << format.swr(design.swr) << '\n'
        << "Forward gain:      " << format.gain(design.forwardGain) << " towards "
        << forwardText(design) << '\n'
        << "Front-to-back:     " << format.frontToBack(design.frontToBack) << '\n'
        << "Beamwidth (-3 dB): " << format.beamwidth(design.beamwidth) << '\n'
        << "Bandwidth (SWR 2): " << format.bandwidth(report.bandwidth, design.frequencyMhz) << '\n';
    if (!report.caution.isEmpty()) {
        out << "Caution:           " << report.caution << '\n';
    }
    out << "\n      MHz         R         X     SWR\n";
    const QLocale c = QLocale::c();
    const auto cell = [&c](double value, int decimals, int width) {
        return c.toString(value, 'f', decimals).rightJustified(width);
    };
    for (const SweepPoint &point : report.sweep) {
        out << cell(point.frequencyMhz, 3, 9) << cell(point.feed.resistance, 2, 10)
            << cell(point.feed.reactance, 2, 10) << cell(point.swr, 2, 8) << '\n';
    }
    out.flush();
    return text;
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
    object.insert(QStringLiteral("forward"), forwardText(figures));
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
    if (!report.caution.isEmpty()) {
        object.insert(QStringLiteral("caution"), report.caution);
    }
    return object;
}

QByteArray checkCsv(const QList<SweepPoint> &sweep, const DesignFigures &figures)
{
    QByteArray csv = "MHz,R,X,SWR\r\n";
    for (const SweepPoint &point : sweep) {
        // Impedances with the digits the engine printed.
        csv += number(point.frequencyMhz, 4) + ',' +
               QByteArray::number(point.feed.resistance, 'g', 8) + ',' +
               QByteArray::number(point.feed.reactance, 'g', 8) + ',' + number(point.swr, 4) +
               "\r\n";
    }
    csv += "\r\nplane,angle,dBi\r\n";
    for (const CutPoint &point : figures.azimuth) {
        csv += "azimuth," + number(point.angle, 1) + ',' + number(point.gain, 2) + "\r\n";
    }
    for (const CutPoint &point : figures.elevation) {
        csv += "elevation," + number(point.angle, 1) + ',' + number(point.gain, 2) + "\r\n";
    }
    return csv;
}

} // namespace moxon
