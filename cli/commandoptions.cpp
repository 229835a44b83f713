#include "commandoptions.h"

#include "optionmaking.h"

namespace moxon {

QString firstProblem(const QStringList &problems)
{
    for (const QString &problem : problems) {
        if (!problem.isEmpty()) {
            return problem;
        }
    }
    return {};
}

QString namedValues(const QList<NamedValues> &options)
{
    QString text = QStringLiteral("Named values:");
    for (const NamedValues &option : options) {
        text += QStringLiteral("\n  %1: %2").arg(option.option, option.names.join(u' '));
    }
    return text;
}

CommonOptions::CommonOptions(QCommandLineParser &parser)
    : m_parser(parser)
    , m_freq(option({QStringLiteral("f"), QStringLiteral("freq")},
                    QStringLiteral("Design frequency in MHz."), QStringLiteral("MHZ")))
    , m_wire(option({QStringLiteral("w"), QStringLiteral("wire")},
                    QStringLiteral("Wire size: a diameter, or a gauge as \"#12\" (default #12)."),
                    QStringLiteral("SIZE"), QStringLiteral("#12")))
    , m_wireUnit(
          option({QStringLiteral("wire-unit")},
                 QStringLiteral("Unit of the wire size: %1 (default AWG).").arg(wireUnitChoices()),
                 QStringLiteral("UNIT"), QStringLiteral("AWG")))
    , m_units(option(
          {QStringLiteral("u"), QStringLiteral("units")},
          QStringLiteral("Unit of the dimensions: %1 (default in).").arg(displayUnitChoices()),
          QStringLiteral("UNIT"), QStringLiteral("in")))
    , m_json(option({QStringLiteral("json")}, QStringLiteral("Print JSON, one object per line.")))
{
    parser.addOption(m_freq);
    parser.addOption(m_wire);
    parser.addOption(m_wireUnit);
    parser.addOption(m_units);
    parser.addOption(m_json);
    parser.addHelpOption();
}

QString CommonOptions::check() const
{
    if (!wireUnitFromText(m_parser.value(m_wireUnit))) {
        return QStringLiteral("--wire-unit must be %1, not '%2'")
            .arg(wireUnitChoices(), m_parser.value(m_wireUnit));
    }
    if (!displayUnitFromText(m_parser.value(m_units))) {
        return QStringLiteral("--units must be %1, not '%2'")
            .arg(displayUnitChoices(), m_parser.value(m_units));
    }
    return {};
}

QString CommonOptions::checkOneFrequency() const
{
    return frequencies().size() != 1 ? QStringLiteral("--freq must be given once") : check();
}

QStringList CommonOptions::frequencies() const
{
    return m_parser.values(m_freq);
}

bool CommonOptions::json() const
{
    return m_parser.isSet(m_json);
}

FormInputs CommonOptions::inputs(const QString &frequency) const
{
    return FormInputs{frequency, m_parser.value(m_wire),
                      wireUnitFromText(m_parser.value(m_wireUnit))};
}

DisplayUnit CommonOptions::units() const
{
    return displayUnitFromText(m_parser.value(m_units)).value_or(DisplayUnit::Inch);
}

WireUnit CommonOptions::wireUnit() const
{
    return wireUnitFromText(m_parser.value(m_wireUnit)).value_or(WireUnit::Gauge);
}

ModelOptions::ModelOptions(QCommandLineParser &parser)
    : m_parser(parser)
    , m_pol(option({QStringLiteral("pol")},
                   QStringLiteral("Polarization: h (horizontal) or v (vertical); default h."),
                   QStringLiteral("h|v"), QStringLiteral("h")))
    , m_axis(option({QStringLiteral("axis")},
                    QStringLiteral("Beam axis of the model: x or y; default x."),
                    QStringLiteral("x|y"), QStringLiteral("x")))
{
    parser.addOption(m_pol);
    parser.addOption(m_axis);
}

QString ModelOptions::check() const
{
    if (!isChoice(m_parser.value(m_pol), {QStringLiteral("h"), QStringLiteral("v")})) {
        return QStringLiteral("--pol must be h or v, not '%1'").arg(m_parser.value(m_pol));
    }
    if (!isChoice(m_parser.value(m_axis), {QStringLiteral("x"), QStringLiteral("y")})) {
        return QStringLiteral("--axis must be x or y, not '%1'").arg(m_parser.value(m_axis));
    }
    return {};
}

bool ModelOptions::vertical() const
{
    return m_parser.value(m_pol).compare(u"v", Qt::CaseInsensitive) == 0;
}

bool ModelOptions::xAxis() const
{
    return m_parser.value(m_axis).compare(u"x", Qt::CaseInsensitive) == 0;
}

SweepOptions::SweepOptions(QCommandLineParser &parser)
    : m_parser(parser)
    , m_sweep(option({QStringLiteral("sweep")},
                     QStringLiteral("fitted (the default) or full: every sweep point run by nec2c, "
                                    "no interpolation."),
                     QStringLiteral("fitted|full"), QStringLiteral("fitted")))
{
    parser.addOption(m_sweep);
}

QString SweepOptions::check() const
{
    return given() ? QString()
                   : QStringLiteral("--sweep must be fitted or full, not '%1'")
                         .arg(m_parser.value(m_sweep));
}

SweepMode SweepOptions::mode() const
{
    return given().value_or(SweepMode::Fitted);
}

std::optional<SweepMode> SweepOptions::given() const
{
    const QString mode = m_parser.value(m_sweep);
    if (mode.compare(u"fitted", Qt::CaseInsensitive) == 0) {
        return SweepMode::Fitted;
    }
    if (mode.compare(u"full", Qt::CaseInsensitive) == 0) {
        return SweepMode::Full;
    }
    return std::nullopt;
}

OutputOptions::OutputOptions(QCommandLineParser &parser, Usage usage)
    : m_parser(parser)
    , m_usage(std::move(usage))
    , m_output(option({QStringLiteral("o"), QStringLiteral("output")}, m_usage.outputHelp,
                      QStringLiteral("FILE")))
    , m_format(option({QStringLiteral("format")}, m_usage.formatHelp, QStringLiteral("nec|ez")))
    , m_deck(option({QStringLiteral("deck")},
                    QStringLiteral("Also write the deck the check ran at the design frequency; - "
                                   "for standard output."),
                    QStringLiteral("FILE")))
{
    if (m_usage.deck) {
        parser.addOption(m_deck);
    }
    if (takesModel()) {
        parser.addOption(m_format);
        parser.addOption(m_output);
    }
}

QString OutputOptions::check(bool json) const
{
    const bool output = writesModel();
    const bool format = takesModel() && m_parser.isSet(m_format);
    if (takesModel()) {
        if (m_usage.modelRequired && !format) {
            return QStringLiteral("--format is required: nec or ez");
        }
        if (!m_usage.modelRequired && output != format) {
            return QStringLiteral("-o and --format go together");
        }
        if (format &&
            !isChoice(m_parser.value(m_format), {QStringLiteral("nec"), QStringLiteral("ez")})) {
            return QStringLiteral("--format must be nec or ez, not '%1'")
                .arg(m_parser.value(m_format));
        }
        if (m_usage.modelRequired && modelPath().isEmpty()) {
            return QStringLiteral("-o FILE is required (- for standard output)");
        }
    }
    // Two of them on standard output would run into each other, and a script reading it could
    // not tell where one ends; refused before anything is calculated or run.
    QStringList writers;
    if (json) {
        writers.append(QStringLiteral("--json"));
    }
    if (output && modelPath() == u"-") {
        writers.append(QStringLiteral("-o -"));
    }
    if (deckPath() == u"-") {
        writers.append(QStringLiteral("--deck -"));
    }
    if (writers.size() > 1) {
        return QStringLiteral("%1 and %2 would both write to standard output; write one of them "
                              "to a file")
            .arg(writers.at(0), writers.at(1));
    }
    return {};
}

bool OutputOptions::writesModel() const
{
    return takesModel() && m_parser.isSet(m_output);
}

QString OutputOptions::modelPath() const
{
    return takesModel() ? m_parser.value(m_output) : QString();
}

ModelFormat OutputOptions::format() const
{
    return takesModel() && m_parser.value(m_format).compare(u"ez", Qt::CaseInsensitive) == 0
               ? ModelFormat::Eznec
               : ModelFormat::Nec;
}

QString OutputOptions::deckPath() const
{
    return m_usage.deck ? m_parser.value(m_deck) : QString();
}

bool OutputOptions::toStandardOutput() const
{
    return (writesModel() && modelPath() == u"-") || deckPath() == u"-";
}

} // namespace moxon
