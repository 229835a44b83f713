#pragma once

#include "calculation.h"
#include "checkreport.h"
#include "installation.h"
#include "modelinput.h"
#include "units.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

namespace moxon {

// The options the commands of moxon-cli share, each group written once. A group adds its
// options to the command's parser when it is made, and reads what the parser made of them;
// check() names the first bad argument, or is empty.

// The first problem of `problems` that is one; empty when none is.
[[nodiscard]] QString firstProblem(const QStringList &problems);

// The option and the names it takes, for namedValues().
struct NamedValues
{
    QString option; // "--ground"
    QStringList names;
};
// The paragraph of a command's --help that lists the names its options take, one option a
// line, the names apart by spaces: "  --goal: match front-to-back". The test of the bash
// completion reads it, so that a name the program takes and the completion lacks is found.
[[nodiscard]] QString namedValues(const QList<NamedValues> &options);

// The design: --freq, --wire, --wire-unit, --units, --json, and --help.
class CommonOptions
{
public:
    explicit CommonOptions(QCommandLineParser &parser);

    [[nodiscard]] QString check() const;
    // check() for the commands that work on one frequency.
    [[nodiscard]] QString checkOneFrequency() const;

    [[nodiscard]] QStringList frequencies() const;
    [[nodiscard]] bool json() const;
    // What the user would have typed and picked in the window. Valid once check() passed.
    [[nodiscard]] FormInputs inputs(const QString &frequency) const;
    [[nodiscard]] DisplayUnit units() const;
    // The unit of the wire size; valid once check() passed.
    [[nodiscard]] WireUnit wireUnit() const;

private:
    const QCommandLineParser &m_parser;
    const QCommandLineOption m_freq;
    const QCommandLineOption m_wire;
    const QCommandLineOption m_wireUnit;
    const QCommandLineOption m_units;
    const QCommandLineOption m_json;
};

// The model: --pol and --axis.
class ModelOptions
{
public:
    explicit ModelOptions(QCommandLineParser &parser);

    [[nodiscard]] QString check() const;
    [[nodiscard]] bool vertical() const;
    [[nodiscard]] bool xAxis() const;

private:
    const QCommandLineParser &m_parser;
    const QCommandLineOption m_pol;
    const QCommandLineOption m_axis;
};

// Where the antenna hangs and what it is made of: --height, --ground, --conductor,
// --insulation and --insulation-thickness; and the feed line to the radio: --feedline,
// --feedline-length.
class InstallationOptions
{
public:
    explicit InstallationOptions(QCommandLineParser &parser);

    // The names --ground, --conductor, --insulation and --feedline take, for namedValues().
    [[nodiscard]] static QList<NamedValues> names();

    [[nodiscard]] QString check() const;
    // Valid once check() passed; the height and the feed line's length are given in the unit
    // of the dimensions, the
    // insulation's thickness in that of the wire size (`wireUnit`: inches for a gauge).
    [[nodiscard]] Installation installation(DisplayUnit units, WireUnit wireUnit) const;

private:
    [[nodiscard]] std::optional<double> height() const;
    [[nodiscard]] QString checkInsulation() const;
    [[nodiscard]] std::optional<double> insulationThickness() const;
    [[nodiscard]] QString checkFeedLine() const;
    [[nodiscard]] std::optional<FeedLine> feedLine(DisplayUnit units) const;

    const QCommandLineParser &m_parser;
    const QCommandLineOption m_height;
    const QCommandLineOption m_ground;
    const QCommandLineOption m_conductor;
    const QCommandLineOption m_insulation;
    const QCommandLineOption m_insulationThickness;
    const QCommandLineOption m_feedLine;
    const QCommandLineOption m_feedLineLength;
};

// How the check's SWR curve comes from the engine: --sweep fitted or full.
class SweepOptions
{
public:
    explicit SweepOptions(QCommandLineParser &parser);

    [[nodiscard]] QString check() const;
    // Fitted when --sweep is not given. Valid once check() passed.
    [[nodiscard]] SweepMode mode() const;

private:
    [[nodiscard]] std::optional<SweepMode> given() const;

    const QCommandLineParser &m_parser;
    const QCommandLineOption m_sweep;
};

// What a command writes besides its report: the model (-o/--output with --format) and the
// deck the engine ran (--deck); "-" for either is standard output. Standard output carries one
// thing, so that it can be piped: the JSON, the model or the deck.
class OutputOptions
{
public:
    // Which of them a command takes, and its own words for the model's.
    struct Usage
    {
        QString outputHelp;         // -o's description; empty: no -o and no --format
        QString formatHelp;         // --format's
        bool modelRequired = false; // -o and --format must be given; else they go together
        bool deck = false;          // --deck
    };

    OutputOptions(QCommandLineParser &parser, Usage usage);

    // `json`: whether --json was given, which writes to standard output too.
    [[nodiscard]] QString check(bool json) const;

    [[nodiscard]] bool writesModel() const;
    [[nodiscard]] QString modelPath() const;
    [[nodiscard]] ModelFormat format() const; // valid once check() passed
    [[nodiscard]] QString deckPath() const;   // empty without --deck
    // Whether the model or the deck goes to standard output, which then carries it alone.
    [[nodiscard]] bool toStandardOutput() const;

private:
    [[nodiscard]] bool takesModel() const { return !m_usage.outputHelp.isEmpty(); }

    const QCommandLineParser &m_parser;
    const Usage m_usage;
    const QCommandLineOption m_output;
    const QCommandLineOption m_format;
    const QCommandLineOption m_deck;
};

} // namespace moxon
