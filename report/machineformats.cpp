#include "machineformats.h"

#include "localenumbers.h"
#include "radiojson.h"
#include "reporttexts.h"

#include <QJsonArray>

#include <algorithm>
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

// The installation's values for scripts, null where they do not apply.
struct InstallationValues
{
    QJsonValue heightMetres;
    QJsonValue permittivity;
    QJsonValue conductivity;
    QJsonValue conductor; // S/m, null for perfect wire
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

// The wire's insulation for scripts: kind, permittivity, thickness_m; null for bare wire.
QJsonValue insulationJson(const std::optional<Insulation> &insulation)
{
    if (!insulation) {
        return QJsonValue();
    }
    return QJsonObject{{QStringLiteral("kind"), insulationKindName(insulation->kind)},
                       {QStringLiteral("permittivity"), insulation->permittivity},
                       {QStringLiteral("thickness_m"), insulation->thicknessMetres}};
}

QJsonValue optionalNumber(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

// The check's dips: the model's, and with insulation the bare wire's and the insulation's shift
// of the dip as a share of the bare wire's, null where there is none.
void insertDips(QJsonObject &object, const CheckReport &report)
{
    object.insert(QStringLiteral("dip_mhz"), optionalNumber(report.dipMhz));
    object.insert(QStringLiteral("bare_dip_mhz"), optionalNumber(report.bareDipMhz));
    object.insert(QStringLiteral("insulation_dip_shift_percent"),
                  report.dipMhz && report.bareDipMhz
                      ? QJsonValue(100 * (*report.dipMhz - *report.bareDipMhz) / *report.bareDipMhz)
                      : QJsonValue());
    QJsonArray bareFrequencies;
    for (const double frequency : report.bareEngineFrequencies) {
        bareFrequencies.append(frequency);
    }
    object.insert(QStringLiteral("bare_engine_frequencies"), bareFrequencies);
}

} // namespace

QJsonObject dimensionsJson(const TuneDimensions &dims, int decimals)
{
    return {{QStringLiteral("a"), dims.a},
            {QStringLiteral("b"), dims.b},
            {QStringLiteral("c"), LocaleNumbers::roundedToMask(dims.c(), decimals)},
            {QStringLiteral("d"), dims.d},
            {QStringLiteral("e"), dims.e}};
}

QJsonObject installationJson(const Installation &installation, double designMhz)
{
    const InstallationValues values = installationValues(installation);
    return {{QStringLiteral("height_m"), values.heightMetres},
            {QStringLiteral("ground"), groundKindName(installation.ground.kind)},
            {QStringLiteral("permittivity"), values.permittivity},
            {QStringLiteral("conductivity_s_per_m"), values.conductivity},
            {QStringLiteral("conductor"), conductorKindName(installation.conductor.kind)},
            {QStringLiteral("conductor_s_per_m"), values.conductor},
            {QStringLiteral("insulation"), insulationJson(installation.insulation)},
            {QStringLiteral("feedline"), feedLineJson(installation.feedLine, designMhz)}};
}

// The radio's figures of `figures` through `line`, at their frequency.
void insertRadio(QJsonObject &object, const DesignFigures &figures,
                 const std::optional<FeedLine> &line)
{
    if (line) {
        object.insert(QStringLiteral("at_radio"),
                      radioJson(radioFigures(*line, figures.frequencyMhz, figures.feed), false));
    }
}

QJsonObject figuresJson(const DesignFigures &figures, const std::optional<FeedLine> &line)
{
    QJsonObject object{{QStringLiteral("resistance_ohm"), figures.feed.resistance},
                       {QStringLiteral("reactance_ohm"), figures.feed.reactance},
                       {QStringLiteral("swr_50"), figures.swr},
                       {QStringLiteral("forward_gain_dbi"), figures.forwardGain},
                       {QStringLiteral("front_to_back_db"), figures.frontToBack}};
    if (figures.takeoff) {
        object.insert(QStringLiteral("takeoff_deg"), *figures.takeoff);
    }
    if (figures.band) {
        object.insert(QStringLiteral("band_worst_swr"), figures.band->worst);
        object.insert(QStringLiteral("band_worst_mhz"), figures.band->worstMhz);
        object.insert(QStringLiteral("band_lower_swr"), figures.band->atLower);
        object.insert(QStringLiteral("band_upper_swr"), figures.band->atUpper);
    }
    insertRadio(object, figures, line);
    return object;
}

QJsonObject checkReportToJson(const CheckReport &report)
{
    if (!report.ok()) {
        return failureToJson(engineFailureName(report.failure), report.message);
    }
    QJsonObject object;
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

    object.insert(QStringLiteral("bandwidth"),
                  bandwidthJson(report.bandwidth, figures.frequencyMhz));
    object.insert(QStringLiteral("sweep"), sweepRowsJson(report.sweep));
    object.insert(QStringLiteral("sweep_points"), int(report.sweep.size()));
    QJsonArray engineFrequencies;
    for (const double frequency : report.sweepEngineFrequencies) {
        engineFrequencies.append(frequency);
    }
    object.insert(QStringLiteral("sweep_engine_frequencies"), engineFrequencies);
    object.insert(QStringLiteral("sweep_fit_error_ohm"),
                  report.fitAgreementOhm ? QJsonValue(*report.fitAgreementOhm) : QJsonValue());
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
    object.insert(QStringLiteral("installation"),
                  installationJson(report.installation, figures.frequencyMhz));
    insertDips(object, report);
    if (report.atRadio) {
        object.insert(QStringLiteral("at_radio"), radioJson(*report.atRadio, true));
        object.insert(QStringLiteral("sweep_at_radio"), sweepRowsJson(report.atRadio->sweep));
    }
    if (figures.takeoff) {
        object.insert(QStringLiteral("takeoff_deg"), *figures.takeoff);
        object.insert(QStringLiteral("takeoff_gain_dbi"), figures.forwardGain);
    }
    return object;
}

QString engineFailureName(EngineFailure failure)
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

QJsonObject failureToJson(const QString &error, const QString &message)
{
    return {{QStringLiteral("error"), error}, {QStringLiteral("message"), message}};
}

QJsonObject tuneReportToJson(const TuneResult &result, const TuneSetup &setup,
                             const std::optional<FeedLine> &line)
{
    QJsonObject object{{QStringLiteral("goal"), tuneGoalInfo(result.goal).name.toString()},
                       {QStringLiteral("goal_met"), result.goalMet},
                       {QStringLiteral("units"), setup.unit},
                       {QStringLiteral("formula"), dimensionsJson(result.formula, setup.decimals)},
                       {QStringLiteral("tuned"), dimensionsJson(result.tuned, setup.decimals)},
                       {QStringLiteral("before"), figuresJson(result.before, line)},
                       {QStringLiteral("after"), figuresJson(result.after, line)},
                       {QStringLiteral("engine_runs"), result.engineRuns},
                       {QStringLiteral("seconds"), result.seconds}};
    if (result.goal == TuneGoal::Band && setup.band) {
        object.insert(QStringLiteral("band"),
                      QJsonObject{{QStringLiteral("lower_mhz"), setup.band->lowerMhz},
                                  {QStringLiteral("upper_mhz"), setup.band->upperMhz}});
    }
    return object;
}

QString toleranceLimitName(ToleranceLimit limit)
{
    switch (limit) {
    case ToleranceLimit::Swr:
        return QStringLiteral("swr");
    case ToleranceLimit::FrontToBack:
        return QStringLiteral("front_to_back");
    case ToleranceLimit::SearchEnd:
        return QStringLiteral("search_end");
    case ToleranceLimit::Design:
        return QStringLiteral("design");
    }
    return {};
}

QString analysisFaultName(AnalysisFault fault)
{
    switch (fault) {
    case AnalysisFault::NoDip:
        return QStringLiteral("no_dip");
    case AnalysisFault::DipOutOfReach:
        return QStringLiteral("dip_out_of_reach");
    case AnalysisFault::BadInput:
        return QStringLiteral("bad_input");
    case AnalysisFault::None:
    case AnalysisFault::Engine:
        break;
    }
    return {};
}

QJsonObject toleranceReportToJson(const ToleranceResult &result, const TuneSetup &setup)
{
    QJsonObject dimensions;
    for (const DimensionTolerance &cut : result.cuts) {
        const auto value = [](const std::optional<double> &tolerance) {
            return tolerance ? QJsonValue(*tolerance) : QJsonValue();
        };
        const QString letter = QString(QChar(u'a' + int(cut.dimension)));
        dimensions.insert(
            letter,
            QJsonObject{{QStringLiteral("dip_khz_per_step"), cut.dipKhzPerStep},
                        {QStringLiteral("front_to_back_db_per_step"), cut.frontToBackDbPerStep},
                        {QStringLiteral("tolerance_minus"), value(cut.minus)},
                        {QStringLiteral("tolerance_plus"), value(cut.plus)},
                        {QStringLiteral("limit_minus"), toleranceLimitName(cut.minusLimit)},
                        {QStringLiteral("limit_plus"), toleranceLimitName(cut.plusLimit)}});
    }
    QJsonObject object{
        {QStringLiteral("frequency_mhz"), result.frequencyMhz},
        {QStringLiteral("units"), setup.unit},
        {QStringLiteral("design"), dimensionsJson(result.dimensions, setup.decimals)},
        {QStringLiteral("dip_mhz"), result.dipMhz},
        {QStringLiteral("swr_50"), result.figures.swr},
        {QStringLiteral("front_to_back_db"), result.figures.frontToBack},
        {QStringLiteral("limits"),
         QJsonObject{{QStringLiteral("swr_50"), kToleranceSwr},
                     {QStringLiteral("front_to_back_db"),
                      result.figures.frontToBack - kToleranceFrontToBackDrop}}},
        {QStringLiteral("dimensions"), dimensions},
        {QStringLiteral("step"), result.step},
        {QStringLiteral("step_unit"), result.stepUnit},
        {QStringLiteral("difference_step"), result.differenceStep},
        {QStringLiteral("cut_error"), result.cutError},
        {QStringLiteral("builds"), result.builds},
        {QStringLiteral("yield"), result.yield},
        {QStringLiteral("dip_spread_khz"), result.dipSpreadKhz},
        {QStringLiteral("engine_runs"), result.engineRuns},
        {QStringLiteral("seconds"), result.seconds}};
    if (result.figures.takeoff) {
        object.insert(QStringLiteral("takeoff_deg"), *result.figures.takeoff);
    }
    insertRadio(object, result.figures, result.installation.feedLine);
    return object;
}

namespace {

// The check's 41 sweep frequencies of a predicted curve drawn over +-5 % of `centreMhz`.
QJsonArray sweepJson(const QList<SweepPoint> &curve, double centreMhz)
{
    QList<SweepPoint> points;
    for (int index = 0; index < kSweepPoints && !curve.isEmpty(); ++index) {
        const double mhz = sweepFrequency(centreMhz, index);
        points.append(*std::min_element(
            curve.cbegin(), curve.cend(), [mhz](const SweepPoint &x, const SweepPoint &y) {
                return std::fabs(x.frequencyMhz - mhz) < std::fabs(y.frequencyMhz - mhz);
            }));
    }
    return sweepRowsJson(points);
}

QJsonObject trimmedJson(const TrimmedAntenna &antenna, double targetMhz,
                        const std::optional<FeedLine> &line)
{
    QJsonObject object{{QStringLiteral("predicted_dip_mhz"), antenna.predictedDipMhz},
                       {QStringLiteral("front_to_back_db"), antenna.figures.frontToBack},
                       {QStringLiteral("swr_50"), antenna.figures.swr},
                       {QStringLiteral("sweep"), sweepJson(antenna.curve, targetMhz)}};
    if (antenna.figures.takeoff) {
        object.insert(QStringLiteral("takeoff_deg"), *antenna.figures.takeoff);
    }
    insertRadio(object, antenna.figures, line);
    return object;
}

} // namespace

QJsonObject wholeAntennaJson(const TrimmedAntenna &antenna, double targetMhz,
                             const std::optional<FeedLine> &line, int decimals)
{
    QJsonObject object = trimmedJson(antenna, targetMhz, line);
    const QJsonObject dims = dimensionsJson(antenna.dimensions, decimals);
    for (auto it = dims.begin(); it != dims.end(); ++it) {
        object.insert(it.key(), it.value());
    }
    return object;
}

QJsonObject trimReportToJson(const TrimResult &result, const TuneSetup &setup)
{
    QJsonObject object{
        {QStringLiteral("frequency_mhz"), result.designMhz},
        {QStringLiteral("target_mhz"), result.targetMhz},
        {QStringLiteral("units"), setup.unit},
        {QStringLiteral("built"), dimensionsJson(result.built, setup.decimals)},
        {QStringLiteral("measured_dip_mhz"), result.measuredDipMhz},
        {QStringLiteral("model_dip_mhz"), result.modelDipMhz},
        {QStringLiteral("scale"), result.scale},
        {QStringLiteral("dip_alone"), result.dipAlone},
        {QStringLiteral("model"), figuresJson(result.modelFigures, result.installation.feedLine)},
        {QStringLiteral("engine_runs"), result.engineRuns},
        {QStringLiteral("seconds"), result.seconds}};
    if (result.fieldTrim) {
        const FieldTrim &trim = *result.fieldTrim;
        QJsonObject field =
            trimmedJson(trim.antenna, result.targetMhz, result.installation.feedLine);
        const TuneDimensions &dims = trim.antenna.dimensions;
        field.insert(QStringLiteral("driver_tail_change"), trim.drivenTailChange);
        field.insert(QStringLiteral("reflector_tail_change"), trim.reflectorTailChange);
        field.insert(QStringLiteral("gap_change"), trim.gapChange);
        if (result.dipAlone) {
            field.insert(QStringLiteral("long_tails_front_to_back_db"),
                         trim.longTailsFrontToBack ? QJsonValue(*trim.longTailsFrontToBack)
                                                   : QJsonValue());
        }
        field.insert(QStringLiteral("b"), dims.b);
        field.insert(QStringLiteral("c"), LocaleNumbers::roundedToMask(dims.c(), setup.decimals));
        field.insert(QStringLiteral("d"), dims.d);
        field.insert(QStringLiteral("e"), dims.e);
        object.insert(QStringLiteral("field_trim"), field);
    } else {
        object.insert(QStringLiteral("field_trim"), QJsonValue());
        object.insert(QStringLiteral("field_trim_refusal"), result.fieldTrimRefusal);
    }
    object.insert(QStringLiteral("rebuild"),
                  wholeAntennaJson(result.rebuild, result.targetMhz, result.installation.feedLine,
                                   setup.decimals));
    if (!result.longTailsRefusal.isEmpty()) {
        object.insert(QStringLiteral("long_tails_refusal"), result.longTailsRefusal);
    } else if (result.dipAlone && result.fieldTrim) {
        object.insert(QStringLiteral("long_tails"), result.longTails);
    }
    return object;
}

} // namespace moxon
