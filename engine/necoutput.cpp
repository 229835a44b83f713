#include "necoutput.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

#include <cmath>
#include <complex>

namespace moxon {

namespace {

// Numbers in the engine's output are C-locale decimals such as "1.4600E+02" or "-3.28".
std::optional<double> number(const QString &token)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(token, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QStringList tokens(const QString &line)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return line.split(blanks, Qt::SkipEmptyParts);
}

bool angleMatches(double a, double b)
{
    // Azimuths wrap: 360 degrees is 0 degrees.
    const double difference = std::fmod(std::fabs(a - b), 360.0);
    return std::min(difference, 360.0 - difference) < 0.5;
}

// The feed point of the antenna input parameters whose title is line `title`: three header
// lines, then one line per source: tag, segment, voltage (re, im), current (re, im),
// impedance (re, im), admittance (re, im), power.
std::optional<FeedPoint> sourceFeed(const QStringList &lines, qsizetype title)
{
    const QStringList row = title + 3 < lines.size() ? tokens(lines.at(title + 3)) : QStringList();
    const std::optional<double> r = row.size() >= 8 ? number(row.at(6)) : std::nullopt;
    const std::optional<double> x = row.size() >= 8 ? number(row.at(7)) : std::nullopt;
    if (!r || !x) {
        return std::nullopt;
    }
    return FeedPoint{*r, *x};
}

// The first `count` blank-separated fields of `line`, fewer where it has fewer. A pattern table
// has a row for every direction asked for, thousands over high ground, so its rows are cut up
// in place rather than through a regular expression and a list of copies.
QVarLengthArray<QStringView, 8> leadingFields(QStringView line, qsizetype count)
{
    QVarLengthArray<QStringView, 8> fields;
    qsizetype at = 0;
    while (fields.size() < count) {
        while (at < line.size() && line.at(at).isSpace()) {
            ++at;
        }
        const qsizetype start = at;
        while (at < line.size() && !line.at(at).isSpace()) {
            ++at;
        }
        if (at == start) {
            break;
        }
        fields.append(line.sliced(start, at - start));
    }
    return fields;
}

// The rows of the radiation pattern table whose title is line `title` into `result`: four
// header lines, then theta, phi, vertical, horizontal and total gain first. The line after
// the table.
qsizetype readPatternTable(const QStringList &lines, qsizetype title, NecFrequencyResult &result)
{
    result.tableStarts.append(result.pattern.size());
    const QLocale c = QLocale::c();
    qsizetype row = title + 5;
    for (; row < lines.size(); ++row) {
        const QVarLengthArray<QStringView, 8> cells = leadingFields(lines.at(row), 5);
        if (cells.size() < 5) {
            break;
        }
        bool thetaRead = false;
        bool phiRead = false;
        bool totalRead = false;
        const double theta = c.toDouble(cells.at(0), &thetaRead);
        const double phi = c.toDouble(cells.at(1), &phiRead);
        const double total = c.toDouble(cells.at(4), &totalRead);
        if (!thetaRead || !phiRead || !totalRead) {
            break;
        }
        result.pattern.append({theta, phi, total});
    }
    return row;
}

} // namespace

NecOutput parseNecOutput(const QString &text)
{
    NecOutput output;
    const QStringList lines = text.split(QLatin1Char('\n'));
    NecFrequencyResult *current = nullptr;
    bool sawInputParameters = false;
    bool sawRunTime = false;
    const auto unreadable = [&output](const QString &error) {
        output.error = error;
        output.fault = OutputFault::Unreadable;
        return output;
    };

    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.contains(u"ERROR")) {
            output.error = QStringLiteral("the engine reported: ") + line.trimmed();
            output.fault = OutputFault::DeckError;
            return output;
        }
        if (line.contains(u"RUN TIME")) {
            sawRunTime = true;
        }
        if (line.contains(u"FREQUENCY :") || line.contains(u"FREQUENCY=")) {
            const QStringList parts =
                tokens(line.section(QRegularExpression(QStringLiteral("[:=]")), 1));
            const std::optional<double> mhz =
                parts.isEmpty() ? std::nullopt : number(parts.first());
            if (!mhz) {
                return unreadable(QStringLiteral("unreadable frequency line: ") + line.trimmed());
            }
            output.frequencies.append({*mhz, {}, {}, {}});
            current = &output.frequencies.last();
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        if (line.contains(u"ANTENNA INPUT PARAMETERS")) {
            const std::optional<FeedPoint> feed = sourceFeed(lines, i);
            if (!feed) {
                return unreadable(QStringLiteral("unreadable antenna input parameters"));
            }
            current->feed = *feed;
            sawInputParameters = true;
            i += 3;
            continue;
        }
        if (line.contains(u"RADIATION PATTERNS")) {
            i = readPatternTable(lines, i, *current);
        }
    }

    if (!sawInputParameters) {
        return unreadable(QStringLiteral("the output holds no antenna input parameters"));
    }
    if (!sawRunTime) {
        output.error = QStringLiteral("the output stops before the engine finished");
        output.fault = OutputFault::Truncated;
    }
    return output;
}

double standingWaveRatio(const FeedPoint &feed, double z0)
{
    const std::complex<double> z(feed.resistance, feed.reactance);
    const double reflection = std::abs((z - z0) / (z + z0));
    return reflection >= 1 ? INFINITY : (1 + reflection) / (1 - reflection);
}

std::optional<double> gainTowards(const QList<PatternPoint> &pattern, double theta, double phi)
{
    for (const PatternPoint &point : pattern) {
        if (std::fabs(point.theta - theta) < 0.5 && angleMatches(point.phi, phi)) {
            return point.totalGain;
        }
    }
    return std::nullopt;
}

QList<PatternPoint> patternTable(const NecFrequencyResult &result, qsizetype index)
{
    if (index < 0 || index >= result.tableStarts.size()) {
        return {};
    }
    const qsizetype begin = result.tableStarts.at(index);
    const qsizetype end = index + 1 < result.tableStarts.size() ? result.tableStarts.at(index + 1)
                                                                : result.pattern.size();
    return result.pattern.mid(begin, end - begin);
}

} // namespace moxon
