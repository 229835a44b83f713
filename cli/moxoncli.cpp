#include "moxoncli.h"

#include "checkcommand.h"
#include "commandio.h"
#include "designcommand.h"
#include "diagnosecommand.h"
#include "exportcommand.h"
#include "sheetcommand.h"
#include "tolerancecommand.h"
#include "trimcommand.h"
#include "tunecommand.h"

#include <array>

namespace moxon {

namespace {

struct Command
{
    QStringView name;
    int (*run)(const QStringList &arguments, QTextStream &out, QTextStream &err,
               EngineScheduler &scheduler);
};

constexpr std::array kCommands = {
    Command{u"design", designCommand},       Command{u"export", exportCommand},
    Command{u"check", checkCommand},         Command{u"tune", tuneCommand},
    Command{u"tolerance", toleranceCommand}, Command{u"trim", trimCommand},
    Command{u"diagnose", diagnoseCommand},   Command{u"sheet", sheetCommand},
};

} // namespace

MoxonCli::MoxonCli(QTextStream &out, QTextStream &err)
    : m_out(out)
    , m_err(err)
{
}

int MoxonCli::run(const QStringList &arguments)
{
    const QString command = arguments.size() > 1 ? arguments.at(1) : QString();
    for (const Command &known : kCommands) {
        if (command == known.name) {
            // The command's parser names the program by its first argument.
            const QStringList rest =
                QStringList{arguments.value(0, kProgram.toString()) + u' ' + command} +
                arguments.mid(2);
            return known.run(rest, m_out, m_err, m_scheduler);
        }
    }
    if (command == u"--version" || command == u"-v") {
        m_out << kProgram << ' ' << QStringLiteral(MOXON_VERSION) << Qt::endl;
        return ExitOk;
    }
    const QString usage = QStringLiteral(
        "Usage: moxon-cli <command> [options]\n"
        "Designs a Moxon rectangle antenna, exports it as a model, checks it with nec2c.\n\n"
        "Commands:\n"
        "  design     print the dimensions A to E for one or more frequencies\n"
        "  export     write the model as an NEC-2 deck or a binary model file\n"
        "  check      run the NEC-2 deck through nec2c: impedance, SWR, gain, front-to-back\n"
        "  tune       tune the dimensions with nec2c for a match on 50 ohm or the best "
        "front-to-back\n"
        "  tolerance  how exactly each cut must be made, and the share of builds within limits\n"
        "  trim       the cuts that bring a measured antenna onto its frequency, or a rebuild\n"
        "  diagnose   which cut is off, read from a measured impedance curve, and its trim\n"
        "  sheet      the build sheet as PDF: cut list, insulators, spreaders, predictions\n\n"
        "Options:\n"
        "  -h, --help     this help; 'moxon-cli <command> --help' for a command's options\n"
        "  -v, --version  the version\n");
    if (command == u"--help" || command == u"-h") {
        m_out << usage;
        return ExitOk;
    }
    m_err << kProgram << ": "
          << (command.isEmpty() ? QStringLiteral("no command given")
                                : QStringLiteral("unknown command '%1'").arg(command))
          << "\n\n"
          << usage;
    return ExitUsage;
}

} // namespace moxon
