#include "dipalonetext.h"

#include "checkfigureformat.h"

namespace moxon {

QString dipAloneLines(const TrimResult &result)
{
    const CheckFigureFormat format = CheckFigureFormat::plain();
    const std::optional<double> longTails =
        result.fieldTrim ? result.fieldTrim->longTailsFrontToBack : std::nullopt;
    QString text = QStringLiteral("Dip alone:         a dip cannot tell an antenna that behaves "
                                  "longer all over from one whose\n                   tails are "
                                  "long");
    if (longTails) {
        text += QStringLiteral("; this cut holds the front-to-back for both: %1 with\n"
                               "                   long tails.")
                    .arg(format.frontToBack(*longTails));
    } else {
        text += QStringLiteral(". ") + result.longTailsRefusal;
    }
    return text + QStringLiteral("\n                   A file of the whole impedance curve "
                                 "tells the two apart: moxon-cli diagnose.");
}

} // namespace moxon
