#include "commandoptions.h"

#include <QLocale>

#include <cmath>

namespace moxon {

namespace {

QCommandLineOption option(const QStringList &names, const QString &description,
                          const QString &valueName = {}, const QString &defaultValue = {})
{
    QCommandLineOption result(names, description, valueName);
    if (!defaultValue.isEmpty()) {
        result.setDefaultValue(defaultValue);
    }
    return result;
}

// One of `choices`, compared without regard to letter case.
bool isChoice(const QString &value, const QStringList &choices)
{
    return choices.contains(value, Qt::CaseInsensitive);
}

QString groundHelp()
{
    // The first name is free space's, the default.
    QStringList names = groundNames();
    const QString free = names.takeFirst();
    return QStringLiteral("%1 (free space, the default), %2, or EPS,SIGMA: relative "
                          "permittivity and conductivity in S/m.")
        .arg(free, names.join(QStringLiteral(", ")));
}

QString conductorHelp()
{
    // The first name is perfect wire's, the default.
    QStringList names = conductorNames();
    const QString perfect = names.takeFirst();
    return QStringLiteral("The wire's metal: %1 (the default), %2, or a conductivity in S/m.")
        .arg(perfect, names.join(QStringLiteral(", ")));
}

QString insulationHelp()
{
    QStringList kinds;
    for (const InsulationPreset &preset : insulationPresets()) {
        kinds.append(QStringLiteral("%1 (%2)").arg(preset.name).arg(preset.permittivity));
    }
    return QStringLiteral("The wire's insulation: %1, or a relative permittivity from 1 to %2; "
                          "bare wire by default. Needs --insulation-thickness.")
        .arg(kinds.join(QStringLiteral(", ")))
        .arg(kMostInsulationPermittivity);
}

QString feedLineHelp()
{
    return QStringLiteral("The feed line from the antenna to the radio: %1, or Z0,VF,DB,MHZ, a "
                          "line of one's own of Z0 ohms and velocity factor VF losing DB dB per "
                          "100 m matched at MHZ. The check then adds what the radio sees at its "
                          "end and what the line loses; none by default.")
        .arg(cableNames().join(QStringLiteral(", ")));
}

// A number in the C locale, finite.
std::optional<double> finiteNumber(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

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

InstallationOptions::InstallationOptions(QCommandLineParser &parser)
    : m_parser(parser)
    , m_height(option({QStringLiteral("height")},
                      QStringLiteral("Height of the antenna's centre above the ground, in the "
                                     "unit of --units."),
                      QStringLiteral("H")))
    , m_ground(option({QStringLiteral("ground")}, groundHelp(), QStringLiteral("GROUND"),
                      groundKindName(GroundKind::FreeSpace)))
    , m_conductor(option({QStringLiteral("conductor")}, conductorHelp(), QStringLiteral("METAL"),
                         conductorKindName(ConductorKind::Perfect)))
    , m_insulation(
          option({QStringLiteral("insulation")}, insulationHelp(), QStringLiteral("KIND|EPS")))
    , m_insulationThickness(option(
          {QStringLiteral("insulation-thickness")},
          QStringLiteral("Thickness of the insulation, from the metal to its surface, in the unit "
                         "of the wire size: mm with --wire-unit mm, inches with in and with AWG "
                         "(whose diameters are inches)."),
          QStringLiteral("T")))
    , m_feedLine(option({QStringLiteral("feedline")}, feedLineHelp(), QStringLiteral("TYPE")))
    , m_feedLineLength(option({QStringLiteral("feedline-length")},
                              QStringLiteral("Length of the feed line, in the unit of --units."),
                              QStringLiteral("L")))
{
    parser.addOption(m_height);
    parser.addOption(m_ground);
    parser.addOption(m_conductor);
    parser.addOption(m_insulation);
    parser.addOption(m_insulationThickness);
    parser.addOption(m_feedLine);
    parser.addOption(m_feedLineLength);
}

QList<NamedValues> InstallationOptions::names()
{
    return {{QStringLiteral("--ground"), groundNames()},
            {QStringLiteral("--conductor"), conductorNames()},
            {QStringLiteral("--insulation"), insulationNames()},

            {QStringLiteral("--feedline"), cableNames()}};
}

QString InstallationOptions::check() const
{
    const std::optional<Ground> ground = groundFromText(m_parser.value(m_ground));
    if (!ground) {
        return QStringLiteral("--ground must be %1, not '%2'")
            .arg(groundChoices(), m_parser.value(m_ground));
    }
    if (!conductorFromText(m_parser.value(m_conductor))) {
        return QStringLiteral("--conductor must be %1, not '%2'")
            .arg(conductorChoices(), m_parser.value(m_conductor));
    }
    const bool overGround = ground->kind != GroundKind::FreeSpace;
    if (overGround != m_parser.isSet(m_height)) {
        return overGround ? QStringLiteral("--height is required over ground")
                          : QStringLiteral("--height needs --ground: in free space the antenna "
                                           "hangs nowhere");
    }
    if (overGround && !height()) {
        return QStringLiteral("--height must be a number, not '%1'").arg(m_parser.value(m_height));
    }
    if (QString refusal = checkInsulation(); !refusal.isEmpty()) {
        return refusal;
    }
    return checkFeedLine();
}

QString InstallationOptions::checkInsulation() const
{
    const bool insulated = m_parser.isSet(m_insulation);
    if (insulated && !insulationFromText(m_parser.value(m_insulation))) {
        return QStringLiteral("--insulation must be %1, not '%2'")
            .arg(insulationChoices(), m_parser.value(m_insulation));
    }
    if (insulated != m_parser.isSet(m_insulationThickness)) {
        return insulated ? QStringLiteral("--insulation-thickness is required with --insulation")
                         : QStringLiteral("--insulation-thickness needs --insulation: bare wire "
                                          "has none");
    }
    if (insulated && !insulationThickness()) {
        return QStringLiteral("--insulation-thickness must be a thickness of 0 or more, not '%1'")
            .arg(m_parser.value(m_insulationThickness));
    }
    return {};
}

QString InstallationOptions::checkFeedLine() const
{
    const bool line = m_parser.isSet(m_feedLine);
    if (line != m_parser.isSet(m_feedLineLength)) {
        return line ? QStringLiteral("--feedline needs --feedline-length: how long the line is")
                    : QStringLiteral("--feedline-length needs --feedline: the line's type");
    }
    if (!line) {
        return {};
    }
    if (!cableFromText(m_parser.value(m_feedLine))) {
        return QStringLiteral("--feedline must be %1, not '%2'")
            .arg(cableChoices(), m_parser.value(m_feedLine));
    }
    const std::optional<double> length = finiteNumber(m_parser.value(m_feedLineLength));
    if (!length || !(*length > 0)) {
        return QStringLiteral("--feedline-length must be a length above 0, not '%1'")
            .arg(m_parser.value(m_feedLineLength));
    }
    return {};
}

std::optional<FeedLine> InstallationOptions::feedLine(DisplayUnit units) const
{
    const std::optional<Cable> cable = cableFromText(m_parser.value(m_feedLine));
    const std::optional<double> length = finiteNumber(m_parser.value(m_feedLineLength));
    if (!cable || !length) {
        return std::nullopt;
    }
    return FeedLine{*cable, *length * unitInfo(units).metresPerUnit};
}

Installation InstallationOptions::installation(DisplayUnit units, WireUnit wireUnit) const
{
    Installation installation;
    installation.ground = groundFromText(m_parser.value(m_ground)).value_or(Ground{});
    installation.conductor = conductorFromText(m_parser.value(m_conductor)).value_or(Conductor{});
    if (installation.overGround()) {
        installation.heightMetres = height().value_or(0) * unitInfo(units).metresPerUnit;
    }
    if (m_parser.isSet(m_insulation)) {
        installation.insulation = insulationFromText(m_parser.value(m_insulation));
        if (installation.insulation) {
            installation.insulation->thicknessMetres =
                insulationThickness().value_or(0) * unitInfo(wireUnit).metresPerUnit;
        }
    }
    installation.feedLine = feedLine(units);
    return installation;
}

std::optional<double> InstallationOptions::insulationThickness() const
{
    bool ok = false;
    const double value = QLocale::c().toDouble(m_parser.value(m_insulationThickness), &ok);
    return ok && std::isfinite(value) && value >= 0 ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> InstallationOptions::height() const
{
    return finiteNumber(m_parser.value(m_height));
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
