#include "moduleloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace moxon {

QFunctionPointer moduleEntry(const QString &name, const char *symbol)
{
    const QString file = QStringLiteral("moxon-%1.so").arg(name);
    const QString installed =
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral(MOXON_MODULES_FROM_BINDIR "/") + file);
    for (const QString &candidate :
         {installed, QStringLiteral(MOXON_MODULES_BUILT "/") + file}) {
        QLibrary module(candidate);
        module.setLoadHints(QLibrary::PreventUnloadHint);
        if (const QFunctionPointer entry = module.resolve(symbol)) {
            return entry;
        }
    }
    return nullptr;
}

} // namespace moxon
