#pragma once

// The 20 m design the command line's engine tests build, and nec2c's own runs of an antenna
// built to it, independent of the program's fits: its impedances, its dip and its figures.

#include "builtantenna.h"
#include "checkrequest.h"
#include "enginedip.h"
#include "moxoncli.h"
#include "runnec2c.h"
#include "tuner.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

namespace moxon::test {

using namespace Qt::StringLiterals;

// The 20 m antenna of 2 mm copper wire 10 m over average ground, in metres.
inline const QStringList kDesign{u"-f"_s,          u"14.15"_s, u"-w"_s,       u"2"_s,
                                 u"--wire-unit"_s, u"mm"_s,    u"-u"_s,       u"m"_s,
                                 u"--height"_s,    u"10"_s,    u"--ground"_s, u"average"_s,
                                 u"--conductor"_s, u"copper"_s};
inline constexpr double kF0 = 14.15;
inline constexpr double kDipStep = 0.003; // MHz, of the direct runs finding a dip

inline TuneSetup designSetup()
{
    return shownDesignSetup(FormInputs{u"14.15"_s, u"2"_s, WireUnit::Millimetre},
                            DisplayUnit::Metre,
                            Installation{10, {GroundKind::Real, 13, 0.005}, copper(), {}});
}

inline QJsonObject runJson(const QString &command, const QStringList &arguments, QString &err)
{
    QString out;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status =
        MoxonCli(outStream, errStream).run(QStringList{u"moxon-cli"_s, command} + arguments);
    outStream.flush();
    errStream.flush();
    return status == 0 ? QJsonDocument::fromJson(out.toUtf8()).object() : QJsonObject();
}

// Where nec2c's SWR of `dims` is lowest near `guessMhz`: every 3 kHz over +-30 kHz.
inline double directDip(const TuneSetup &setup, const TuneDimensions &dims, double guessMhz)
{
    return parabolaDip(impedances(setup, dims, dipSearchFrequencies(guessMhz, kDipStep)), kDipStep);
}

inline DesignFigures directFigures(const TuneSetup &setup, const TuneDimensions &dims)
{
    const CheckRequest request = setup.requestFor(dims);
    return readFiguresRun(runNec2c(request.deck), request).figures;
}

} // namespace moxon::test
