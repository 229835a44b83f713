#include "touchstonetext.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace moxon::touchstone {

Text contentLines(QByteArray data)
{
    if (data.startsWith("\xEF\xBB\xBF")) {
        data.remove(0, 3); // a byte order mark some Windows tools put in front
    }
    // Lines end in LF, CR LF or a lone CR.
    data.replace("\r\n", "\n");
    data.replace('\r', '\n');
    Text text;
    const QList<QByteArray> lines = data.split('\n');
    text.lineCount = int(lines.size()) - (data.isEmpty() || data.endsWith('\n') ? 1 : 0);
    for (int i = 0; i < text.lineCount; ++i) {
        QByteArray line = lines.at(i);
        const qsizetype comment = line.indexOf('!');
        if (comment >= 0) {
            line.truncate(comment);
        }
        line = line.trimmed();
        if (!line.isEmpty()) {
            text.lines.append({i + 1, line});
        }
    }
    return text;
}

QString rows(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(count);
}

QString quoted(const QByteArray &field)
{
    const bool printable =
        field.size() <= 24 &&
        std::all_of(field.begin(), field.end(), [](char c) { return c >= ' ' && c < 0x7f; });
    return printable ? u'"' + QString::fromLatin1(field) + u'"' : QStringLiteral("the text");
}

std::variant<double, QString> number(const QByteArray &field)
{
    bool ok = false;
    const double value = field.toDouble(&ok);
    if (!ok) {
        return QStringLiteral("%1 is not a number").arg(quoted(field));
    }
    if (!std::isfinite(value)) {
        return QStringLiteral("%1 is not a finite number").arg(quoted(field));
    }
    return value;
}

namespace {

std::optional<FrequencyUnit> unitNamed(const QByteArray &upper)
{
    struct Named
    {
        const char *name;
        FrequencyUnit unit;
    };
    static constexpr Named units[] = {{"HZ", FrequencyUnit::Hz},
                                      {"KHZ", FrequencyUnit::kHz},
                                      {"MHZ", FrequencyUnit::MHz},
                                      {"GHZ", FrequencyUnit::GHz}};
    for (const Named &named : units) {
        if (upper == named.name) {
            return named.unit;
        }
    }
    return std::nullopt;
}

} // namespace

std::variant<Options, QString> optionLine(const QByteArray &text)
{
    Options options;
    const QList<QByteArray> fields = text.mid(1).simplified().split(' ');
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QByteArray field = fields.at(i).toUpper();
        if (field.isEmpty()) {
            continue; // a bare "#"
        }
        if (const std::optional<FrequencyUnit> unit = unitNamed(field)) {
            options.unit = *unit;
        } else if (field == "S" || field == "Y" || field == "Z") {
            options.parameter = field == "S"   ? NetworkParameter::S
                                : field == "Y" ? NetworkParameter::Y
                                               : NetworkParameter::Z;
        } else if (field == "RI" || field == "MA" || field == "DB") {
            options.format = field == "RI"   ? NumberFormat::RealImaginary
                             : field == "MA" ? NumberFormat::MagnitudeAngle
                                             : NumberFormat::DecibelAngle;
        } else if (field == "R") {
            if (++i == fields.size()) {
                return QStringLiteral("the option line's R gives no reference resistance");
            }
            const std::variant<double, QString> resistance = number(fields.at(i));
            if (!std::holds_alternative<double>(resistance) || std::get<double>(resistance) <= 0) {
                return QStringLiteral(
                           "the reference resistance %1 is not a positive number of ohms")
                    .arg(quoted(fields.at(i)));
            }
            options.referenceOhm = std::get<double>(resistance);
        } else if (field == "H" || field == "G") {
            return QStringLiteral(
                       "%1-parameters describe two-ports, and a one-port file gives S, Y "
                       "or Z")
                .arg(QString::fromLatin1(field));
        } else {
            return QStringLiteral(
                       "%1 is none of the option line's fields (the frequency unit, S, Y "
                       "or Z, DB, MA or RI, and R with a resistance)")
                .arg(quoted(fields.at(i)));
        }
    }
    return options;
}

} // namespace moxon::touchstone
