#pragma once

#include "installation.h"
#include "tolerance.h"
#include "tuner.h"
#include "units.h"

#include <QLocale>
#include <QString>

namespace moxon {

// The line above the check's figures that names the design checked, as the user gave it:
// "146 MHz，线材 #12 AWG，水平极化，波束沿 X 轴".
[[nodiscard]] QString checkHeader(const QString &frequencyText, const QString &wireText,
                                  const QString &wireUnitText, bool vertical, bool xAxis);
// Where the antenna hangs and what it is made of, for that line: "10 m (0.47 λ) 高，一般地面
// εr 13 σ 0.005，铜线"; `height` as the user gave it, with its unit, `wavelengths` the same in
// wavelengths; insulated wire adds "PVC 绝缘 0.8 mm (εr 3.5)", `insulationThickness` as the
// user gave it, with its unit. Empty for free space and bare perfect wire.
[[nodiscard]] QString installationHeader(const Installation &installation, const QString &height,
                                         double wavelengths,
                                         const QString &insulationThickness = {});

// What the insulation does to the SWR dip, in the window's language and `locale`:
// "绝缘使驻波最低点降低 2.6 %：14.073 → 13.708 MHz".
[[nodiscard]] QString insulationShiftCaption(double bareDipMhz, double dipMhz,
                                             const QLocale &locale);

// An insulation's thickness in the unit of the wire size, inches for a gauge: "0.8 mm".
[[nodiscard]] QString insulationThicknessText(double metres, WireUnit wireUnit);

// The wire as it is bought, in the window's language: its size as the wire box shows it
// (`wireText`, in `unit`), what it is made of and its insulation: "2 mm 铜线", "#12 AWG 理想导线",
// "2 mm 铜线，PVC 绝缘 0.8 mm (εr 3.5)". Every text
// that names the wire a builder buys takes it from here.
[[nodiscard]] QString wireDescription(const QString &wireText, WireUnit unit,
                                      const Installation &installation);

// How much shorter or longer a cut may be, in the builder's step: "3.9 cm", "≥ 3.9 cm" where
// neither limit ended the search, "—" where the design itself is past a limit.
[[nodiscard]] QString toleranceText(const std::optional<double> &tolerance, ToleranceLimit limit,
                                    const TuneSetup &setup, const QLocale &locale);

// How much tuning changed a dimension, in a unit a builder cuts by: centimetres for metres,
// inches for feet, the unit itself for inches and millimetres: "−4.1 cm" in `locale`. The
// window's style has the minus sign, the command line's (`plain`) a hyphen.
[[nodiscard]] QString dimensionChange(double delta, const TuneSetup &setup, const QLocale &locale,
                                      bool plain);

} // namespace moxon
