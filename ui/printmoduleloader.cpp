#include "moduleloader.h"
#include "windowprinter.h"

namespace moxon {

PrintOutcome printWidgetImage(QWidget &clientArea)
{
    using PrintEntry = int (*)(QWidget *);
    const auto entry =
        reinterpret_cast<PrintEntry>(moduleEntry(QStringLiteral("print"), "moxon_print_on_default_printer"));
    if (!entry) {
        return PrintOutcome::Failed;
    }
    const int outcome = entry(&clientArea);
    if (outcome == int(PrintOutcome::Printed) || outcome == int(PrintOutcome::NoPrinter)) {
        return PrintOutcome(outcome);
    }
    return PrintOutcome::Failed;
}

} // namespace moxon
