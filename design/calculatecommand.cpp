#include "calculatecommand.h"

#include <array>

namespace moxon {

namespace {

constexpr std::array kResultBoxes = {Control::txtA, Control::txtB, Control::txtC, Control::txtD,
                                     Control::txtE};
constexpr std::array kUnitLabels = {Control::lblA, Control::lblB, Control::lblC, Control::lblD,
                                    Control::lblE};

QString invalidEntryTitle() { return QStringLiteral("Invalid Entry"); }

} // namespace

CalculateCommand::CalculateCommand(Toolkit &toolkit, const LocaleNumbers &numbers)
    : m_toolkit(toolkit)
    , m_numbers(numbers)
{
}

CalculateOutcome CalculateCommand::reject(const QString &message, Control focus) const
{
    m_toolkit.messageBox(message, invalidEntryTitle(), MessageStyle::Exclamation);
    m_toolkit.setFocus(focus);
    return CalculateOutcome::Rejected;
}

CalculateOutcome CalculateCommand::run(const QString &displayUnits, DesignResult *design) const
{
    const std::optional<double> freq = m_numbers.toDouble(m_toolkit.text(Control::txtFreq));
    if (!freq || !(*freq > 0)) {
        return reject(QStringLiteral("Frequency must be a numeric value greater than 0."),
                      Control::txtFreq);
    }

    QString wireText = m_toolkit.text(Control::txtWD);
    if (wireText.startsWith(QLatin1Char('#'))) {
        wireText.remove(0, 1);
        m_toolkit.setText(Control::txtWD, wireText);
        m_toolkit.selectEntry(Control::cboDiaUnits, kGaugeEntryIndex);
    }

    const std::optional<WireUnit> wireUnit =
        wireUnitFromText(m_toolkit.selectedEntry(Control::cboDiaUnits));
    const std::optional<double> wireSize = m_numbers.toDouble(wireText);
    if (wireUnit == WireUnit::Gauge) {
        if (!wireSize || !isValidGauge(*wireSize)) {
            return reject(
                QStringLiteral("AWG wire size must be an integer value between 0 and 40."),
                Control::txtWD);
        }
    } else if (!wireUnit || !wireSize || !(*wireSize > 0)) {
        // No unit chosen can only happen before start-up has picked one; treat it as a wire
        // size that cannot be read.
        return reject(QStringLiteral("Wire size must be a numeric value greater than 0."),
                      Control::txtWD);
    }

    // An unknown display unit leaves the results alone, as only start-up and the unit
    // options set it and both set a known one.
    const std::optional<DisplayUnit> display = displayUnitFromText(displayUnits);
    const DesignResult result =
        computeDesign(*freq, *wireUnit, *wireSize, display.value_or(DisplayUnit::Inch));

    if (*wireUnit == WireUnit::Gauge) {
        m_toolkit.setText(Control::txtWD, QLatin1Char('#') + wireText);
    }

    if (!result.computable()) {
        return reject(
            QStringLiteral("Frequency and wire size are outside the range that can be computed."),
            Control::txtFreq);
    }

    switch (rangeWarning(result.logRatio)) {
    case RangeWarning::ThinWire:
        m_toolkit.messageBox(
            QStringLiteral("Wire diameter less than 1E-6 wavelengths, results uncertain."),
            QStringLiteral("Warning"), MessageStyle::Information);
        break;
    case RangeWarning::ThickWire:
        m_toolkit.messageBox(
            QStringLiteral("Wire diameter greater than 1E-2 wavelengths, results uncertain."),
            QStringLiteral("Warning"), MessageStyle::Information);
        break;
    case RangeWarning::None:
        break;
    }

    if (design != nullptr) {
        *design = result;
    }
    if (!display) {
        return CalculateOutcome::Shown;
    }
    const int decimals = maskDecimals(*display);
    const Dimensions &shown = result.shown;
    const std::array values = {shown.a, shown.b, shown.c, shown.d, shown.e};
    for (std::size_t i = 0; i < kResultBoxes.size(); ++i) {
        m_toolkit.setText(kResultBoxes[i], m_numbers.toMask(values[i], decimals));
    }
    for (const Control label : kUnitLabels) {
        m_toolkit.setCaption(label, displayUnits);
    }
    return CalculateOutcome::Shown;
}

} // namespace moxon
