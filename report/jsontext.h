#pragma once

#include <QByteArray>
#include <QJsonObject>

namespace moxon {

// The JSON text of `object` on one line: how every report for scripts is written. Each number
// carries the digits its value means, by what its name says it is (the unit at the end of
// "front_to_back_db", "resistance_ohm", "frequency_mhz"; an array's numbers by the array's
// name): the figures nec2c prints and what follows from them alone to five significant digits,
// the rest to nine. 21.259999999999998 dB, the difference of two gains printed to hundredths,
// is written 21.26; a dip at 14.0823456789 MHz, found on a fit to a hundred-millionth of the
// frequency, 14.0823457. Integers and numbers that are none are written as they are.
[[nodiscard]] QByteArray jsonText(const QJsonObject &object);

} // namespace moxon
