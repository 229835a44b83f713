#include "checkcsv.h"

#include "machineformats.h"
#include "radiofigures.h"

#include <QJsonObject>
#include <QStringList>

namespace moxon {

namespace {

QByteArray number(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals);
}

QString csvField(const QJsonValue &value)
{
    return value.isNull() ? QString() : QString::number(value.toDouble(), 'g', 10);
}

// The installation's row under its names, and the empty line that ends it. The insulation's
// columns come after the ground's and the metal's, the feed line's last and only with a line,
// so that a reader of the columns before finds them where they always were.
QByteArray installationRow(const Installation &installation, const DesignFigures &figures)
{
    const QJsonObject values = installationJson(installation, figures.frequencyMhz);
    const std::optional<Insulation> &insulation = installation.insulation;
    QByteArray names = "height_m,ground,permittivity,conductivity_s_per_m,conductor,"
                       "conductor_s_per_m,takeoff_deg,insulation,insulation_permittivity,"
                       "insulation_thickness_m";
    QStringList fields{csvField(values.value(u"height_m")),
                       groundKindName(installation.ground.kind),
                       csvField(values.value(u"permittivity")),
                       csvField(values.value(u"conductivity_s_per_m")),
                       conductorKindName(installation.conductor.kind),
                       csvField(values.value(u"conductor_s_per_m")),
                       figures.takeoff ? QString::number(*figures.takeoff, 'f', 1) : QString(),
                       insulation ? insulationKindName(insulation->kind) : QString(),
                       insulation ? csvField(insulation->permittivity) : QString(),
                       insulation ? csvField(insulation->thicknessMetres) : QString()};
    if (installation.feedLine) {
        // The line as the JSON's feedline tells it, its loss matched at the design frequency;
        // its type is a table cable's name or "custom", neither of which needs quoting.
        const QJsonObject line = values.value(u"feedline").toObject();
        names += ",feedline,feedline_length_m,feedline_z0_ohm,feedline_velocity_factor,"
                 "feedline_loss_db_per_100m";
        fields << line.value(u"type").toString() << csvField(line.value(u"length_m"))
               << csvField(line.value(u"z0_ohm")) << csvField(line.value(u"velocity_factor"))
               << csvField(line.value(u"matched_loss_db_per_100m"));
    }
    return names + "\r\n" + fields.join(u',').toLatin1() + "\r\n\r\n";
}

QByteArray impedanceCells(const SweepPoint &point)
{
    // Impedances with the digits the engine printed.
    return QByteArray::number(point.feed.resistance, 'g', 8) + ',' +
           QByteArray::number(point.feed.reactance, 'g', 8) + ',' + number(point.swr, 4);
}

} // namespace

QByteArray checkCsv(const QList<SweepPoint> &sweep, const DesignFigures &figures,
                    const Installation &installation)
{
    const std::optional<FeedLine> &line = installation.feedLine;
    QByteArray csv;
    if (!installation.isDefault() || line) {
        csv += installationRow(installation, figures);
    }
    csv += line ? "MHz,R,X,SWR,R_radio,X_radio,SWR_radio\r\n" : "MHz,R,X,SWR\r\n";
    const QList<SweepPoint> atRadio = line ? seenThrough(*line, sweep) : QList<SweepPoint>();
    for (qsizetype index = 0; index < sweep.size(); ++index) {
        const SweepPoint &point = sweep.at(index);
        csv += number(point.frequencyMhz, 4) + ',' + impedanceCells(point);
        if (line) {
            csv += ',' + impedanceCells(atRadio.at(index));
        }
        csv += "\r\n";
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
