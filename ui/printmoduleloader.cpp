#include "windowprinter.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>

namespace moxon {

namespace {

using PrintEntry = int (*)(QWidget *);

// Where the module is: installed beside the program's libraries, or, for a program run from
// the build tree, where the build put it.
QStringList moduleCandidates()
{
    return {QDir(QCoreApplication::applicationDirPath())
                .filePath(QStringLiteral(MOXON_PRINT_MODULE_FROM_BINDIR)),
            QStringLiteral(MOXON_PRINT_MODULE_BUILT)};
}

} // namespace

PrintOutcome printWidgetImage(QWidget &clientArea)
{
    // Stays loaded once loaded: unloading a library that has set up Qt's print plugins would
    // pull code from under them.
    for (const QString &candidate : moduleCandidates()) {
        QLibrary module(candidate);
        module.setLoadHints(QLibrary::PreventUnloadHint);
        if (const auto entry =
                reinterpret_cast<PrintEntry>(module.resolve("moxon_print_on_default_printer"))) {
            const int outcome = entry(&clientArea);
            if (outcome == int(PrintOutcome::Printed) || outcome == int(PrintOutcome::NoPrinter)) {
                return PrintOutcome(outcome);
            }
            return PrintOutcome::Failed;
        }
    }
    return PrintOutcome::Failed;
}

} // namespace moxon
