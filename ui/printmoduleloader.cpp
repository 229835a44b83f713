#include "moduleloader.h"
#include "windowprinter.h"

namespace moxon {

namespace {

// What the module's entry returned, as a PrintOutcome: anything else, which no module of this
// build returns, counts as a failed print.
PrintOutcome outcomeOf(int outcome)
{
    if (outcome == int(PrintOutcome::Printed) || outcome == int(PrintOutcome::NoPrinter)) {
        return PrintOutcome(outcome);
    }
    return PrintOutcome::Failed;
}

} // namespace

PrintOutcome printWidgetImage(QWidget &clientArea)
{
    using PrintEntry = int (*)(QWidget *);
    const auto entry = reinterpret_cast<PrintEntry>(
        moduleEntry(QStringLiteral("print"), "moxon_print_on_default_printer"));
    return entry ? outcomeOf(entry(&clientArea)) : PrintOutcome::Failed;
}

PrintOutcome printBuildSheet(const BuildSheet &sheet)
{
    using PrintEntry = int (*)(const BuildSheet *);
    const auto entry = reinterpret_cast<PrintEntry>(
        moduleEntry(QStringLiteral("print"), "moxon_print_build_sheet"));
    return entry ? outcomeOf(entry(&sheet)) : PrintOutcome::Failed;
}

} // namespace moxon
