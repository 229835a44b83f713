#include "jsontext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QVariant>

#include <algorithm>
#include <array>
#include <cmath>

namespace moxon {

namespace {

// nec2c prints each part of an impedance to five significant digits (%.4E), and gains and
// angles to hundredths of a dB and a degree (%.2f), five significant digits up to 999.99. An
// SWR, a front-to-back, an angle of the pattern, or a fitted impedance (verified to 0.05 ohm
// against the engine's) follows from those alone and knows no more.
constexpr int kEngineDigits = 5;
// Everything else: the frequencies and lengths as typed or computed from them exactly, and
// what a fit places between the engine's frequencies, such as a dip, which is found to a
// hundred-millionth of the frequency (8 digits and one to round on). More would carry only the
// rounding of binary arithmetic; fewer would cut a typed frequency such as 10368.125 MHz.
constexpr int kOtherDigits = 9;

// The units and quantities, as the words of a name, whose numbers are in the engine's terms: a
// power through the feed line ("w") follows from the engine's impedance as its losses do.
constexpr std::array<QStringView, 6> kEngineWords = {u"ohm", u"db", u"dbi", u"deg", u"swr", u"w"};

int digitsOf(QStringView name)
{
    for (const QStringView word : name.split(u'_')) {
        if (std::find(kEngineWords.begin(), kEngineWords.end(), word) != kEngineWords.end()) {
            return kEngineDigits;
        }
    }
    return kOtherDigits;
}

QJsonObject withDigits(const QJsonObject &object);

QJsonValue withDigits(const QJsonValue &value, int digits)
{
    if (value.isObject()) {
        return withDigits(value.toObject());
    }
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue element : value.toArray()) {
            array.append(withDigits(element, digits));
        }
        return array;
    }
    // A count is stored as an integer, and keeps every digit.
    if (!value.isDouble() || value.toVariant().typeId() != QMetaType::Double) {
        return value;
    }
    const double number = value.toDouble();
    if (!std::isfinite(number)) {
        return value;
    }
    // The nearest double to the number rounded to `digits`, which the writer puts down in the
    // fewest digits that read back as it: those digits, without their trailing zeros.
    return QByteArray::number(number, 'g', digits).toDouble();
}

QJsonObject withDigits(const QJsonObject &object)
{
    QJsonObject result;
    for (auto it = object.begin(); it != object.end(); ++it) {
        result.insert(it.key(), withDigits(it.value(), digitsOf(it.key())));
    }
    return result;
}

} // namespace

QByteArray jsonText(const QJsonObject &object)
{
    return QJsonDocument(withDigits(object)).toJson(QJsonDocument::Compact);
}

} // namespace moxon
