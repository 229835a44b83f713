#include "diagnosisreport.h"

#include "checkfigureformat.h"
#include "frametext.h"
#include "machineformats.h"
#include "reporttexts.h"
#include "windowtexts.h"

#include <QJsonArray>
#include <QLocale>
#include <QTextStream>

#include <cmath>

namespace moxon {

namespace {

QString megahertz(double mhz)
{
    return QLocale::c().toString(mhz, 'f', 4) + QStringLiteral(" MHz");
}

// A number for JSON; null where it is not finite (an uncertainty the fit cannot give).
QJsonValue finite(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue();
}

void insertEstimate(QJsonObject &fit, const QString &name, const std::optional<Estimate> &estimate)
{
    fit.insert(name, estimate ? finite(estimate->value) : QJsonValue());
    fit.insert(name + QStringLiteral("_sigma"), estimate ? finite(estimate->sigma) : QJsonValue());
}

QJsonObject fitJson(const DiagnosisResult &result)
{
    QJsonObject fit;
    insertEstimate(fit, QStringLiteral("scale"), result.scale);
    insertEstimate(fit, QStringLiteral("driver_tail_error"), result.driverTailError);
    insertEstimate(fit, QStringLiteral("reflector_tail_error"), result.reflectorTailError);
    insertEstimate(fit, QStringLiteral("gap_error"), result.gapError);
    insertEstimate(fit, QStringLiteral("line_length_error"), result.lineLengthError);
    return fit;
}

QJsonArray curveJson(const DiagnosisResult &result)
{
    QJsonArray rows;
    for (qsizetype i = 0; i < result.measuredCurve.size(); ++i) {
        const SweepPoint &measured = result.measuredCurve.at(i);
        QJsonObject row{{QStringLiteral("frequency_mhz"), measured.frequencyMhz},
                        {QStringLiteral("measured_r"), measured.feed.resistance},
                        {QStringLiteral("measured_x"), measured.feed.reactance}};
        for (const SweepPoint &fitted : result.fittedCurve) {
            if (fitted.frequencyMhz == measured.frequencyMhz) {
                row.insert(QStringLiteral("fitted_r"), fitted.feed.resistance);
                row.insert(QStringLiteral("fitted_x"), fitted.feed.reactance);
            }
        }
        rows.append(row);
    }
    return rows;
}

// "3.1 cm": a length without its sign, in the unit the builder cuts in.
QString amount(double length, const TuneSetup &setup)
{
    return dimensionChange(std::fabs(length), setup, QLocale::c(), true).mid(1);
}

// "each tail 3.1 cm too long ± 0.1 cm"
QString errorLine(const Estimate &error, const TuneSetup &setup, const char *longer,
                  const char *shorter, const char *what)
{
    QString sigma =
        std::isfinite(error.sigma) ? amount(error.sigma, setup) : QStringLiteral("unknown");
    // An uncertainty below the last shown decimal reads as less than that decimal, not as 0.
    if (std::isfinite(error.sigma) && amount(0, setup) == sigma) {
        double shown = std::pow(10.0, -setup.decimals); // grown to the change's own step
        while (amount(shown, setup) == sigma) {
            shown *= 10;
        }
        sigma = QStringLiteral("<") + amount(shown, setup);
    }
    return QStringLiteral("%1 %2 %3 ± %4")
        .arg(QLatin1StringView(what), amount(error.value, setup),
             QLatin1StringView(error.value >= 0 ? longer : shorter), sigma);
}

void fitLines(QTextStream &out, const DiagnosisResult &result, const TuneSetup &setup)
{
    const QLocale c = QLocale::c();
    const Estimate &scale = result.scale;
    out << "Scale:             " << c.toString(scale.value, 'f', 4) << " ± "
        << c.toString(scale.sigma, 'f', 4) << ": the antenna behaves "
        << c.toString(std::fabs(scale.value - 1) * 100, 'f', 2) << " % "
        << (scale.value >= 1 ? "longer" : "shorter") << " than its model\n"
        << "Driven element:    "
        << errorLine(result.driverTailError, setup, "too long", "too short", "each tail") << '\n'
        << "Reflector:         "
        << errorLine(result.reflectorTailError, setup, "too long", "too short", "each tail")
        << '\n';
    if (result.gapError) {
        out << "Gap C:             "
            << errorLine(*result.gapError, setup, "too wide", "too narrow", "") << '\n';
    }
    if (result.lineLengthError) {
        out << "Feed line:         "
            << errorLine(*result.lineLengthError, setup, "longer than given", "shorter than given",
                         "electrically")
            << '\n';
    }
}

} // namespace

QString notExplainedSentence()
{
    return QStringLiteral("The measurement is not this antenna alone: look for a nearby "
                          "conductor, common-mode current on the feed line, or a wrong feed "
                          "line.");
}

QString dipAloneVerdict()
{
    return QStringLiteral("Too few frequencies within %1 % of the design frequency to diagnose "
                          "(at least %2): the trim from the file's dip alone follows.")
        .arg(kDiagnosisRangeShare * 100)
        .arg(kLeastDiagnosisPoints);
}

QJsonObject diagnosisReportToJson(const DiagnosisResult &result, const TuneSetup &setup)
{
    // From the dip alone nothing was fitted: no residual, noise or verdict on the model.
    const auto fitted = [&result](const QJsonValue &value) {
        return result.dipAlone ? QJsonValue() : value;
    };
    QJsonObject object{
        {QStringLiteral("frequency_mhz"), result.designMhz},
        {QStringLiteral("target_mhz"), result.targetMhz},
        {QStringLiteral("units"), setup.unit},
        {QStringLiteral("built"), dimensionsJson(result.built, setup.decimals)},
        {QStringLiteral("points"), result.points},
        {QStringLiteral("lower_mhz"), result.lowerMhz},
        {QStringLiteral("upper_mhz"), result.upperMhz},
        {QStringLiteral("iterations"), result.iterations},
        {QStringLiteral("fit"), result.explained ? QJsonValue(fitJson(result)) : QJsonValue()},
        {QStringLiteral("residual_ohm"), fitted(result.residualOhm)},
        {QStringLiteral("noise_ohm"), fitted(result.noiseOhm)},
        {QStringLiteral("explained"), fitted(result.explained)},
        {QStringLiteral("dip_alone"), result.dipAlone},
        {QStringLiteral("verdict"), result.dipAlone    ? dipAloneVerdict()
                                    : result.explained ? QStringLiteral("explained")
                                                       : notExplainedSentence()},
        {QStringLiteral("diagnosed"),
         result.explained ? QJsonValue(dimensionsJson(result.diagnosed, 6)) : QJsonValue()},
        {QStringLiteral("curve"), curveJson(result)},
        {QStringLiteral("engine_runs"), result.engineRuns},
        {QStringLiteral("seconds"), result.seconds}};
    const QJsonValue field =
        result.trim && result.trim->ok()
            ? trimReportToJson(*result.trim, setup).value(QStringLiteral("field_trim"))
            : QJsonValue();
    object.insert(QStringLiteral("trim"), field);
    // Added where the tails alone fall short and E was not let move; null otherwise.
    object.insert(QStringLiteral("gap_trim"),
                  result.gapTrim && result.gapTrim->ok()
                      ? trimReportToJson(*result.gapTrim, setup).value(QStringLiteral("field_trim"))
                      : QJsonValue());
    // Added where even the better trim leaves the front-to-back short; null otherwise.
    object.insert(QStringLiteral("new_frame"),
                  result.newFrame ? QJsonValue(wholeAntennaJson(
                                        result.newFrame->fieldTrim->antenna, result.targetMhz,
                                        result.newFrame->installation.feedLine, setup.decimals))
                                  : QJsonValue());
    if (field.isNull() && (result.explained || result.dipAlone)) {
        object.insert(QStringLiteral("trim_refusal"), result.trim && result.trim->ok()
                                                          ? result.trim->fieldTrimRefusal
                                                          : result.trimRefusal);
    }
    return object;
}

QString diagnosisReportText(const DiagnosisResult &result, const TuneSetup &setup,
                            DisplayUnit lengthUnit, const QString &measured)
{
    const QLocale c = QLocale::c();
    QString text;
    QTextStream out(&text);
    out << "Measured:          " << measured << ", " << result.points << " frequencies from "
        << megahertz(result.lowerMhz) << " to " << megahertz(result.upperMhz) << '\n';
    if (result.dipAlone) {
        out << "Verdict:           " << dipAloneVerdict() << "\n\n";
        if (result.trim && result.trim->ok()) {
            out << trimReportText(*result.trim, setup, lengthUnit,
                                  QStringLiteral("the file's dip"));
        }
        out.flush();
        return text;
    }
    out << "Residual:          " << c.toString(result.residualOhm, 'f', 2)
        << " ohm RMS against a noise of " << c.toString(result.noiseOhm, 'f', 2)
        << " ohm per reading, after " << result.iterations << " steps\n";
    if (!result.explained) {
        out << "Verdict:           " << notExplainedSentence() << '\n';
    } else {
        out << "Verdict:           the model of the dimensions as built explains the "
               "measurement with these errors:\n";
        fitLines(out, result, setup);
    }
    out << "Engine runs:       " << result.engineRuns << " in "
        << c.toString(result.seconds, 'f', 2) << " s\n";
    if (!result.explained) {
        out.flush();
        return text;
    }
    out << "\nThe trim of the antenna as diagnosed, each cut a change to it as it is:\n\n";
    if (result.trim && result.trim->ok()) {
        out << trimReportText(*result.trim, setup, lengthUnit,
                              QStringLiteral("the fitted model's"));
    } else {
        out << "None. " << result.trimRefusal << '\n';
    }
    if (result.gapTrim && result.gapTrim->ok() && result.gapTrim->fieldTrim) {
        out << "\nWhere the corners can move along the spreaders (--trim-gap), the trim that "
               "moves E too:\n\n"
            << fieldTrimText(*result.gapTrim, setup, QStringLiteral("Gap trim:"));
    }
    if (result.newFrame) {
        out << '\n' << newFrameLines(result, setup);
    }
    out.flush();
    return text;
}

} // namespace moxon
