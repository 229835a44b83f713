#include "designcommand.h"

#include "bandplan.h"
#include "commandio.h"
#include "commandoptions.h"
#include "moxoncli.h"

#include <QJsonObject>

#include <array>

namespace moxon {

namespace {

// The table's lines: band names and units left-aligned, numbers right-aligned.
void printTable(QList<QStringList> table, const QStringList &header, bool withBand,
                QTextStream &out)
{
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
            const bool text = (withBand && i == 0) || i == cells.size() - 1;
            line.append(text ? cells.at(i).leftJustified(widths.at(i))
                             : cells.at(i).rightJustified(widths.at(i)));
        }
        QString joined = line.join(QStringLiteral("  "));
        while (joined.endsWith(u' ')) {
            joined.chop(1);
        }
        out << joined << Qt::endl;
    }
}

const QStringList &letters()
{
    static const QStringList names = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                      QStringLiteral("D"), QStringLiteral("E")};
    return names;
}

// One row for scripts: the inputs as given, then the dimensions, or the input's error.
QJsonObject rowJson(const Band &row, const Calculation &run, const std::optional<Message> &message,
                    bool withBand, DisplayUnit units)
{
    QJsonObject object;
    if (withBand) {
        object.insert(QStringLiteral("band"), row.name);
    }
    object.insert(QStringLiteral("frequency"), row.frequency);
    object.insert(QStringLiteral("wire"), run.form.wireSize);
    object.insert(QStringLiteral("wire_unit"),
                  run.form.wireUnit ? unitText(*run.form.wireUnit) : QString());
    object.insert(QStringLiteral("units"), unitText(units));
    if (run.error) {
        object.insert(QStringLiteral("error"), run.error->message);
        return object;
    }
    object.insert(QStringLiteral("frequency_mhz"), run.input.frequencyMHz);
    object.insert(QStringLiteral("L"), run.result.logRatio);
    const Dimensions &shown = run.shown.values;
    const std::array values = {shown.a, shown.b, shown.c, shown.d, shown.e};
    for (qsizetype i = 0; i < letters().size(); ++i) {
        object.insert(letters().at(i), values.at(std::size_t(i)));
    }
    object.insert(QStringLiteral("warning"), message ? QJsonValue(message->text) : QJsonValue());
    return object;
}

// One row for people: the band, the frequency, the dimensions as shown and their unit.
QStringList rowCells(const Band &row, const Calculation &run, bool withBand, DisplayUnit units)
{
    QStringList cells;
    if (withBand) {
        cells.append(row.name);
    }
    cells.append(row.frequency);
    for (const QString &text : run.shown.texts) {
        cells.append(text);
    }
    cells.append(unitText(units));
    return cells;
}

} // namespace

int designCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                  EngineScheduler &)
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
    CommandIo io(QStringLiteral("design"), out, err);
    const auto check = [&]() -> QString {
        if (common.frequencies().isEmpty() && !parser.isSet(bandPlan)) {
            return QStringLiteral("--freq or --band-plan is required");
        }
        if (!common.frequencies().isEmpty() && parser.isSet(bandPlan)) {
            return QStringLiteral("--freq and --band-plan do not go together");
        }
        return common.check();
    };
    if (const std::optional<int> status = io.parse(parser, arguments, check)) {
        return *status;
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
    QList<QStringList> table;
    int exit = ExitOk;
    for (const Band &row : rows) {
        const Calculation run =
            calculate(common.inputs(row.frequency), common.units(), LocaleNumbers(QLocale::c()));
        const std::optional<Message> message = CommandIo::calculationMessage(run);
        if (!run.accepted()) {
            exit = ExitRejected;
        }
        if (common.json()) {
            io.printJson(rowJson(row, run, message, withBand, common.units()));
        }
        if (message) {
            io.tell(*message, row.frequency);
        }
        if (!common.json() && run.accepted()) {
            table.append(rowCells(row, run, withBand, common.units()));
        }
    }

    if (!common.json() && !table.isEmpty()) {
        QStringList header;
        if (withBand) {
            header.append(QStringLiteral("band"));
        }
        header << QStringLiteral("MHz") << letters() << QStringLiteral("unit");
        printTable(table, header, withBand, out);
    }
    return exit;
}

} // namespace moxon
