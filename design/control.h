#pragma once

#include <QString>

namespace moxon {

// The controls of the window that commands read or change, by their names in the window.
enum class Control
{
    frmMoxon, // the window itself
    Frame1,
    Frame2,
    txtFreq,
    txtWD,
    cboDiaUnits,
    txtA,
    txtB,
    txtC,
    txtD,
    txtE,
    lblA,
    lblB,
    lblC,
    lblD,
    lblE,
    optFT,
    optIN,
    optM,
    optMM,
    optEZNEC,
    optNEC,
    optHorz,
    optVert,
    optXaxis,
    optYaxis,
    btnCalculate,
    btnModel,
    btnPrint,
    btnClose,
};

// The control's name as the window knows it, for logs and object names.
[[nodiscard]] QString controlName(Control control);

} // namespace moxon
