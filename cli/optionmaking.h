#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

namespace moxon {

// An option of the command line with its help and, where given, its default.
inline QCommandLineOption option(const QStringList &names, const QString &description,
                                 const QString &valueName = {}, const QString &defaultValue = {})
{
    QCommandLineOption result(names, description, valueName);
    if (!defaultValue.isEmpty()) {
        result.setDefaultValue(defaultValue);
    }
    return result;
}

// One of `choices`, compared without regard to letter case.
inline bool isChoice(const QString &value, const QStringList &choices)
{
    return choices.contains(value, Qt::CaseInsensitive);
}

// --target of the commands that trim a measured antenna: where its dip is wanted.
inline QCommandLineOption targetOption()
{
    return {QStringLiteral("target"),
            QStringLiteral("Where the dip is wanted, in MHz; by default the design frequency."),
            QStringLiteral("MHZ")};
}

} // namespace moxon
