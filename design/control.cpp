#include "control.h"

namespace moxon {

QString controlName(Control control)
{
    switch (control) {
    case Control::frmMoxon: return QStringLiteral("frmMoxon");
    case Control::Frame1: return QStringLiteral("Frame1");
    case Control::Frame2: return QStringLiteral("Frame2");
    case Control::txtFreq: return QStringLiteral("txtFreq");
    case Control::txtWD: return QStringLiteral("txtWD");
    case Control::cboDiaUnits: return QStringLiteral("cboDiaUnits");
    case Control::txtA: return QStringLiteral("txtA");
    case Control::txtB: return QStringLiteral("txtB");
    case Control::txtC: return QStringLiteral("txtC");
    case Control::txtD: return QStringLiteral("txtD");
    case Control::txtE: return QStringLiteral("txtE");
    case Control::lblA: return QStringLiteral("lblA");
    case Control::lblB: return QStringLiteral("lblB");
    case Control::lblC: return QStringLiteral("lblC");
    case Control::lblD: return QStringLiteral("lblD");
    case Control::lblE: return QStringLiteral("lblE");
    case Control::optFT: return QStringLiteral("optFT");
    case Control::optIN: return QStringLiteral("optIN");
    case Control::optM: return QStringLiteral("optM");
    case Control::optMM: return QStringLiteral("optMM");
    case Control::optEZNEC: return QStringLiteral("optEZNEC");
    case Control::optNEC: return QStringLiteral("optNEC");
    case Control::optHorz: return QStringLiteral("optHorz");
    case Control::optVert: return QStringLiteral("optVert");
    case Control::optXaxis: return QStringLiteral("optXaxis");
    case Control::optYaxis: return QStringLiteral("optYaxis");
    case Control::btnCalculate: return QStringLiteral("btnCalculate");
    case Control::btnModel: return QStringLiteral("btnModel");
    case Control::btnPrint: return QStringLiteral("btnPrint");
    case Control::btnClose: return QStringLiteral("btnClose");
    }
    return {};
}

} // namespace moxon
