#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace moxon {

// The record types of the binary model file: every record is 170 bytes, numbers
// little-endian (int16 two's complement, single IEEE 754), texts one byte a character. Each
// type writes its fields one by one at their fixed offsets into a zeroed record, so the
// bytes never depend on how the compiler lays out a struct. Fields this system never sets
// stay zero; the fixed values are the same in every file.
inline constexpr qsizetype kEZRecordLength = 170;

// Record 1: the file's header.
struct EZHeaderRecord
{
    float frequencyMHz = 0; // the design frequency, in MHz
    char unitLetter = 'I';  // the display unit: F feet, I inches, M metres, L millimetres

    [[nodiscard]] QByteArray toBytes() const;
};

// Records 2 to 7: one wire each, in the order of the wire table.
struct EZWireRecord
{
    // End points, in metres whatever the display unit.
    float x1 = 0;
    float y1 = 0;
    float z1 = 0;
    float x2 = 0;
    float y2 = 0;
    float z2 = 0;
    float diameter = 0; // metres
    qint16 gauge = -1;  // the AWG number, or -1 for a size given as a diameter
    qint16 segments = 0;

    [[nodiscard]] QByteArray toBytes() const;
};

// Records 8 and 9: all zero.
struct EZBlankRecord
{
    [[nodiscard]] QByteArray toBytes() const;
};

} // namespace moxon
