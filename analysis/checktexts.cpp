#include "checktexts.h"

#include "checkfigureformat.h"
#include "localenumbers.h"

#include <QJsonArray>
#include <QTextStream>

#include <array>
#include <cmath>

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
    case EngineFailure::UnsoundResult:
        return QStringLiteral("unsound_result");
    }
    return {};
}

QByteArray number(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals);
}

QString groundName(GroundKind ground)
{
    switch (ground) {
    case GroundKind::FreeSpace:
        return QStringLiteral("free");
    case GroundKind::Perfect:
        return QStringLiteral("perfect");
    case GroundKind::Real:
        return QStringLiteral("real");
    }
    return {};
}

QString conductorName(ConductorKind conductor)
{
    switch (conductor) {
    case ConductorKind::Perfect:
        return QStringLiteral("perfect");
    case ConductorKind::Copper:
        return QStringLiteral("copper");
    case ConductorKind::Aluminium:
        return QStringLiteral("aluminium");
    case ConductorKind::Other:
        return QStringLiteral("custom");
    }
    return {};
}

// The installation's values for scripts, null where they do not apply.
struct InstallationValues
{
    QJsonValue heightMetres;
    QJsonValue permittivity;
    QJsonValue conductivity;
    QJsonValue metal;
};

InstallationValues installationValues(const Installation &installation)
{
    const bool real = installation.ground.kind == GroundKind::Real;
    return {installation.overGround() ? QJsonValue(installation.heightMetres) : QJsonValue(),
            real ? QJsonValue(installation.ground.permittivity) : QJsonValue(),
            real ? QJsonValue(installation.ground.conductivity) : QJsonValue(),
            installation.conductor.kind == ConductorKind::Perfect
                ? QJsonValue()
                : QJsonValue(installation.conductor.conductivity)};
}

QString csvField(const QJsonValue &value)
{
    return value.isNull() ? QString() : QString::number(value.toDouble(), 'g', 10);
}

// "10 m (0.47 wavelengths) above average ground (eps 13, sigma 0.005 S/m), copper wire".
QString installationLine(const Installation &installation, double f0Mhz)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const Ground &ground = installation.ground;
    QString text;
    if (ground.kind == GroundKind::FreeSpace) {
        text = QStringLiteral("free space");
    } else {
        const QLocale c = QLocale::c();
        const GroundPreset *preset = groundPreset(ground);
        text = QStringLiteral("%1 m (%2 wavelengths) above ")
                   .arg(c.toString(installation.heightMetres, 'g', 6),
                        c.toString(installation.heightMetres / freeSpaceWavelength(f0Mhz), 'f', 2));
        text += ground.kind == GroundKind::Perfect
                    ? QStringLiteral("perfect ground")
                    : QStringLiteral("%1 ground (eps %2, sigma %3 S/m)")
                          .arg(preset ? preset->name.toString() : QStringLiteral("real"),
                               c.toString(ground.permittivity, 'g', 6),
                               c.toString(ground.conductivity, 'g', 6));
    }
    const Conductor &metal = installation.conductor;
    return text + QStringLiteral(", ") +
           (metal.kind == ConductorKind::Other
                ? QStringLiteral("wire of %1 S/m")
                      .arg(QLocale::c().toString(metal.conductivity, 'g', 6))
                : conductorName(metal.kind) + QStringLiteral(" wire"));
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

QString installationHeader(const Installation &installation, const QString &height,
                           double wavelengths)
{
    if (installation.isDefault()) {
        return {};
    }
    const QLocale c = QLocale::c();
    const Ground &ground = installation.ground;
    QStringList parts;
    if (ground.kind == GroundKind::FreeSpace) {
        parts.append(QStringLiteral("自由空间"));
    } else {
        parts.append(QStringLiteral("%1 (%2 λ) 高").arg(height, c.toString(wavelengths, 'f', 2)));
    }
    if (ground.kind == GroundKind::Perfect) {
        parts.append(QStringLiteral("理想地面"));
    } else if (ground.kind == GroundKind::Real) {
        const GroundPreset *preset = groundPreset(ground);
        parts.append(QStringLiteral("%1 εr %2 σ %3")
                         .arg(preset ? preset->caption.toString() : QStringLiteral("实际地面"),
                              c.toString(ground.permittivity, 'g', 6),
                              c.toString(ground.conductivity, 'g', 6)));
    }
    switch (installation.conductor.kind) {
    case ConductorKind::Perfect:
        parts.append(QStringLiteral("理想导线"));
        break;
    case ConductorKind::Copper:
        parts.append(QStringLiteral("铜线"));
        break;
    case ConductorKind::Aluminium:
        parts.append(QStringLiteral("铝线"));
        break;
    case ConductorKind::Other:
        parts.append(QStringLiteral("导线 σ %1 S/m")
                         .arg(c.toString(installation.conductor.conductivity, 'g', 6)));
        break;
    }
    return parts.join(QStringLiteral("，"));
}

QString checkReportText(const CheckReport &report)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const DesignFigures &design = report.figures;
    QString text;
    QTextStream out(&text);
    out << "Design frequency:  " << format.frequency(design.frequencyMhz) << '\n';
    if (!report.installation.isDefault()) {
        out << "Installation:      " << installationLine(report.installation, design.frequencyMhz)
            << '\n';
    }
    out << "Feed point:        " << format.impedance(design.feed) << '\n'
        << "SWR on 50 ohm:     " << format.swr(design.swr) << '\n'
        << "Forward gain:      " << format.gain(design.forwardGain) << " towards "
        << forwardText(design) << '\n';
    if (design.takeoff) {
        out << "Take-off angle:    " << format.angle(*design.takeoff) << '\n';
    }
    out << "Front-to-back:     " << format.frontToBack(design.frontToBack) << '\n'
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
                  QJsonObject{{QStringLiteral("theta_deg"), figures.azimuthTheta},
                              {QStringLiteral("phi_deg"), numbers(figures.azimuth, true)},
                              {QStringLiteral("gain_dbi"), numbers(figures.azimuth, false)}});
    object.insert(QStringLiteral("elevation"),
                  QJsonObject{{QStringLiteral("phi_deg"), figures.elevationPhi},
                              {QStringLiteral("theta_deg"), numbers(figures.elevation, true)},
                              {QStringLiteral("gain_dbi"), numbers(figures.elevation, false)}});
    if (!report.caution.isEmpty()) {
        object.insert(QStringLiteral("caution"), report.caution);
    }
    const Installation &installation = report.installation;
    const InstallationValues values = installationValues(installation);
    object.insert(
        QStringLiteral("installation"),
        QJsonObject{{QStringLiteral("height_m"), values.heightMetres},
                    {QStringLiteral("ground"), groundName(installation.ground.kind)},
                    {QStringLiteral("permittivity"), values.permittivity},
                    {QStringLiteral("conductivity_s_per_m"), values.conductivity},
                    {QStringLiteral("conductor"), conductorName(installation.conductor.kind)},
                    {QStringLiteral("conductor_s_per_m"), values.metal}});
    if (figures.takeoff) {
        object.insert(QStringLiteral("takeoff_deg"), *figures.takeoff);
        object.insert(QStringLiteral("takeoff_gain_dbi"), figures.forwardGain);
    }
    return object;
}

QByteArray checkCsv(const QList<SweepPoint> &sweep, const DesignFigures &figures,
                    const Installation &installation)
{
    QByteArray csv;
    if (!installation.isDefault()) {
        const InstallationValues values = installationValues(installation);
        csv += "height_m,ground,permittivity,conductivity_s_per_m,conductor,conductor_s_per_m,"
               "takeoff_deg\r\n";
        csv += QStringList{csvField(values.heightMetres),
                           groundName(installation.ground.kind),
                           csvField(values.permittivity),
                           csvField(values.conductivity),
                           conductorName(installation.conductor.kind),
                           csvField(values.metal),
                           figures.takeoff ? QString::number(*figures.takeoff, 'f', 1) : QString()}
                   .join(u',')
                   .toLatin1() +
               "\r\n\r\n";
    }
    csv += "MHz,R,X,SWR\r\n";
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

namespace {

QString goalName(TuneGoal goal)
{
    return goal == TuneGoal::Match ? QStringLiteral("match") : QStringLiteral("front-to-back");
}

// C as the model holds it, E less B and D, to the shown decimals.
QJsonObject dimensionsJson(const TuneDimensions &dims, int decimals)
{
    return {{QStringLiteral("a"), dims.a},
            {QStringLiteral("b"), dims.b},
            {QStringLiteral("c"), LocaleNumbers::roundedToMask(dims.c(), decimals)},
            {QStringLiteral("d"), dims.d},
            {QStringLiteral("e"), dims.e}};
}

QJsonObject figuresJson(const DesignFigures &figures)
{
    QJsonObject object{{QStringLiteral("resistance_ohm"), figures.feed.resistance},
                       {QStringLiteral("reactance_ohm"), figures.feed.reactance},
                       {QStringLiteral("swr_50"), figures.swr},
                       {QStringLiteral("forward_gain_dbi"), figures.forwardGain},
                       {QStringLiteral("front_to_back_db"), figures.frontToBack}};
    if (figures.takeoff) {
        object.insert(QStringLiteral("takeoff_deg"), *figures.takeoff);
    }
    return object;
}

} // namespace

QString dimensionChange(double delta, const TuneSetup &setup, const QLocale &locale, bool plain)
{
    // The unit of the change: a hundredth of a metre, a twelfth of a foot, else the unit.
    QString unit = setup.unit;
    double factor = 1;
    int decimals = setup.decimals;
    if (unit == u"m") {
        unit = QStringLiteral("cm");
        factor = 100;
        decimals = 1;
    } else if (unit == u"ft") {
        unit = QStringLiteral("in");
        factor = 12;
        decimals = 2;
    }
    QString text = locale.toString(std::fabs(delta * factor), 'f', decimals);
    const bool shorter = delta < 0 && text != locale.toString(0.0, 'f', decimals);
    text.prepend(shorter ? (plain ? QStringLiteral("-") : QStringLiteral("−"))
                         : QStringLiteral("+"));
    return text + u' ' + unit;
}

QString tuneReportText(const TuneResult &result, const TuneSetup &setup)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const QLocale c = QLocale::c();
    QString text;
    QTextStream out(&text);
    const QString goal = result.goal == TuneGoal::Match
                             ? QStringLiteral("match on 50 ohm (SWR at most 1.10, front-to-back "
                                              "no worse than the formula's)")
                             : QStringLiteral("best front-to-back with SWR at most 1.5");
    out << "Goal:              " << goal << '\n'
        << "Result:            "
        << (result.goalMet ? QStringLiteral("met")
                           : QStringLiteral("not met; the best design found is shown"))
        << "\n\n";
    const auto shown = [&](double value) {
        return c.toString(value, 'f', setup.decimals);
    };
    const std::array<std::pair<char, std::pair<double, double>>, 5> rows = {{
        {'A', {result.formula.a, result.tuned.a}},
        {'B', {result.formula.b, result.tuned.b}},
        {'C', {result.formula.c(), result.tuned.c()}},
        {'D', {result.formula.d, result.tuned.d}},
        {'E', {result.formula.e, result.tuned.e}},
    }};
    out << "    formula     tuned  change  (" << setup.unit << ")\n";
    for (const auto &[letter, values] : rows) {
        out << letter << shown(values.first).rightJustified(10)
            << shown(values.second).rightJustified(10) << "  "
            << dimensionChange(values.second - values.first, setup, c, true) << '\n';
    }
    const auto line = [&](const char *name, const QString &before, const QString &after) {
        out << QString::fromLatin1(name).leftJustified(19) << before.leftJustified(22) << after
            << '\n';
    };
    out << '\n';
    line("", QStringLiteral("before"), QStringLiteral("after"));
    line("Feed point:", format.impedance(result.before.feed), format.impedance(result.after.feed));
    line("SWR on 50 ohm:", format.swr(result.before.swr), format.swr(result.after.swr));
    line("Forward gain:", format.gain(result.before.forwardGain),
         format.gain(result.after.forwardGain));
    line("Front-to-back:", format.frontToBack(result.before.frontToBack),
         format.frontToBack(result.after.frontToBack));
    if (result.before.takeoff && result.after.takeoff) {
        line("Take-off angle:", format.angle(*result.before.takeoff),
             format.angle(*result.after.takeoff));
    }
    out << "\nEngine runs:       " << result.engineRuns << " in "
        << c.toString(result.seconds, 'f', 2) << " s\n";
    out.flush();
    return text;
}

QJsonObject tuneReportToJson(const TuneResult &result, const TuneSetup &setup)
{
    return {{QStringLiteral("goal"), goalName(result.goal)},
            {QStringLiteral("goal_met"), result.goalMet},
            {QStringLiteral("units"), setup.unit},
            {QStringLiteral("formula"), dimensionsJson(result.formula, setup.decimals)},
            {QStringLiteral("tuned"), dimensionsJson(result.tuned, setup.decimals)},
            {QStringLiteral("before"), figuresJson(result.before)},
            {QStringLiteral("after"), figuresJson(result.after)},
            {QStringLiteral("engine_runs"), result.engineRuns},
            {QStringLiteral("seconds"), result.seconds}};
}

} // namespace moxon
