#include "calculation.h"

#include <cmath>

namespace moxon {

namespace {

bool allFinite(const Dimensions &d)
{
    return std::isfinite(d.a) && std::isfinite(d.b) && std::isfinite(d.c) && std::isfinite(d.d)
        && std::isfinite(d.e);
}

} // namespace

bool DesignResult::computable() const
{
    // A ratio of 0 has no logarithm; the log then is -inf and caught here too.
    return std::isfinite(ratio) && ratio > 0 && std::isfinite(logRatio) && allFinite(wavelengths)
        && allFinite(scaled);
}

DesignResult computeDesign(const WireSize &wire, double freqMHz, DisplayUnit unit)
{
    DesignResult result;
    result.ratio = diameterRatio(wire, freqMHz);
    result.logRatio = logRatio(result.ratio);
    result.wavelengths = dimensionsFor(result.logRatio);
    const double scale = unitInfo(unit).wavelength(freqMHz);
    const Dimensions &w = result.wavelengths;
    result.scaled = {w.a * scale, w.b * scale, w.c * scale, w.d * scale, w.e * scale};
    return result;
}

RangeWarning rangeWarning(double logRatio)
{
    if (logRatio < kThinWireLimit) {
        return RangeWarning::ThinWire;
    }
    if (logRatio > kThickWireLimit) {
        return RangeWarning::ThickWire;
    }
    return RangeWarning::None;
}

QString rangeWarningText(RangeWarning warning)
{
    switch (warning) {
    case RangeWarning::ThinWire:
        return QStringLiteral("Wire diameter less than 1E-6 wavelengths, results uncertain.");
    case RangeWarning::ThickWire:
        return QStringLiteral("Wire diameter greater than 1E-2 wavelengths, results uncertain.");
    case RangeWarning::None:
        break;
    }
    return {};
}

Calculation calculate(FormInputs form, DisplayUnit unit, const LocaleNumbers &numbers)
{
    Calculation run;
    auto parsed = parseDesignInput(form, numbers);
    run.form = form;
    if (auto *error = std::get_if<InputError>(&parsed)) {
        run.error = std::move(*error);
        return run;
    }
    run.input = std::get<DesignInput>(std::move(parsed));
    run.result = computeDesign(run.input.wire, run.input.frequencyMHz, unit);
    // The gauge passed its check, so its "#" comes back even when the design cannot be shown.
    run.form.wireSize = shownWireSize(form);
    if (!run.result.computable()) {
        run.error = InputError{
            InputField::Frequency,
            QStringLiteral("Frequency and wire size are outside the range that can be computed.")};
        return run;
    }
    run.warning = rangeWarning(run.result.logRatio);

    const int decimals = unitInfo(unit).decimals;
    const Dimensions &s = run.result.scaled;
    const std::array values = {s.a, s.b, s.c, s.d, s.e};
    std::array<double, 5> shown{};
    run.shown.unit = unit;
    for (std::size_t i = 0; i < values.size(); ++i) {
        run.shown.texts.at(i) = numbers.toMask(values.at(i), decimals);
        shown.at(i) = LocaleNumbers::roundedToMask(values.at(i), decimals);
    }
    run.shown.values = {shown[0], shown[1], shown[2], shown[3], shown[4]};
    return run;
}

} // namespace moxon
