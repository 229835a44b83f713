#include "touchstonereader.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace moxon::touchstone {

std::optional<Fault> Reader::read(const Text &text)
{
    if (text.lineCount == 0) {
        return Fault{0, QStringLiteral("the file is empty")};
    }
    // A version 2 file opens with [Version]; without it, the file is read as version 1, where
    // no keyword has a place.
    m_version2 = !text.lines.isEmpty() &&
                 text.lines.first().text.simplified().toLower().startsWith("[version]");
    for (const Line &line : text.lines) {
        if (std::optional<Fault> fault = take(line)) {
            return fault;
        }
    }
    return finish(text.lineCount);
}

std::optional<Fault> Reader::take(const Line &line)
{
    if (m_section == Section::Information) {
        if (line.text.simplified().toLower() == "[end information]") {
            m_section = m_beforeInformation;
        }
        return std::nullopt;
    }
    if (m_section == Section::End) {
        return Fault{line.number, QStringLiteral("there is more than comments after [End]")};
    }
    if (m_referenceLine > 0) {
        const int referenceLine = std::exchange(m_referenceLine, 0);
        if (line.text.startsWith('[')) {
            return Fault{referenceLine, QStringLiteral("[Reference] gives no resistance")};
        }
        return referenceValue(line, line.text);
    }
    if (line.text.startsWith('#')) {
        // Each file has one option line: Touchstone 1.1 and 2.0 both have later ones
        // ignored.
        if (m_options) {
            return std::nullopt;
        }
        std::variant<Options, QString> options = optionLine(line.text);
        if (const QString *reason = std::get_if<QString>(&options)) {
            return Fault{line.number, *reason};
        }
        m_options = std::get<Options>(options);
        return std::nullopt;
    }
    if (line.text.startsWith('[')) {
        if (!m_version2) {
            return Fault{line.number,
                         QStringLiteral("a keyword in a file that does not begin with [Version]")};
        }
        return keyword(line);
    }
    return row(line);
}

std::optional<Fault> Reader::keyword(const Line &line)
{
    const qsizetype close = line.text.indexOf(']');
    if (close < 0) {
        return Fault{line.number, QStringLiteral("the keyword has no closing bracket")};
    }
    const QByteArray name = line.text.left(close + 1).simplified();
    const QByteArray key = name.toLower();
    const QByteArray argument = line.text.mid(close + 1).trimmed();
    const auto fault = [&](const QString &reason) {
        return std::optional<Fault>(Fault{line.number, reason});
    };

    if (key == "[version]") {
        if (m_versionRead) {
            return fault(QStringLiteral("a second [Version]"));
        }
        m_versionRead = true;
        if (argument != "2.0" && argument != "2.1") {
            return fault(QStringLiteral("Touchstone version %1 cannot be read (versions 1, 2.0 "
                                        "and 2.1 can)")
                             .arg(quoted(argument)));
        }
        return std::nullopt;
    }
    if (key == "[end information]") {
        return fault(QStringLiteral("[End Information] without [Begin Information]"));
    }
    if (key == "[begin information]") {
        m_beforeInformation = m_section;
        m_section = Section::Information;
        return std::nullopt;
    }
    if (key == "[noise data]" || key == "[end]") {
        if (m_section != Section::NetworkData && m_section != Section::NoiseData) {
            return fault(QStringLiteral("%1 before [Network Data]").arg(QString::fromLatin1(name)));
        }
        if (std::optional<Fault> incomplete = leaveNetworkData(line, name)) {
            return incomplete;
        }
        m_section = key == "[end]" ? Section::End : Section::NoiseData;
        return std::nullopt;
    }

    return headerKeyword(line, name, argument);
}

std::optional<Fault> Reader::headerKeyword(const Line &line, const QByteArray &name,
                                           const QByteArray &argument)
{
    const QByteArray key = name.toLower();
    const auto fault = [&](const QString &reason) {
        return std::optional<Fault>(Fault{line.number, reason});
    };
    const auto count = [&]() -> std::optional<qsizetype> {
        bool ok = false;
        const qsizetype value = argument.toLongLong(&ok);
        return ok && value > 0 ? std::optional(value) : std::nullopt;
    };
    // These describe the network data, and come before it.
    static const QByteArrayList header = {"[number of ports]",
                                          "[two-port data order]",
                                          "[number of frequencies]",
                                          "[number of noise frequencies]",
                                          "[reference]",
                                          "[matrix format]",
                                          "[mixed-mode order]",
                                          "[network data]"};
    if (!header.contains(key)) {
        return fault(QStringLiteral("%1 is not a keyword of a Touchstone file").arg(quoted(name)));
    }
    if (m_section != Section::Header) {
        return fault(QStringLiteral("%1 after the network data").arg(QString::fromLatin1(name)));
    }
    if (key == "[number of ports]") {
        const std::optional<qsizetype> ports = count();
        if (!ports) {
            return fault(QStringLiteral("[Number of Ports] %1 is not a number of ports")
                             .arg(quoted(argument)));
        }
        if (*ports != 1) {
            return fault(QStringLiteral("the file describes %1 ports, and only one-port files (an "
                                        "antenna's S11) can be read")
                             .arg(*ports));
        }
        m_onePort = true;
    } else if (key == "[number of frequencies]") {
        m_frequencies = count();
        if (!m_frequencies) {
            return fault(QStringLiteral("[Number of Frequencies] %1 is not a number of frequencies")
                             .arg(quoted(argument)));
        }
    } else if (key == "[reference]") {
        if (argument.isEmpty()) {
            m_referenceLine = line.number; // the values may follow on the next line
            return std::nullopt;
        }
        return referenceValue(line, argument);
    } else if (key == "[network data]") {
        if (!m_options) {
            return fault(QStringLiteral("[Network Data] before the option line (#)"));
        }
        if (!m_onePort) {
            return fault(QStringLiteral("[Network Data] before [Number of Ports]"));
        }
        if (!m_frequencies) {
            return fault(QStringLiteral("[Network Data] before [Number of Frequencies]"));
        }
        m_section = Section::NetworkData;
    }
    // [Two-Port Data Order], [Matrix Format], [Mixed-Mode Order] and the number of noise
    // frequencies arrange data of two ports and more: a one-port's single value is the same
    // whatever they say.
    return std::nullopt;
}

std::optional<Fault> Reader::referenceValue(const Line &line, const QByteArray &values)
{
    const QList<QByteArray> fields = values.simplified().split(' ');
    if (fields.size() != 1) {
        return Fault{line.number, QStringLiteral("[Reference] gives %1 resistances, and a one-port "
                                                 "has one")
                                      .arg(fields.size())};
    }
    const std::variant<double, QString> value = number(fields.first());
    if (!std::holds_alternative<double>(value) || std::get<double>(value) <= 0) {
        return Fault{line.number, QStringLiteral("the reference resistance %1 is not a positive "
                                                 "number of ohms")
                                      .arg(quoted(fields.first()))};
    }
    m_reference = std::get<double>(value);
    return std::nullopt;
}

std::optional<Fault> Reader::leaveNetworkData(const Line &line, const QByteArray &name)
{
    if (m_section == Section::NetworkData && m_points.size() < *m_frequencies) {
        return Fault{line.number, QStringLiteral("%1 after %2 of network data, where [Number "
                                                 "of Frequencies] declares %3")
                                      .arg(QString::fromLatin1(name), rows(m_points.size()))
                                      .arg(*m_frequencies)};
    }
    return std::nullopt;
}

std::optional<Fault> Reader::row(const Line &line)
{
    if (m_section == Section::NoiseData) {
        return std::nullopt;
    }
    if (m_version2 && m_section != Section::NetworkData) {
        return Fault{line.number, QStringLiteral("a data row before [Network Data]")};
    }
    if (!m_options) {
        return Fault{line.number, QStringLiteral("expected the option line (# with the frequency "
                                                 "unit, parameter and format) before the data")};
    }
    if (m_version2 && m_points.size() == *m_frequencies) {
        return Fault{line.number, QStringLiteral("more rows of network data than the %1 that "
                                                 "[Number of Frequencies] declares")
                                      .arg(*m_frequencies)};
    }
    // A one-port's data set is a single line: the frequency and one pair.
    const QList<QByteArray> fields = line.text.simplified().split(' ');
    if (fields.size() != 3) {
        return Fault{line.number, QStringLiteral("expected 3 numbers for a one-port (frequency and "
                                                 "one complex value), found %1")
                                      .arg(fields.size())};
    }
    double values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::variant<double, QString> value = number(fields.at(i));
        if (const QString *reason = std::get_if<QString>(&value)) {
            return Fault{line.number, *reason};
        }
        values[i] = std::get<double>(value);
    }
    if (values[0] <= 0) {
        return Fault{
            line.number,
            QStringLiteral("the frequency %1 is not above zero").arg(quoted(fields.at(0)))};
    }
    const double frequencyMhz = toMegahertz(values[0], m_options->unit);
    if (!m_points.isEmpty() && frequencyMhz <= m_points.last().frequencyMhz) {
        return Fault{line.number, QStringLiteral("the frequency %1 is not above the one before it, "
                                                 "and the rows must go in increasing frequency")
                                      .arg(quoted(fields.at(0)))};
    }
    const std::variant<std::complex<double>, QString> z = impedance(values[1], values[2]);
    if (const QString *reason = std::get_if<QString>(&z)) {
        return Fault{line.number, *reason};
    }
    m_points.append({frequencyMhz, std::get<std::complex<double>>(z)});
    return std::nullopt;
}

std::variant<std::complex<double>, QString> Reader::impedance(double first, double second) const
{
    const double degree = std::numbers::pi / 180;
    std::complex<double> value(first, second);
    if (m_options->format != NumberFormat::RealImaginary) {
        const double magnitude =
            m_options->format == NumberFormat::DecibelAngle ? std::pow(10.0, first / 20) : first;
        if (magnitude < 0) {
            return QStringLiteral("the magnitude %1 is below zero").arg(first);
        }
        value = std::polar(magnitude, second * degree);
    }

    // The option line's R: version 1 gives Y and Z divided by it. Version 2 gives them in
    // siemens and ohms: "Network data for G-, H-, Y- and Z-parameters in Version 2.0 files is
    // not normalized", and neither R nor [Reference] bears on them.
    const double normalisedTo = m_version2 ? 1.0 : m_options->referenceOhm;
    std::complex<double> z;
    switch (m_options->parameter) {
    case NetworkParameter::S:
        if (value == 1.0) {
            return QStringLiteral("S11 is exactly 1, an open circuit, whose impedance is infinite");
        }
        z = reference() * (1.0 + value) / (1.0 - value);
        break;
    case NetworkParameter::Z:
        z = value * normalisedTo;
        break;
    case NetworkParameter::Y:
        if (value == 0.0) {
            return QStringLiteral("the admittance is 0, an open circuit, whose impedance is "
                                  "infinite");
        }
        z = normalisedTo / value;
        break;
    }
    if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) {
        return QStringLiteral("the impedance is beyond any number");
    }
    return z;
}

std::optional<Fault> Reader::finish(int lineCount) const
{
    const auto fault = [&](const QString &reason) {
        return std::optional<Fault>(Fault{lineCount, reason});
    };
    if (m_referenceLine > 0) {
        return fault(QStringLiteral("the file ends after [Reference] without its resistance"));
    }
    switch (m_section) {
    case Section::Header:
        if (m_version2) {
            return fault(QStringLiteral("the file ends before [Network Data]"));
        }
        if (!m_options) {
            return fault(QStringLiteral("the file ends without an option line (#) or data"));
        }
        if (m_points.isEmpty()) {
            return fault(QStringLiteral("the file ends without data"));
        }
        return std::nullopt;
    case Section::Information:
        return fault(QStringLiteral("the file ends inside [Begin Information]"));
    case Section::NetworkData:
        // [End] closes a version 2 file; a file that lacks it but holds every row declared is
        // whole all the same.
        if (m_points.size() < *m_frequencies) {
            return fault(QStringLiteral("the file ends after %1 of network data, where "
                                        "[Number of Frequencies] declares %2")
                             .arg(rows(m_points.size()))
                             .arg(*m_frequencies));
        }
        return std::nullopt;
    case Section::NoiseData:
    case Section::End:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace moxon::touchstone
