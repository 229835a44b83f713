#pragma once

#include "cutlist.h"
#include "figures.h"
#include "installation.h"
#include "modelinput.h"
#include "tolerance.h"
#include "tuner.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace moxon {

// Where the sheet's dimensions come from.
enum class SheetDimensions
{
    Formula, // the formula's, as the main window shows them
    Tuned,   // a tuning's where the antenna hangs, as the check window shows them
    Given,   // as the builder gave them: an antenna already built, or dimensions of one's own
};

// What a builder takes outside: the cut list of the design the check shows (the tuned one
// once a tuning gave one, else the formula's), the wire it is built of and where it hangs,
// with what the check predicts of it. The window prints it and the command line writes it;
// both draw it in the language in force when it is drawn.
struct BuildSheet
{
    ModelInput model;          // the design's frequency, wire, display unit, polarization, axis
    QString wireText;          // the wire size as the wire box shows it: "#12", "2"
    Installation installation; // where it hangs and what its wire is made of
    TuneDimensions dimensions; // display unit, as shown and as the model holds them
    SheetDimensions origin = SheetDimensions::Formula;
    CutAllowances allowances;     // metres
    CutList cuts;                 // of the dimensions with the allowances
    DesignFigures figures;        // the engine's at the design frequency, where it hangs
    std::optional<double> dipMhz; // where the check's SWR curve is lowest; none beyond it
    // How far each of A to D may be off, where they were computed for these dimensions.
    std::optional<ToleranceResult> tolerances;
};

// What the check window computed of the design it shows, for the sheet it prints.
struct SheetPredictions
{
    DesignFigures figures; // the engine's at the design frequency
    QList<SweepPoint>
        curve; // the SWR curve in increasing frequency: the fit's dense one, or the sweep
    // The tolerances last computed, of the dimensions they name; none when none were.
    std::optional<ToleranceResult> tolerances;
};

// The sheet of `model` built to `dims` (display unit, as the model holds them) in
// `installation`, with `allowances`: the design and its cut list, without predictions.
[[nodiscard]] BuildSheet buildSheet(const ModelInput &model, const QString &wireText,
                                    const Installation &installation, const TuneDimensions &dims,
                                    const CutAllowances &allowances);

// The check's predictions on `sheet`: its figures at the design frequency and the dip of its
// SWR curve (`curve` in increasing frequency, the fit's dense curve or the sweep).
void setPredictions(BuildSheet &sheet, const DesignFigures &figures,
                    const QList<SweepPoint> &curve);
// The same with the tolerances, taken only where they were computed for the sheet's own
// dimensions in its installation: a sheet never shows the tolerances of another design.
void setPredictions(BuildSheet &sheet, const SheetPredictions &predictions);

// The dimensions as built, in metres: C as the model holds it, E less B and D to the shown
// decimals.
[[nodiscard]] BuildDimensions builtMetres(const TuneDimensions &dims, DisplayUnit unit);

// The sheet for people on the command line: the dimensions, the cut list with the allowances
// apart, the tail insulators, the spreader's arms and angles, the predictions and, where they
// were computed, the tolerances; plain ASCII, "." as the decimal point.
[[nodiscard]] QString buildSheetText(const BuildSheet &sheet);

// The sheet for scripts: frequency_mhz, units, design (a to e), dimensions ("formula", "tuned"
// or "given"), wire and wire_unit as the wire box shows them, installation (as the check's),
// wrap_allowance and feed_gap, driver_half and reflector (count, span, cut: as the piece hangs
// between its insulators and cut with the wrap at both ends), tail_spacing, total_wire, spreader
// (arms, arm, angle_across_e_deg, angle_across_a_deg), every length in the unit; the predictions:
// dip_mhz (null when the curve has none), swr_50, forward_gain_dbi, front_to_back_db and, over
// ground, takeoff_deg; tolerances (a to d with tolerance_minus and tolerance_plus in the unit,
// null when the design is past a limit) or null where they were not computed.
[[nodiscard]] QJsonObject buildSheetToJson(const BuildSheet &sheet);

} // namespace moxon
