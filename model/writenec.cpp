#include "writenec.h"

#include "localenumbers.h"

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

} // namespace

WriteResult WriteNEC(QIODevice &out, const ModelInput &model)
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
    const QString radiusText = LocaleNumbers::toSignificant(double(*radius), kRadiusDigits);

    QStringList cards = {QStringLiteral("CM Moxon Rectangle"), QStringLiteral("CE")};
    for (std::size_t i = 0; i < model.wires.size(); ++i) {
        const WireRow &wire = model.wires[i];
        QString card = QStringLiteral("GW") + numberField(double(i + 1)) +
                       numberField(double(wire.Segments));
        for (const double value : {wire.X1, wire.Y1, wire.Z1, wire.X2, wire.Y2, wire.Z2}) {
            card += coordinateText(value) + u' ';
        }
        cards.append(card + radiusText);
    }
    cards += {QStringLiteral("GS 0 0 ") + unit.scaleText.toString(),
              QStringLiteral("GE 0"),
              QStringLiteral("EX 0 2 18 0 1 0"),
              QStringLiteral("FR 0 1 0 0 %1 1").arg(*frequency),
              QStringLiteral("RP 0 1 361 1000 90 0 1 1"),
              QStringLiteral("RP 0 181 1 1000 -90 %1 1 1")
                  .arg(model.xAxis ? QStringLiteral("0") : QStringLiteral("270")),
              QStringLiteral("EN")};

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
