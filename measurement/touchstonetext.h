#pragma once

#include "touchstone.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <variant>

// What the reader of a Touchstone file takes from its text: the lines that hold something once
// their comments are off, the fields of a line read as numbers, and the option line. Only the
// reader of touchstone.h uses these, hence a namespace of their own.
namespace moxon::touchstone {

// The option line's fields, with the defaults of a bare "#".
struct Options
{
    FrequencyUnit unit = FrequencyUnit::GHz;
    NetworkParameter parameter = NetworkParameter::S;
    NumberFormat format = NumberFormat::MagnitudeAngle;
    double referenceOhm = 50;
};

// A line with its comment and the blanks around it taken off.
struct Line
{
    int number = 0; // counted from 1
    QByteArray text;
};

struct Text
{
    QList<Line> lines; // those with something left on them
    int lineCount = 0;
};

// Why a file is refused: the line at fault (0 for none) and a clause without the full stop.
struct Fault
{
    int line = 0;
    QString reason;
};

// The lines of `data` that hold something, comments and blanks taken off, numbered as the
// file numbers them; a byte order mark and any line ending are read.
[[nodiscard]] Text contentLines(QByteArray data);

// "1 row", "3 rows".
[[nodiscard]] QString rows(qsizetype count);

// A field as a reason quotes it; bytes of a binary file are not shown.
[[nodiscard]] QString quoted(const QByteArray &field);

// The number in `field`, or why there is none.
[[nodiscard]] std::variant<double, QString> number(const QByteArray &field);

// The fields of an option line ("# MHz S RI R 50"), or why it cannot be read.
[[nodiscard]] std::variant<Options, QString> optionLine(const QByteArray &text);

} // namespace moxon::touchstone
