#include "moxoncli.h"

#include "bandplan.h"
#include "calculation.h"
#include "checkrequest.h"
#include "checkrunner.h"
#include "machineformats.h"
#include "reporttexts.h"
#include "tuner.h"
#include "messages.h"
#include "modelfile.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>

namespace moxon {

namespace {

const QString kProgram = QStringLiteral("moxon-cli");

LocaleNumbers commandLineNumbers()
{
    return LocaleNumbers(QLocale::c());
}

QCommandLineOption option(const QStringList &names, const QString &description,
                          const QString &valueName = {}, const QString &defaultValue = {})
{
    QCommandLineOption result(names, description, valueName);
    if (!defaultValue.isEmpty()) {
        result.setDefaultValue(defaultValue);
    }
    return result;
}

// One of `choices`, compared without regard to letter case; its index, or -1.
int choiceIndex(const QString &value, const QStringList &choices)
{
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (value.compare(choices.at(i), Qt::CaseInsensitive) == 0) {
            return int(i);
        }
    }
    return -1;
}

// The options every command shares, and what the parser made of them.
class CommonOptions
{
public:
    explicit CommonOptions(QCommandLineParser &parser)
        : m_parser(parser)
    {
        parser.addOption(m_freq);
        parser.addOption(m_wire);
        parser.addOption(m_wireUnit);
        parser.addOption(m_units);
        parser.addOption(m_json);
        parser.addHelpOption();
    }

    // Checks the values; an error names the argument.
    [[nodiscard]] QString check() const
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

    [[nodiscard]] QStringList frequencies() const { return m_parser.values(m_freq); }
    [[nodiscard]] bool json() const { return m_parser.isSet(m_json); }
    // What the user would have typed and picked in the window. Valid once check() passed.
    [[nodiscard]] FormInputs inputs(const QString &frequency) const
    {
        return FormInputs{frequency, m_parser.value(m_wire),
                          wireUnitFromText(m_parser.value(m_wireUnit))};
    }
    [[nodiscard]] DisplayUnit units() const
    {
        return displayUnitFromText(m_parser.value(m_units)).value_or(DisplayUnit::Inch);
    }

private:
    QCommandLineParser &m_parser;
    const QCommandLineOption m_freq =
        option({QStringLiteral("f"), QStringLiteral("freq")},
               QStringLiteral("Design frequency in MHz."), QStringLiteral("MHZ"));
    const QCommandLineOption m_wire =
        option({QStringLiteral("w"), QStringLiteral("wire")},
               QStringLiteral("Wire size: a diameter, or a gauge as \"#12\" (default #12)."),
               QStringLiteral("SIZE"), QStringLiteral("#12"));
    const QCommandLineOption m_wireUnit =
        option({QStringLiteral("wire-unit")},
               QStringLiteral("Unit of the wire size: in, mm or AWG (default AWG)."),
               QStringLiteral("UNIT"), QStringLiteral("AWG"));
    const QCommandLineOption m_units =
        option({QStringLiteral("u"), QStringLiteral("units")},
               QStringLiteral("Unit of the dimensions: ft, in, m or mm (default in)."),
               QStringLiteral("UNIT"), QStringLiteral("in"));
    const QCommandLineOption m_json =
        option({QStringLiteral("json")}, QStringLiteral("Print JSON, one object per line."));
};

// The model options of export and check.
class ModelOptions
{
public:
    explicit ModelOptions(QCommandLineParser &parser)
        : m_parser(parser)
    {
        parser.addOption(m_pol);
        parser.addOption(m_axis);
    }

    [[nodiscard]] QString check() const
    {
        if (choiceIndex(m_parser.value(m_pol), {QStringLiteral("h"), QStringLiteral("v")}) < 0) {
            return QStringLiteral("--pol must be h or v, not '%1'").arg(m_parser.value(m_pol));
        }
        if (choiceIndex(m_parser.value(m_axis), {QStringLiteral("x"), QStringLiteral("y")}) < 0) {
            return QStringLiteral("--axis must be x or y, not '%1'").arg(m_parser.value(m_axis));
        }
        return {};
    }

    [[nodiscard]] bool vertical() const
    {
        return m_parser.value(m_pol).compare(u"v", Qt::CaseInsensitive) == 0;
    }
    [[nodiscard]] bool xAxis() const
    {
        return m_parser.value(m_axis).compare(u"x", Qt::CaseInsensitive) == 0;
    }

private:
    QCommandLineParser &m_parser;
    const QCommandLineOption m_pol =
        option({QStringLiteral("pol")},
               QStringLiteral("Polarization: h (horizontal) or v (vertical); default h."),
               QStringLiteral("h|v"), QStringLiteral("h"));
    const QCommandLineOption m_axis = option(
        {QStringLiteral("axis")}, QStringLiteral("Beam axis of the model: x or y; default x."),
        QStringLiteral("x|y"), QStringLiteral("x"));
};

// Where the check hangs the antenna and what it is made of.
class InstallationOptions
{
public:
    explicit InstallationOptions(QCommandLineParser &parser)
        : m_parser(parser)
    {
        parser.addOption(m_height);
        parser.addOption(m_ground);
        parser.addOption(m_conductor);
        parser.addOption(m_deck);
    }

    [[nodiscard]] QString check() const
    {
        const std::optional<Ground> ground = groundFromText(m_parser.value(m_ground));
        if (!ground) {
            return QStringLiteral("--ground must be %1, not '%2'")
                .arg(groundChoices(), m_parser.value(m_ground));
        }
        if (!conductorFromText(m_parser.value(m_conductor))) {
            return QStringLiteral("--conductor must be perfect, copper, aluminium or a "
                                  "conductivity in S/m, not '%1'")
                .arg(m_parser.value(m_conductor));
        }
        const bool overGround = ground->kind != GroundKind::FreeSpace;
        if (overGround != m_parser.isSet(m_height)) {
            return overGround ? QStringLiteral("--height is required over ground")
                              : QStringLiteral("--height needs --ground: in free space the "
                                               "antenna hangs nowhere");
        }
        if (overGround && !height()) {
            return QStringLiteral("--height must be a number, not '%1'")
                .arg(m_parser.value(m_height));
        }
        return {};
    }

    // Valid once check() passed; the height in the unit of the dimensions.
    [[nodiscard]] Installation installation(DisplayUnit units) const
    {
        Installation installation;
        installation.ground = groundFromText(m_parser.value(m_ground)).value_or(Ground{});
        installation.conductor =
            conductorFromText(m_parser.value(m_conductor)).value_or(Conductor{});
        if (installation.overGround()) {
            installation.heightMetres = height().value_or(0) * unitInfo(units).metresPerUnit;
        }
        return installation;
    }
    [[nodiscard]] QString deckPath() const { return m_parser.value(m_deck); }

private:
    [[nodiscard]] std::optional<double> height() const
    {
        bool ok = false;
        const double value = QLocale::c().toDouble(m_parser.value(m_height), &ok);
        return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
    }

    QCommandLineParser &m_parser;
    const QCommandLineOption m_height = option(
        {QStringLiteral("height")},
        QStringLiteral("Height of the antenna's centre above the ground, in the unit of --units."),
        QStringLiteral("H"));
    const QCommandLineOption m_ground =
        option({QStringLiteral("ground")},
               QStringLiteral("free (free space, the default), perfect, very-poor, poor, average, "
                              "very-good, fresh-water, sea-water, or EPS,SIGMA: relative "
                              "permittivity and conductivity in S/m."),
               QStringLiteral("GROUND"), QStringLiteral("free"));
    const QCommandLineOption m_conductor =
        option({QStringLiteral("conductor")},
               QStringLiteral("The wire's metal: perfect (the default), copper, aluminium, or a "
                              "conductivity in S/m."),
               QStringLiteral("METAL"), QStringLiteral("perfect"));
    const QCommandLineOption m_deck = option(
        {QStringLiteral("deck")},
        QStringLiteral("Also write the deck the check ran at the design frequency; - for standard "
                       "output."),
        QStringLiteral("FILE"));
};

// Export and check work on one frequency with the model options.
QString checkModelCommand(const CommonOptions &common, const ModelOptions &model)
{
    if (common.frequencies().size() != 1) {
        return QStringLiteral("--freq must be given once");
    }
    const QString problem = common.check();
    return problem.isEmpty() ? model.check() : problem;
}

// A message as the command line prints it on stderr: "<frequency> MHz: <title>: <text>".
void report(const Message &message, const QString &frequency, QTextStream &err)
{
    err << frequency << " MHz: " << message.title << ": "
        << QString(message.text).replace(QLatin1Char('\n'), QLatin1Char(' ')) << Qt::endl;
}

// The calculation's message, if it gave one: its input error or its range warning.
std::optional<Message> calculationMessage(const Calculation &run)
{
    if (run.error) {
        return inputErrorMessage(*run.error);
    }
    if (run.warning != RangeWarning::None) {
        return rangeWarningMessage(run.warning);
    }
    return std::nullopt;
}

// Calculates as the window does and prints its message; nothing when the input is rejected.
std::optional<Calculation> calculated(const CommonOptions &common, const QString &frequency,
                                      QTextStream &err)
{
    const Calculation run =
        calculate(common.inputs(frequency), common.units(), commandLineNumbers());
    if (const std::optional<Message> message = calculationMessage(run)) {
        report(*message, frequency, err);
    }
    return run.accepted() ? std::optional<Calculation>(run) : std::nullopt;
}

// The model of the design at `frequency`, as the window's export builds it from the design as
// shown; nothing when the design is rejected, which `err` has been told.
std::optional<ModelInput> designModel(const CommonOptions &common, const ModelOptions &model,
                                      const QString &frequency, QTextStream &err)
{
    const std::optional<Calculation> run = calculated(common, frequency, err);
    if (!run) {
        return std::nullopt;
    }
    return modelInputFor(run->shown, run->input, model.vertical(), model.xAxis());
}

// A check without figures: the engine is missing, or the model or what the engine made of it
// has no sound figures, or the engine failed on the deck.
int checkFailureStatus(EngineFailure failure)
{
    switch (failure) {
    case EngineFailure::Missing:
    case EngineFailure::Refused:
    case EngineFailure::Degenerate:
        return ExitNoFigures;
    default:
        return ExitRejected;
    }
}

void writeBytes(QTextStream &out, const QByteArray &bytes);

// --deck: the deck into `path`, or onto standard output for "-"; nothing without a path or a
// deck. False, with the reason told, when the file could not be written.
bool writeDeck(const QString &path, const QByteArray &deck, QStringView command, QTextStream &out,
               QTextStream &err)
{
    if (path.isEmpty() || deck.isEmpty()) {
        return true;
    }
    if (path == u"-") {
        writeBytes(out, deck);
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(deck) != deck.size() || !file.commit()) {
        err << kProgram << ' ' << command << ": the deck could not be written to " << path << ": "
            << file.errorString() << Qt::endl;
        return false;
    }
    return true;
}

// --format's value, once checked.
ModelFormat modelFormat(const QString &text)
{
    return text.compare(u"ez", Qt::CaseInsensitive) == 0 ? ModelFormat::Eznec : ModelFormat::Nec;
}

// Writes the model as the window's export does, whole or not at all, into `path`; "-" puts the
// model alone on standard output, so that it can be piped. False, with the reason told, when
// it could not be written.
bool writeModel(const QString &path, ModelFormat format, const ModelInput &model,
                const QString &frequency, QTextStream &out, QTextStream &err)
{
    const ModelBytes bytes = path == u"-" ? modelBytes(format, model) : ModelBytes{};
    const WriteResult written = path == u"-" ? bytes.result : saveModelFile(path, format, model);
    if (!written.ok()) {
        report(exportFailedMessage(path, written.error()), frequency, err);
        return false;
    }
    if (path == u"-") {
        writeBytes(out, bytes.bytes);
    }
    return true;
}

// Raw bytes on the stream's device; a stream on a string (the tests) gets them as Latin-1.
void writeBytes(QTextStream &out, const QByteArray &bytes)
{
    out.flush();
    if (QIODevice *device = out.device()) {
        device->write(bytes);
    } else {
        out << QString::fromLatin1(bytes);
    }
}

QString padded(const QString &text, int width)
{
    return text.rightJustified(width);
}

} // namespace

MoxonCli::MoxonCli(QTextStream &out, QTextStream &err)
    : m_out(out)
    , m_err(err)
{
}

int MoxonCli::run(const QStringList &arguments)
{
    const QString command = arguments.size() > 1 ? arguments.at(1) : QString();
    const QStringList rest =
        QStringList{arguments.value(0, kProgram) + u' ' + command} + arguments.mid(2);
    if (command == u"design") {
        return design(rest);
    }
    if (command == u"export") {
        return exportModel(rest);
    }
    if (command == u"check") {
        return check(rest);
    }
    if (command == u"tune") {
        return tuneModel(rest);
    }
    if (command == u"--version" || command == u"-v") {
        m_out << kProgram << ' ' << QStringLiteral(MOXON_VERSION) << Qt::endl;
        return ExitOk;
    }
    const QString usage = QStringLiteral(
        "Usage: moxon-cli <command> [options]\n"
        "Designs a Moxon rectangle antenna, exports it as a model, checks it with nec2c.\n\n"
        "Commands:\n"
        "  design   print the dimensions A to E for one or more frequencies\n"
        "  export   write the model as an NEC-2 deck or a binary model file\n"
        "  check    run the NEC-2 deck through nec2c: impedance, SWR, gain, front-to-back\n"
        "  tune     tune the dimensions with nec2c for a match on 50 ohm or the best "
        "front-to-back\n\n"
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

namespace {

// Parses `arguments` for one command; on a bad argument prints why and returns false.
bool parse(QCommandLineParser &parser, const QStringList &arguments, QTextStream &out,
           QTextStream &err, const std::function<QString()> &check, int &status)
{
    const QString name = arguments.first().section(u' ', 1);
    if (!parser.parse(arguments)) {
        err << kProgram << ' ' << name << ": " << parser.errorText() << Qt::endl;
        status = ExitUsage;
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // The parser names the program by its path; name the command as it is typed.
        QString help = parser.helpText();
        help.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                     QStringLiteral("Usage: ") + kProgram + u' ' + name);
        out << help;
        status = ExitOk;
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << kProgram << ' ' << name << ": unexpected argument '"
            << parser.positionalArguments().first() << "'" << Qt::endl;
        status = ExitUsage;
        return false;
    }
    const QString problem = check();
    if (!problem.isEmpty()) {
        err << kProgram << ' ' << name << ": " << problem << Qt::endl;
        status = ExitUsage;
        return false;
    }
    return true;
}

} // namespace

int MoxonCli::design(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the dimensions A to E of a Moxon rectangle, as the window shows "
                       "them. --freq may be given more than once."));
    const CommonOptions common(parser);
    const QCommandLineOption bandPlan(QStringLiteral("band-plan"),
                                      QStringLiteral("One row for each amateur band from 160 m "
                                                     "to 23 cm, at its usual design frequency."));
    parser.addOption(bandPlan);
    int status = ExitOk;
    const auto check = [&]() -> QString {
        if (common.frequencies().isEmpty() && !parser.isSet(bandPlan)) {
            return QStringLiteral("--freq or --band-plan is required");
        }
        if (!common.frequencies().isEmpty() && parser.isSet(bandPlan)) {
            return QStringLiteral("--freq and --band-plan do not go together");
        }
        return common.check();
    };
    if (!parse(parser, arguments, m_out, m_err, check, status)) {
        return status;
    }

    QList<Band> rows;
    if (parser.isSet(bandPlan)) {
        rows = amateurBands();
    } else {
        for (const QString &frequency : common.frequencies()) {
            rows.append({QString(), frequency});
        }
    }

    const bool withBand = parser.isSet(bandPlan);
    const QStringList letters = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                 QStringLiteral("D"), QStringLiteral("E")};
    QList<QStringList> table;
    int exit = ExitOk;
    for (const Band &row : rows) {
        const Calculation run =
            calculate(common.inputs(row.frequency), common.units(), commandLineNumbers());
        const std::optional<Message> message = calculationMessage(run);
        if (!run.accepted()) {
            exit = ExitRejected;
        }
        if (common.json()) {
            QJsonObject object;
            if (withBand) {
                object.insert(QStringLiteral("band"), row.name);
            }
            object.insert(QStringLiteral("frequency"), row.frequency);
            object.insert(QStringLiteral("wire"), run.form.wireSize);
            object.insert(QStringLiteral("wire_unit"),
                          run.form.wireUnit ? unitText(*run.form.wireUnit) : QString());
            object.insert(QStringLiteral("units"), unitText(common.units()));
            if (run.error) {
                object.insert(QStringLiteral("error"), run.error->message);
            } else {
                object.insert(QStringLiteral("frequency_mhz"), run.input.frequencyMHz);
                object.insert(QStringLiteral("L"), run.result.logRatio);
                const Dimensions &shown = run.shown.values;
                const std::array values = {shown.a, shown.b, shown.c, shown.d, shown.e};
                for (qsizetype i = 0; i < letters.size(); ++i) {
                    object.insert(letters.at(i), values.at(std::size_t(i)));
                }
                object.insert(QStringLiteral("warning"),
                              message ? QJsonValue(message->text) : QJsonValue());
            }
            m_out << QJsonDocument(object).toJson(QJsonDocument::Compact) << Qt::endl;
        }
        if (message) {
            report(*message, row.frequency, m_err);
        }
        if (!common.json() && run.accepted()) {
            QStringList cells;
            if (withBand) {
                cells.append(row.name);
            }
            cells.append(row.frequency);
            for (const QString &text : run.shown.texts) {
                cells.append(text);
            }
            cells.append(unitText(common.units()));
            table.append(cells);
        }
    }

    if (!common.json() && !table.isEmpty()) {
        QStringList header;
        if (withBand) {
            header.append(QStringLiteral("band"));
        }
        header << QStringLiteral("MHz") << letters << QStringLiteral("unit");
        table.prepend(header);
        QList<int> widths(header.size(), 0);
        for (const QStringList &cells : table) {
            for (qsizetype i = 0; i < cells.size(); ++i) {
                widths[i] = std::max(widths.at(i), int(cells.at(i).size()));
            }
        }
        for (const QStringList &cells : table) {
            QStringList line;
            for (qsizetype i = 0; i < cells.size(); ++i) {
                // Band names and units read best left-aligned, numbers right-aligned.
                const bool text = (withBand && i == 0) || i == cells.size() - 1;
                line.append(text ? cells.at(i).leftJustified(widths.at(i))
                                 : padded(cells.at(i), widths.at(i)));
            }
            QString joined = line.join(QStringLiteral("  "));
            while (joined.endsWith(u' ')) {
                joined.chop(1);
            }
            m_out << joined << Qt::endl;
        }
    }
    return exit;
}

int MoxonCli::exportModel(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the model exactly as the window's export would: the six wires from the "
        "dimensions as shown, written whole or not at all."));
    const CommonOptions common(parser);
    const ModelOptions model(parser);
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("nec (NEC-2 deck) or ez (binary model file)."),
                                    QStringLiteral("nec|ez"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The file to write; - for standard output."),
                                    QStringLiteral("FILE"));
    parser.addOption(format);
    parser.addOption(output);
    int status = ExitOk;
    const auto check = [&]() -> QString {
        const QString problem = checkModelCommand(common, model);
        if (!problem.isEmpty()) {
            return problem;
        }
        if (!parser.isSet(format)) {
            return QStringLiteral("--format is required: nec or ez");
        }
        if (choiceIndex(parser.value(format), {QStringLiteral("nec"), QStringLiteral("ez")}) < 0) {
            return QStringLiteral("--format must be nec or ez, not '%1'").arg(parser.value(format));
        }
        if (parser.value(output).isEmpty()) {
            return QStringLiteral("-o FILE is required (- for standard output)");
        }
        return {};
    };
    if (!parse(parser, arguments, m_out, m_err, check, status)) {
        return status;
    }

    const QString frequency = common.frequencies().first();
    const std::optional<ModelInput> modelInput = designModel(common, model, frequency, m_err);
    if (!modelInput) {
        return ExitRejected;
    }
    const QString path = parser.value(output);
    if (!writeModel(path, modelFormat(parser.value(format)), *modelInput, frequency, m_out,
                    m_err)) {
        return ExitRejected;
    }
    if (path == u"-") {
        return ExitOk;
    }
    // The confirmation's first line names the file; the rest is advice for the window.
    m_out << modelWrittenMessage(path).text.section(QLatin1Char('\n'), 0, 0) << Qt::endl;
    return ExitOk;
}

int MoxonCli::check(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs the NEC-2 deck of the design through nec2c: feed-point impedance, SWR on 50 ohms, "
        "forward gain, front-to-back ratio and beamwidth, and SWR from 5 % below to 5 % above "
        "with the bandwidth where it stays within 2. --json adds both pattern cuts. Over ground "
        "(--ground, --height) the forward gain, front-to-back and beamwidth are taken at the "
        "take-off angle, where the forward lobe is strongest.\n\n"
        "Exit status: 0 figures; 1 an input the window rejects, or nec2c failed on the deck; "
        "2 a bad argument; 3 no figures: nec2c is missing, the model is beyond NEC-2's "
        "thin-wire model, or nec2c's figures are not sound. With --json a failure prints "
        "{\"error\", \"message\"}."));
    const CommonOptions common(parser);
    const ModelOptions model(parser);
    const InstallationOptions where(parser);
    int status = ExitOk;
    const auto check = [&] {
        const QString problem = checkModelCommand(common, model);
        return problem.isEmpty() ? where.check() : problem;
    };
    if (!parse(parser, arguments, m_out, m_err, check, status)) {
        return status;
    }

    const QString frequency = common.frequencies().first();
    const std::optional<Calculation> run = calculated(common, frequency, m_err);
    if (!run) {
        return ExitRejected;
    }
    const CheckReport report = checkDeck(
        designCheckRequest(modelInputFor(run->shown, run->input, model.vertical(), model.xAxis()),
                           run->form.wireSize, where.installation(common.units())));
    if (report.failure != EngineFailure::Refused &&
        !writeDeck(where.deckPath(), report.deck, u"check", m_out, m_err)) {
        return ExitRejected;
    }
    if (common.json()) {
        m_out << QJsonDocument(checkReportToJson(report)).toJson(QJsonDocument::Compact)
              << Qt::endl;
    }
    if (!report.ok()) {
        m_err << kProgram << " check: " << report.message << Qt::endl;
        return checkFailureStatus(report.failure);
    }
    if (!common.json()) {
        m_out << checkReportText(report);
        m_out.flush();
    }
    return ExitOk;
}

int MoxonCli::tuneModel(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Tunes A to D (E = B + C + D) with nec2c for the antenna as it hangs: --goal match for "
        "the lowest SWR on 50 ohms with a front-to-back no worse than the formula's, --goal "
        "front-to-back for the best front-to-back with an SWR of at most 1.5. Prints the formula's "
        "and the tuned dimensions as the window shows them, and the figures before and after; "
        "--format and -o write the tuned model as export writes a design.\n\n"
        "Exit status as check's; a goal that was not met still prints the best design found "
        "(\"goal_met\": false)."));
    const CommonOptions common(parser);
    const ModelOptions model(parser);
    const InstallationOptions where(parser);
    const QCommandLineOption goal(QStringLiteral("goal"),
                                  QStringLiteral("match (the default) or front-to-back."),
                                  QStringLiteral("GOAL"), QStringLiteral("match"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("nec (NEC-2 deck) or ez (binary model file) "
                                                   "for -o."),
                                    QStringLiteral("nec|ez"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the tuned model; - for standard output."),
                                    QStringLiteral("FILE"));
    parser.addOption(goal);
    parser.addOption(format);
    parser.addOption(output);
    int status = ExitOk;
    const auto check = [&]() -> QString {
        QString problem = checkModelCommand(common, model);
        if (problem.isEmpty()) {
            problem = where.check();
        }
        if (!problem.isEmpty()) {
            return problem;
        }
        if (choiceIndex(parser.value(goal),
                        {QStringLiteral("match"), QStringLiteral("front-to-back")}) < 0) {
            return QStringLiteral("--goal must be match or front-to-back, not '%1'")
                .arg(parser.value(goal));
        }
        if (parser.isSet(output) != parser.isSet(format)) {
            return QStringLiteral("-o and --format go together");
        }
        if (parser.isSet(format) &&
            choiceIndex(parser.value(format), {QStringLiteral("nec"), QStringLiteral("ez")}) < 0) {
            return QStringLiteral("--format must be nec or ez, not '%1'").arg(parser.value(format));
        }
        return {};
    };
    if (!parse(parser, arguments, m_out, m_err, check, status)) {
        return status;
    }

    const QString frequency = common.frequencies().first();
    const std::optional<Calculation> run = calculated(common, frequency, m_err);
    if (!run) {
        return ExitRejected;
    }
    const ModelInput formula =
        modelInputFor(run->shown, run->input, model.vertical(), model.xAxis());
    const TuneSetup setup = tuneSetup(formula, run->shown.values, run->form.wireSize,
                                      where.installation(common.units()));
    // A design the check refuses cannot be tuned either: say why as check does.
    const CheckRequest first = setup.requestFor(setup.formula);
    if (!first.refusal.isEmpty()) {
        m_err << kProgram << " tune: " << first.refusal << Qt::endl;
        return ExitNoFigures;
    }
    const TuneGoal tuneGoal = parser.value(goal).compare(u"match", Qt::CaseInsensitive) == 0
                                  ? TuneGoal::Match
                                  : TuneGoal::FrontToBack;
    const TuneResult result = tune(tuneGoal, setup.formula, setup.decimals,
                                   nec2cTuneEngine(setup.requestFor));
    if (!result.failure.isEmpty()) {
        m_err << kProgram << " tune: " << result.failure << Qt::endl;
        return ExitNoFigures;
    }

    const ModelInput tuned = withDimensions(formula, result.tuned);
    if (parser.isSet(output) && !writeModel(parser.value(output), modelFormat(parser.value(format)),
                                            tuned, frequency, m_out, m_err)) {
        return ExitRejected;
    }
    if (!writeDeck(where.deckPath(), setup.requestFor(result.tuned).deck, u"tune", m_out, m_err)) {
        return ExitRejected;
    }
    if (common.json()) {
        m_out << QJsonDocument(tuneReportToJson(result, setup)).toJson(QJsonDocument::Compact)
              << Qt::endl;
    } else if (parser.value(output) != u"-" && where.deckPath() != u"-") {
        m_out << tuneReportText(result, setup);
    }
    m_out.flush();
    return ExitOk;
}

} // namespace moxon
