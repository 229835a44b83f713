#include "sheetcommand.h"

#include "builtoptions.h"
#include "captionface.h"
#include "checkrequest.h"
#include "enginecommand.h"
#include "engineruns.h"
#include "moxoncli.h"
#include "optionmaking.h"
#include "sheetpdf.h"
#include "translation.h"

#include <QGuiApplication>
#include <QLocale>

#include <cmath>

namespace moxon {

namespace {

QString sheetDescription()
{
    return QStringLiteral(
               "Writes the build sheet of the design as it hangs, a page to take outside, as PDF "
               "(--pdf): the cut list, each half of the driven element from the feed point to its "
               "tail tip and the reflector in one piece, each with the wrap allowance at both "
               "ends and the feed gap apart; the spacing of the tail insulators (C); the arms of "
               "the X-frame spreader from the hub's centre to each corner and the angles between "
               "them; a drawing with the letters and the pieces; and nec2c's predicted SWR dip, "
               "SWR at the design frequency and front-to-back, as check runs them. "
               "--tolerances adds how far each of A to D may be cut off, at the tolerance "
               "analysis's cost in nec2c runs. The sheet is in the language last chosen in the "
               "window (Chinese unless English was) or --language's, on A4 (US Letter where the "
               "locale measures in inches); it needs no display. The same cut list is printed "
               "as text, or as JSON with --json: frequency_mhz, units, design (a to e), "
               "dimensions (formula or given), wire, wire_unit, installation (as check's), "
               "wrap_allowance, feed_gap, driver_half and reflector (count, span as it hangs "
               "between its insulators, cut with the wrap at both ends), tail_spacing, "
               "total_wire, spreader (arms, arm, angle_across_e_deg, angle_across_a_deg), every "
               "length in the unit of --units; dip_mhz (null when the SWR has no dip within the "
               "sweep), swr_50, forward_gain_dbi, front_to_back_db, over ground takeoff_deg; "
               "tolerances (a to d, tolerance_minus and tolerance_plus) or null without "
               "--tolerances; pdf, the file written.\n\n"
               "Exit status as check's; a sheet that could not be written: 1 "
               "(\"sheet_not_written\"). With --json a failure prints {\"error\", \"message\"} "
               "as check's does.\n\n") +
           namedValues(InstallationOptions::names() +
                       QList<NamedValues>{{QStringLiteral("--language"),
                                           {QStringLiteral("en"), QStringLiteral("zh")}}});
}

class SheetCommand final : public EngineCommand
{
public:
    using EngineCommand::EngineCommand;

private:
    const InstallationOptions &where() const override { return m_where; }

    QStringList problems() const override
    {
        return {m_sweep.check(),
                m_output.check(m_common.json()),
                pdfProblem(),
                m_built.check(m_common.units()),
                lengthProblem(m_wrap),
                lengthProblem(m_feedGap),
                language() ? QString()
                           : QStringLiteral("--language must be en or zh, not '%1'")
                                 .arg(m_parser.value(m_language))};
    }

    std::optional<int> setUp(const Calculation &run) override;

    QString refusal() const override { return m_request.refusal; }

    std::optional<CommandFailure> analyse(EngineScheduler &scheduler) override;

    QJsonObject reportJson() const override
    {
        QJsonObject object = buildSheetToJson(m_sheet);
        object.insert(QStringLiteral("pdf"), m_parser.value(m_pdf));
        return object;
    }

    // The sheet on standard output goes alone, without the report after it.
    QString reportText() const override
    {
        const QString pdf = m_parser.value(m_pdf);
        if (pdf == u"-" || m_output.toStandardOutput()) {
            return {};
        }
        return buildSheetText(m_sheet) + QStringLiteral("Written to %1\n").arg(pdf);
    }

    [[nodiscard]] QString pdfProblem() const
    {
        const QString pdf = m_parser.value(m_pdf);
        if (pdf.isEmpty()) {
            return QStringLiteral("--pdf FILE is required (- for standard output)");
        }
        if (pdf == u"-" && (m_common.json() || m_output.deckPath() == u"-")) {
            return QStringLiteral("--pdf - and %1 would both write to standard output; write one "
                                  "of them to a file")
                .arg(m_common.json() ? QStringLiteral("--json") : QStringLiteral("--deck -"));
        }
        return {};
    }

    [[nodiscard]] QString lengthProblem(const QCommandLineOption &option) const
    {
        if (!m_parser.isSet(option) || lengthArgument(m_parser.value(option))) {
            return {};
        }
        return QStringLiteral("--%1 must be a length of 0 or more, not '%2'")
            .arg(option.names().constFirst(), m_parser.value(option));
    }

    [[nodiscard]] std::optional<UiLanguage> language() const
    {
        return m_parser.isSet(m_language) ? uiLanguageFromName(m_parser.value(m_language))
                                          : storedUiLanguage();
    }

    // The allowances in metres: the options' in the unit, else the unit's own.
    [[nodiscard]] CutAllowances allowances() const
    {
        const DisplayUnit units = m_common.units();
        CutAllowances allowances = defaultAllowances(units);
        const double metresPerUnit = unitInfo(units).metresPerUnit;
        if (m_parser.isSet(m_wrap)) {
            allowances.wrap = lengthArgument(m_parser.value(m_wrap)).value_or(0) * metresPerUnit;
        }
        if (m_parser.isSet(m_feedGap)) {
            allowances.feedGap =
                lengthArgument(m_parser.value(m_feedGap)).value_or(0) * metresPerUnit;
        }
        return allowances;
    }

    const SweepOptions m_sweep{m_parser};
    const InstallationOptions m_where{m_parser};
    const OutputOptions m_output{m_parser, {{}, {}, false, true}};
    const BuiltOptions m_built{m_parser};
    const QCommandLineOption m_pdf =
        added({QStringLiteral("pdf"),
               QStringLiteral("Write the build sheet as PDF into FILE; - for standard output."),
               QStringLiteral("FILE")});
    const QCommandLineOption m_wrap = added(
        {QStringLiteral("wrap-allowance"),
         QStringLiteral("Wire wrapped back on itself at each end tied to an insulator, in the unit "
                        "of --units; by default 5 cm, or 2 in for --units ft and in."),
         QStringLiteral("T")});
    const QCommandLineOption m_feedGap = added(
        {QStringLiteral("feed-gap"),
         QStringLiteral("Between the driven element's halves at its centre insulator, bridged by "
                        "the feed line's leads, in the unit of --units; by default 2.5 cm, or 1 in "
                        "for --units ft and in."),
         QStringLiteral("T")});
    const QCommandLineOption m_tolerances = added(
        {QStringLiteral("tolerances"),
         QStringLiteral("Also compute how far each of A to D may be cut off, as tolerance does.")});
    const QCommandLineOption m_language =
        added({QStringLiteral("language"),
               QStringLiteral("The sheet's language: zh (Simplified Chinese) or en; by default the "
                              "one last chosen in the window."),
               QStringLiteral("en|zh")});
    TuneSetup m_setup;
    CheckRequest m_request;
    BuildSheet m_sheet;
};

std::optional<int> SheetCommand::setUp(const Calculation &run)
{
    m_setup = tuneSetupOf(run);
    const std::optional<TuneDimensions> given = m_built.dimensions();
    m_setup.formula = given.value_or(m_setup.formula);
    m_request = m_setup.requestFor(m_setup.formula);
    m_request.sweep = m_sweep.mode();
    const CutAllowances cut = allowances();
    const double a = m_setup.formula.a * m_setup.metresPerUnit;
    // A gap as wide as the element would leave the halves nothing before the corners; an
    // allowance as long as it is no allowance.
    for (const auto &[value, option] : {std::pair(cut.feedGap, QStringLiteral("--feed-gap")),
                                        std::pair(cut.wrap, QStringLiteral("--wrap-allowance"))}) {
        if (value >= a) {
            m_io.say(
                QStringLiteral("%1 must be shorter than A, %2 %3")
                    .arg(option, QLocale::c().toString(m_setup.formula.a, 'g', 6), m_setup.unit));
            return ExitUsage;
        }
    }
    m_sheet = buildSheet(
        withDimensions(CommandIo::model(run, m_model), m_setup.formula), run.form.wireSize,
        m_where.installation(m_common.units(), m_common.wireUnit()), m_setup.formula, cut);
    m_sheet.origin = given ? SheetDimensions::Given : SheetDimensions::Formula;
    return std::nullopt;
}

std::optional<CommandFailure> SheetCommand::analyse(EngineScheduler &scheduler)
{
    CheckReport report;
    if (std::optional<CommandFailure> failure =
            checked(m_request, m_output.deckPath(), scheduler, report)) {
        return failure;
    }
    setPredictions(m_sheet, report.figures,
                   report.fittedCurve.isEmpty() ? report.sweep : report.fittedCurve);
    if (m_parser.isSet(m_tolerances)) {
        const ToleranceResult tolerances =
            toleranceOnEngine(m_setup, kDefaultCutErrorOfA * m_setup.formula.a, scheduler);
        if (std::optional<CommandFailure> failure = failureOf(tolerances)) {
            return failure;
        }
        m_sheet.tolerances = tolerances;
    }
    // The sheet is drawn in Qt Gui's fonts, which need its application; main() makes one.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        const QString sentence = QStringLiteral("the build sheet needs Qt Gui's application");
        m_io.say(sentence);
        return CommandFailure{QStringLiteral("sheet_not_written"), sentence, ExitRejected};
    }
    Translation translation;
    translation.setLanguage(language().value_or(UiLanguage::Chinese));
    const CaptionFace face;
    return m_io.writeSheet(m_parser.value(m_pdf), buildSheetPdf(m_sheet, QLocale()));
}

} // namespace

int sheetCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                 EngineScheduler &scheduler)
{
    return SheetCommand(QStringLiteral("sheet"), sheetDescription(), out, err)
        .run(arguments, scheduler);
}

} // namespace moxon
