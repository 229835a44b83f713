#include "writenec.h"

#include "elevationcuts.h"
#include "insulationload.h"
#include "localenumbers.h"
#include "units.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace moxon {

namespace {

constexpr int kCoordinateDigits = 15;
constexpr int kRadiusDigits = 7;

// Lengths of the deck go out with 15 significant digits in their shortest form; -0 is
// written as "0" so that a zero coordinate reads the same however it was computed.
QString coordinateText(double value)
{
    return LocaleNumbers::toSignificant(value == 0 ? 0.0 : value, kCoordinateDigits);
}

// A tag or segment count: a blank (or the minus sign) in front, a blank after.
QString numberField(double value)
{
    const QString digits = coordinateText(value);
    return (digits.startsWith(u'-') ? digits : u' ' + digits) + u' ';
}

// The frequency goes into the FR card as typed, with "." for a decimal comma, so that
// "146.000" stays "146.000". Blanks around it are dropped, since they would split the field,
// and a text in other than plain ASCII characters (digits of another script) is written as
// its value instead, as NEC-2 reads nothing else. A frequency that is not above 0 would make
// a deck that no engine reads, so it is refused.
std::optional<QString> frequencyField(const QString &typed, double value)
{
    if (!std::isfinite(value) || !(value > 0)) {
        return std::nullopt;
    }
    QString text = typed.trimmed();
    text.replace(u',', u'.');
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() > 0x20 && c.unicode() < 0x7F;
    });
    return plain && !text.isEmpty() ? text : coordinateText(value);
}

// What is wrong with the installation's numbers, or nothing.
QString unwritableInstallation(const Installation &installation)
{
    const Ground &ground = installation.ground;
    if (installation.overGround() && !std::isfinite(installation.heightMetres)) {
        return QStringLiteral("The height above ground is not a number.");
    }
    if (ground.kind == GroundKind::Real &&
        !(ground.permittivity >= 1 && ground.conductivity > 0 &&
          std::isfinite(ground.permittivity) && std::isfinite(ground.conductivity))) {
        return QStringLiteral("The ground needs a relative permittivity of at least 1 and a "
                              "conductivity above 0 S/m.");
    }
    const double conductivity = installation.conductor.conductivity;
    if (installation.conductor.kind != ConductorKind::Perfect &&
        !(conductivity > 0 && std::isfinite(conductivity))) {
        return QStringLiteral("The wire's conductivity must be a number above 0 S/m.");
    }
    if (installation.insulation && !isWritableInsulation(*installation.insulation)) {
        return QStringLiteral("The insulation needs a relative permittivity of at least 1 and a "
                              "thickness of 0 or more.");
    }
    return {};
}

// The insulation's inductance per metre on every segment: NEC-2's parallel RLC per unit length
// (LD 3), in ohms, henries and farads per metre, whose zero resistance and capacitance NEC-2
// leaves out of the circuit (the NEC-2 user's guide, Burke and Poggio, Part III, the LD card),
// so that the segment carries the inductance alone, as the loading of insulated wire is usually
// written for NEC-2.
QString insulationCard(double radiusMetres, const Insulation &insulation)
{
    return QStringLiteral("LD 3 0 0 0 0 %1 0")
        .arg(LocaleNumbers::toSignificant(insulationInductance(radiusMetres, insulation), 15));
}

} // namespace

WriteResult WriteNEC(QIODevice &out, const ModelInput &model, const Installation &installation)
{
    const DisplayUnitInfo &unit = unitInfo(model.units);
    const std::optional<float> inches = radiusInches(model.wire);
    const std::optional<float> radius =
        inches ? toSinglePrecision(unit.fromInches(double(*inches))) : std::nullopt;
    if (!radius) {
        return WriteResult::failure(unstorableWireSize(model.wire));
    }
    const std::optional<QString> frequency =
        frequencyField(model.frequencyText, model.frequencyMHz);
    if (!frequency) {
        return WriteResult::failure(
            QStringLiteral("The frequency '%1' is not a number greater than 0.")
                .arg(model.frequencyText));
    }
    if (const QString problem = unwritableInstallation(installation); !problem.isEmpty()) {
        return WriteResult::failure(problem);
    }
    const QString radiusText = LocaleNumbers::toSignificant(double(*radius), kRadiusDigits);
    const Ground &ground = installation.ground;
    const bool overGround = installation.overGround();
    const double raise = overGround ? installation.heightMetres / unit.metresPerUnit : 0;

    QStringList cards = {QStringLiteral("CM Moxon Rectangle"), QStringLiteral("CE")};
    for (std::size_t i = 0; i < model.wires.size(); ++i) {
        const WireRow &wire = model.wires[i];
        QString card =
            QStringLiteral("GW") + numberField(double(i + 1)) + numberField(double(wire.Segments));
        for (const double value :
             {wire.X1, wire.Y1, wire.Z1 + raise, wire.X2, wire.Y2, wire.Z2 + raise}) {
            card += coordinateText(value) + u' ';
        }
        cards.append(card + radiusText);
    }
    const QString planePhi = model.xAxis ? QStringLiteral("0") : QStringLiteral("270");
    cards += {QStringLiteral("GS 0 0 ") + unit.scaleText.toString(),
              overGround ? QStringLiteral("GE 1") : QStringLiteral("GE 0")};
    if (installation.conductor.kind != ConductorKind::Perfect) {
        cards += QStringLiteral("LD 5 0 0 0 ") +
                 LocaleNumbers::toSignificant(installation.conductor.conductivity, 15);
    }
    if (installation.insulation) {
        cards += insulationCard(double(*inches) * kMetresPerInch, *installation.insulation);
    }
    if (ground.kind == GroundKind::Perfect) {
        cards += QStringLiteral("GN 1");
    } else if (ground.kind == GroundKind::Real) {
        cards += QStringLiteral("GN 2 0 0 0 %1 %2")
                     .arg(LocaleNumbers::toSignificant(ground.permittivity, 15),
                          LocaleNumbers::toSignificant(ground.conductivity, 15));
    }
    cards += {QStringLiteral("EX 0 2 18 0 1 0"), QStringLiteral("FR 0 1 0 0 %1 1").arg(*frequency)};
    if (overGround) {
        const double heightWavelengths =
            installation.heightMetres / freeSpaceWavelength(model.frequencyMHz);
        for (const ElevationCut &cut : elevationCuts(heightWavelengths)) {
            cards += QStringLiteral("RP 0 %1 1 1000 %2 %3 %4 1")
                         .arg(QString::number(cut.points), coordinateText(cut.startDegrees),
                              planePhi, coordinateText(cut.stepDegrees));
        }
    } else {
        cards += {QStringLiteral("RP 0 1 361 1000 90 0 1 1"),
                  QStringLiteral("RP 0 181 1 1000 -90 %1 1 1").arg(planePhi)};
    }
    cards += QStringLiteral("EN");

    QByteArray deck;
    for (const QString &card : cards) {
        deck += card.toLatin1() + "\r\n";
    }
    if (out.write(deck) != deck.size()) {
        return WriteResult::failure(out.errorString());
    }
    return WriteResult::success();
}

} // namespace moxon
