#pragma once

#include "installation.h"
#include "tuner.h"

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

// How much tuning changed a dimension, in a unit a builder cuts by: centimetres for metres,
// inches for feet, the unit itself for inches and millimetres: "−4.1 cm" in `locale`. The
// window's style has the minus sign, the command line's (`plain`) a hyphen.
[[nodiscard]] QString dimensionChange(double delta, const TuneSetup &setup, const QLocale &locale,
                                      bool plain);

} // namespace moxon
