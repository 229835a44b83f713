// Where the antenna hangs, what its wire is made of and how it is fed, as the engine commands
// take it: --height, --ground, --conductor, --insulation, --insulation-thickness, --feedline
// and --feedline-length.
#include "commandoptions.h"
#include "optionmaking.h"

#include <QLocale>

#include <cmath>

namespace moxon {

namespace {

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

} // namespace

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
    const std::optional<double> length = numberArgument(m_parser.value(m_feedLineLength));
    if (!length || !(*length > 0)) {
        return QStringLiteral("--feedline-length must be a length above 0, not '%1'")
            .arg(m_parser.value(m_feedLineLength));
    }
    return {};
}

std::optional<FeedLine> InstallationOptions::feedLine(DisplayUnit units) const
{
    const std::optional<Cable> cable = cableFromText(m_parser.value(m_feedLine));
    const std::optional<double> length = numberArgument(m_parser.value(m_feedLineLength));
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
    return lengthArgument(m_parser.value(m_insulationThickness));
}

std::optional<double> InstallationOptions::height() const
{
    return numberArgument(m_parser.value(m_height));
}

} // namespace moxon
