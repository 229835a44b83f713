#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace moxon {

// A cable's matched loss at one frequency, as its maker's data sheet gives it.
struct LossPoint
{
    double frequencyMhz = 0;
    double dbPer100m = 0; // matched loss, dB per 100 m
};

// A data sheet's point given per 100 feet, as American makers give them, per 100 metres.
[[nodiscard]] constexpr LossPoint perHundredFeet(double frequencyMhz, double dbPer100ft)
{
    return {frequencyMhz, dbPer100ft / 0.3048};
}

// The matched loss of a coaxial cable over frequency: the conductors' loss grows with the
// square root of the frequency (skin effect), the dielectric's with the frequency itself, so
// that loss = k1·√f + k2·f (the form Times Microwave publishes for its cables).
struct CableLoss
{
    double rootCoefficient = 0;   // k1, dB per 100 m per √MHz
    double linearCoefficient = 0; // k2, dB per 100 m per MHz

    [[nodiscard]] double dbPer100m(double frequencyMhz) const;
    [[nodiscard]] bool operator==(const CableLoss &) const = default;
};

// The least-squares fit of k1·√f + k2·f through `points`, each weighed by its own loss (the
// relative error is minimised): a data sheet spans a decade of loss from HF to UHF, and an
// absolute fit would follow the UHF points and miss the HF ones this program works at. Two
// coefficients solve in closed form, from the 2×2 normal equations. Neither coefficient is
// negative: where the two-term fit would make one so, the better of the one-term fits is
// taken. A single point gives conductor loss alone (k2 = 0), which dominates coaxial cable
// below VHF. Empty `points`, or any that is not positive, give no loss.
[[nodiscard]] CableLoss fitCableLoss(std::span<const LossPoint> points);

// A coaxial cable as the line model needs it.
struct Cable
{
    QString name;              // a preset's name, "RG-58", or kCustomCable for the user's own
    double z0Ohm = 50;         // characteristic impedance, real as makers state it
    double velocityFactor = 1; // of the speed of light
    CableLoss loss;            // matched

    [[nodiscard]] bool operator==(const Cable &) const = default;
};

// The name of a cable of the user's own, on the command line and in the JSON.
inline constexpr QStringView kCustomCable = u"custom";

// The table of common coaxial cables: each from its maker's published data sheet.
struct CablePreset
{
    QStringView name;                // for the command line and the JSON: "RG-58"
    const char *maker = nullptr;     // the cable the data are of: "Belden 8259"
    double z0Ohm = 50;               // ohms
    double velocityFactor = 1;       // of the speed of light
    std::span<const LossPoint> loss; // the data sheet's matched loss, per 100 m
};
[[nodiscard]] std::span<const CablePreset> cablePresets();
// The cable of `preset`, its loss fitted to the data sheet's points.
[[nodiscard]] Cable cableOf(const CablePreset &preset);
// The preset named `name`, compared without regard to letter case.
[[nodiscard]] const CablePreset *cablePreset(QStringView name);

// A line of the user's own: `z0Ohm` ohms, `velocityFactor`, `dbPer100m` matched loss at
// `frequencyMhz`. One point gives the conductor loss alone, growing with √f.
[[nodiscard]] Cable customCable(double z0Ohm, double velocityFactor, double dbPer100m,
                                double frequencyMhz);

// The feed line between the antenna and the radio.
struct FeedLine
{
    Cable cable;
    double lengthMetres = 0;

    [[nodiscard]] bool operator==(const FeedLine &) const = default;
};

// The command line's --feedline: a preset's name, or "Z0,VF,DB,MHZ", a line of one's own of
// Z0 ohms and velocity factor VF losing DB dB per 100 m matched at MHZ. Numbers in the C
// locale; nothing for a text that is neither, an impedance or frequency not above 0, a
// velocity factor not in (0, 1] or a negative loss.
[[nodiscard]] std::optional<Cable> cableFromText(QStringView text);
// The presets' names, in the table's order.
[[nodiscard]] QStringList cableNames();
// The names in a sentence, for messages that list the choices: "RG-58, ... or Z0,VF,DB,MHZ".
[[nodiscard]] QString cableChoices();

} // namespace moxon
