#include "eznec_types.h"

#include <QtEndian>

#include <bit>
#include <cstring>

namespace moxon {

namespace {

// A zeroed record that fields are put into at their offsets. Putting a field past the end
// of the record is a programming error and stops a debug build.
class RecordBytes
{
public:
    void putInt16(qsizetype offset, qint16 value)
    {
        put(offset, qToLittleEndian(static_cast<quint16>(value)));
    }

    void putInt32(qsizetype offset, qint32 value)
    {
        put(offset, qToLittleEndian(static_cast<quint32>(value)));
    }

    void putSingle(qsizetype offset, float value)
    {
        put(offset, qToLittleEndian(std::bit_cast<quint32>(value)));
    }

    // A text set by the writer fills its field, padded with blanks.
    void putText(qsizetype offset, qsizetype width, QByteArrayView text)
    {
        Q_ASSERT(offset + width <= m_bytes.size());
        const qsizetype used = qMin(width, text.size());
        std::memcpy(m_bytes.data() + offset, text.data(), size_t(used));
        std::memset(m_bytes.data() + offset + used, ' ', size_t(width - used));
    }

    void putChar(qsizetype offset, char letter) { putText(offset, 1, QByteArrayView(&letter, 1)); }

    [[nodiscard]] QByteArray bytes() const { return m_bytes; }

private:
    template<typename T> void put(qsizetype offset, T littleEndian)
    {
        Q_ASSERT(offset + qsizetype(sizeof(T)) <= m_bytes.size());
        std::memcpy(m_bytes.data() + offset, &littleEndian, sizeof(T));
    }

    QByteArray m_bytes = QByteArray(kEZRecordLength, '\0');
};

constexpr qsizetype kTitleWidth = 30;

} // namespace

QByteArray EZHeaderRecord::toBytes() const
{
    RecordBytes record;
    record.putInt16(0, 6);
    record.putInt16(2, 1);
    record.putChar(4, 'R');
    record.putSingle(5, frequencyMHz);
    record.putChar(9, 'A');
    record.putInt32(10, 0);
    record.putSingle(14, 1.0f);
    record.putText(18, kTitleWidth, "Moxon Rectangle");
    record.putInt16(48, 6);
    record.putInt16(50, 1);
    record.putChar(54, 'F');
    record.putInt16(63, 1304);
    record.putChar(65, unitLetter);
    record.putChar(66, 'F');
    record.putChar(67, 'T');
    record.putSingle(68, 1304.0f);
    record.putChar(80, 'Z');
    record.putSingle(90, 1.0f);
    record.putSingle(102, 1.0f);
    record.putSingle(110, 75.0f);
    record.putInt16(114, 46);
    record.putChar(117, 'Z');
    record.putChar(122, 'A');
    return record.bytes();
}

QByteArray EZWireRecord::toBytes() const
{
    RecordBytes record;
    record.putSingle(16, x1);
    record.putSingle(20, y1);
    record.putSingle(24, z1);
    record.putSingle(28, x2);
    record.putSingle(32, y2);
    record.putSingle(36, z2);
    record.putSingle(40, diameter);
    record.putInt16(44, gauge);
    record.putInt16(46, segments);
    record.putInt16(48, 2);
    record.putSingle(50, 50.0f);
    record.putSingle(54, 1.0f);
    record.putInt32(58, 0);
    record.putChar(62, 'V');
    return record.bytes();
}

QByteArray EZBlankRecord::toBytes() const
{
    return QByteArray(kEZRecordLength, '\0');
}

} // namespace moxon
