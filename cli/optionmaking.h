#pragma once

#include "localenumbers.h"

#include <QCommandLineOption>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

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

// A number typed on the command line, where every option's number is read: in the C locale,
// finite, blanks around it allowed and group separators not ("1,000" is refused, never read as
// 1000).
inline std::optional<double> numberArgument(QStringView text)
{
    return LocaleNumbers(QLocale::c()).toDouble(text);
}

// A length or a tolerance: 0 or more.
inline std::optional<double> lengthArgument(QStringView text)
{
    const std::optional<double> value = numberArgument(text);
    return value && *value >= 0 ? value : std::nullopt;
}

// A frequency or a dimension: more than 0.
inline std::optional<double> positiveArgument(QStringView text)
{
    const std::optional<double> value = numberArgument(text);
    return value && *value > 0 ? value : std::nullopt;
}

// --target of the commands that trim a measured antenna: where its dip is wanted.
inline QCommandLineOption targetOption()
{
    return {QStringLiteral("target"),
            QStringLiteral("Where the dip is wanted, in MHz; by default the design frequency."),
            QStringLiteral("MHZ")};
}

// The field trim's third knob, where the frame has one.
inline QCommandLineOption trimGapOption()
{
    return {QStringLiteral("trim-gap"),
            QStringLiteral("The frame lets the tails' corner points move along its spreaders: "
                           "the field trim changes E, and so the gap C, too, which with the "
                           "tails can bring the front-to-back back where the frame's own size "
                           "is off. Not from a dip alone.")};
}

} // namespace moxon
