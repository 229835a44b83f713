#include "designinput.h"

namespace moxon {

std::variant<DesignInput, InputError> parseDesignInput(FormInputs &form,
                                                       const LocaleNumbers &numbers)
{
    const std::optional<double> freq = numbers.toDouble(form.frequency);
    if (!freq || !(*freq > 0)) {
        return InputError{InputField::Frequency,
                          QStringLiteral("Frequency must be a numeric value greater than 0.")};
    }
    if (form.wireSize.startsWith(u'#')) {
        form.wireSize.remove(0, 1);
        form.wireUnit = WireUnit::Gauge;
    }
    const std::optional<double> size = numbers.toDouble(form.wireSize);
    if (form.wireUnit == WireUnit::Gauge) {
        if (!size || !isValidGauge(*size)) {
            return InputError{
                InputField::WireSize,
                QStringLiteral("AWG wire size must be an integer value between 0 and 40.")};
        }
    } else if (!form.wireUnit || !size || !(*size > 0)) {
        // No unit picked can only happen before start-up has picked one; it reads as a wire
        // size that cannot be read.
        return InputError{InputField::WireSize,
                          QStringLiteral("Wire size must be a numeric value greater than 0.")};
    }
    return DesignInput{*freq, form.frequency, WireSize{*form.wireUnit, *size}};
}

QString shownWireSize(const FormInputs &form)
{
    return form.wireUnit == WireUnit::Gauge ? u'#' + form.wireSize : form.wireSize;
}

} // namespace moxon
