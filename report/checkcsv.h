#pragma once

#include "figures.h"
#include "installation.h"

#include <QByteArray>
#include <QList>

namespace moxon {

// The check's numbers as CSV, "." as the decimal point whatever the locale: where the
// installation is not free space in bare perfect wire, or has a feed line, its row under its
// names and an empty line; the sweep rows "MHz,R,X,SWR", an empty line, then the pattern rows
// "plane,angle,dBi" (azimuth by phi, elevation by theta, both in degrees). With a feed line
// the installation's row ends in the line's columns and each sweep row in R_radio, X_radio
// and SWR_radio, what the radio sees through it; without one the file is as it always was.
[[nodiscard]] QByteArray checkCsv(const QList<SweepPoint> &sweep, const DesignFigures &figures,
                                  const Installation &installation = {});

} // namespace moxon
