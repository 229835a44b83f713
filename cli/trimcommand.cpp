#include "trimcommand.h"

#include "builtoptions.h"
#include "checkrequest.h"
#include "diagnosis.h"
#include "enginecommand.h"
#include "engineruns.h"
#include "feedline.h"
#include "machineformats.h"
#include "measureddip.h"
#include "moxoncli.h"
#include "optionmaking.h"
#include "reporttexts.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <variant>

namespace moxon {

namespace {

QString trimDescription()
{
    return QStringLiteral(
               "Brings a built antenna onto its frequency: its SWR dip, measured with an "
               "analyser (--measured, a Touchstone 1.x or 2.0 one-port file: S, Z or Y; RI, MA "
               "or DB; any frequency unit and reference resistance) or given (--dip), is held "
               "against the dip of the model of the dimensions as built, where it hangs, which "
               "gives the antenna's electrical scale: how much longer it behaves than its model. "
               "For that scale nec2c finds the field trim, a change of each pair of tails (A "
               "and E unchanged, the gap C taking up the difference) that puts the dip on "
               "--target with the best front-to-back there, and the rebuild, every dimension "
               "anew; each with the dip, SWR, front-to-back and SWR curve it predicts. The SWR "
               "dip is compared, not the impedance. A file measured at the radio "
               "(--measured-at radio) is first turned back to the feed point through the lossy "
               "line --feedline and --feedline-length give, so that neither the line's loss nor "
               "its impedance moves the dip; the JSON then has the dip as measured "
               "(raw_dip_mhz) beside the one turned back (deembedded_dip_mhz). A dip alone "
               "(--dip, or a file with fewer than %2 frequencies within %3 % of the design "
               "frequency) cannot tell an antenna that behaves longer all over from one whose "
               "tails are long: the field trim is then the cut whose front-to-back holds for "
               "both (dip_alone; long_tails_front_to_back_db in field_trim gives the "
               "long-tailed one's), and diagnose, from a file of the whole curve, tells the two "
               "apart.\n\n"
               "Exit status as check's; a file that is not a one-port Touchstone file, or has "
               "no SWR dip inside its range: 2, with one sentence naming the line or the reason "
               "(\"measurement_refused\" with --json), before anything else is done; a model "
               "without a dip within 5 % of the design frequency (\"no_dip\") or a measured dip "
               "more than %1 % from the model's, or a target as far from it "
               "(\"dip_out_of_reach\"): 1. With --json a "
               "failure prints {\"error\", \"message\"} as check's does.")
               .arg(kMostTrimScaleError * 100)
               .arg(kLeastDiagnosisPoints)
               .arg(kDiagnosisRangeShare * 100) +
           QStringLiteral("\n\n") + namedValues(InstallationOptions::names());
}

// The dip of a measured file, and where it came from.
struct FileDip
{
    double dipMhz = 0;               // where the trim takes the antenna's dip: at its feed point
    QString whence;                  // in words: "from antenna.s1p, SWR 1.04 there"
    std::optional<double> rawDipMhz; // the file's own dip, as measured; none outside its range
    std::optional<double> turnedMhz; // measured at the radio: the dip turned back to the antenna
    QList<double> frequenciesMhz;    // of the file's readings
};

// The dip of the file at `path`, measured at the radio's end of `line` when there is one, else
// at the antenna; or the sentence refusing the file.
std::variant<FileDip, QString> dipOfFile(const QString &path, const std::optional<FeedLine> &line)
{
    const TouchstoneResult read = readTouchstoneFile(path);
    if (const auto *error = std::get_if<TouchstoneError>(&read)) {
        return error->sentence();
    }
    const QString name = QFileInfo(path).fileName();
    const QList<TouchstonePoint> &measured = std::get<TouchstoneFile>(read).points;
    // Before the dip is found and before anything else uses the curve.
    const QList<TouchstonePoint> atFeed =
        line ? deembedded(measured, LossyLine(line->cable), line->lengthMetres) : measured;
    const std::variant<MeasuredDip, QString> dip = measuredDip(atFeed, name);
    if (const auto *reason = std::get_if<QString>(&dip)) {
        return *reason;
    }
    const MeasuredDip &found = std::get<MeasuredDip>(dip);
    FileDip result{
        found.frequencyMhz,
        QStringLiteral("from %1, SWR %2 there").arg(name, QLocale::c().toString(found.swr, 'f', 2)),
        found.frequencyMhz,
        std::nullopt,
        {}};
    for (const TouchstonePoint &point : measured) {
        result.frequenciesMhz.append(point.frequencyMhz);
    }
    if (line) {
        const std::variant<MeasuredDip, QString> raw = measuredDip(measured, name);
        const auto *rawDip = std::get_if<MeasuredDip>(&raw);
        result.rawDipMhz = rawDip ? std::optional(rawDip->frequencyMhz) : std::nullopt;
        result.turnedMhz = found.frequencyMhz;
        result.whence = QStringLiteral("from %1, measured at the radio and turned back through "
                                       "the feed line: SWR %2 at the antenna; %3 at the radio")
                            .arg(name, QLocale::c().toString(found.swr, 'f', 2),
                                 rawDip ? QLocale::c().toString(rawDip->frequencyMhz, 'f', 4) +
                                              QStringLiteral(" MHz")
                                        : QStringLiteral("no dip"));
    }
    return result;
}

class TrimCommand final : public EngineCommand
{
public:
    using EngineCommand::EngineCommand;

private:
    const InstallationOptions &where() const override { return m_where; }

    QStringList problems() const override
    {
        QString problem;
        if (!m_parser.isSet(m_measured) && !m_parser.isSet(m_dip)) {
            problem = QStringLiteral("give the measurement with --measured FILE or --dip MHZ");
        } else if (m_parser.isSet(m_measured) && m_parser.isSet(m_dip)) {
            problem = QStringLiteral("--measured and --dip give the same thing: give one");
        } else if (m_parser.isSet(m_dip) && !positiveArgument(m_parser.value(m_dip))) {
            problem = QStringLiteral("--dip must be a frequency in MHz, not '%1'")
                          .arg(m_parser.value(m_dip));
        } else if (m_parser.isSet(m_target) && !positiveArgument(m_parser.value(m_target))) {
            problem = QStringLiteral("--target must be a frequency in MHz, not '%1'")
                          .arg(m_parser.value(m_target));
        }
        return {m_built.check(m_common.units()), problem, measuredAtProblem()};
    }

    // What is wrong with --measured-at, or empty.
    [[nodiscard]] QString measuredAtProblem() const
    {
        const QString at = m_parser.value(m_measuredAt);
        if (!isAt(u"antenna") && !isAt(u"radio")) {
            return QStringLiteral("--measured-at must be radio or antenna, not '%1'").arg(at);
        }
        if (isAt(u"radio") && !m_parser.isSet(m_measured)) {
            return QStringLiteral("--measured-at radio needs --measured FILE: a dip given with "
                                  "--dip cannot be turned back through the line");
        }
        if (isAt(u"radio") &&
            !m_where.installation(m_common.units(), m_common.wireUnit()).feedLine) {
            return QStringLiteral("--measured-at radio needs the line it was measured through: "
                                  "--feedline and --feedline-length");
        }
        return {};
    }

    [[nodiscard]] bool isAt(QStringView plane) const
    {
        return m_parser.value(m_measuredAt).compare(plane, Qt::CaseInsensitive) == 0;
    }

    // The measurement first: a file that cannot be read stops the command before anything
    // else is done.
    std::optional<int> prepare() override
    {
        m_measuredDipMhz = positiveArgument(m_parser.value(m_dip)).value_or(0);
        m_whence = QStringLiteral("given with --dip");
        if (!m_parser.isSet(m_measured)) {
            return std::nullopt;
        }
        const std::optional<FeedLine> line =
            isAt(u"radio") ? m_where.installation(m_common.units(), m_common.wireUnit()).feedLine
                           : std::nullopt;
        const auto read = dipOfFile(m_parser.value(m_measured), line);
        if (const auto *refusal = std::get_if<QString>(&read)) {
            m_io.say(*refusal);
            if (m_common.json()) {
                m_io.printJson(failureToJson(QStringLiteral("measurement_refused"), *refusal));
            }
            m_out.flush();
            return ExitUsage;
        }
        m_file = std::get<FileDip>(read);
        m_measuredDipMhz = m_file->dipMhz;
        m_whence = m_file->whence;
        return std::nullopt;
    }

    std::optional<int> setUp(const Calculation &run) override
    {
        m_setup = tuneSetupOf(run);
        m_setup.formula = m_built.dimensions().value_or(m_setup.formula);
        m_design = m_setup.requestFor(m_setup.formula);
        return std::nullopt;
    }

    QString refusal() const override { return m_design.refusal; }

    std::optional<CommandFailure> analyse(EngineScheduler &scheduler) override
    {
        const double targetMhz =
            positiveArgument(m_parser.value(m_target)).value_or(m_design.frequencyMhz);
        // A typed dip, or a file with too few readings near the design frequency to be
        // diagnosed, gives the dip alone.
        const bool dipAlone = !m_file || onlyTheDip(m_file->frequenciesMhz, m_design.frequencyMhz);
        m_result = trimOnEngine(m_setup, m_measuredDipMhz, targetMhz, scheduler,
                                {.dipAlone = dipAlone, .gap = m_parser.isSet(m_trimGap)});
        return failureOf(m_result);
    }

    QJsonObject reportJson() const override
    {
        QJsonObject report = trimReportToJson(m_result, m_setup);
        report.insert(QStringLiteral("measured_from"), m_whence);
        if (m_file) {
            const auto mhz = [](const std::optional<double> &value) {
                return value ? QJsonValue(*value) : QJsonValue();
            };
            report.insert(QStringLiteral("measured_at"),
                          m_file->turnedMhz ? QStringLiteral("radio") : QStringLiteral("antenna"));
            report.insert(QStringLiteral("raw_dip_mhz"), mhz(m_file->rawDipMhz));
            report.insert(QStringLiteral("deembedded_dip_mhz"), mhz(m_file->turnedMhz));
        }
        return report;
    }

    QString reportText() const override
    {
        return trimReportText(m_result, m_setup, m_common.units(), m_whence);
    }

    const InstallationOptions m_where{m_parser};
    const BuiltOptions m_built{m_parser};
    const QCommandLineOption m_measured =
        added({QStringLiteral("measured"),
               QStringLiteral("The analyser's Touchstone file of the antenna (.s1p), measured "
                              "where --measured-at says."),
               QStringLiteral("FILE")});
    const QCommandLineOption m_measuredAt =
        added({QStringLiteral("measured-at"),
               QStringLiteral("Where --measured was measured: antenna (the default), at the feed "
                              "point, or radio, at the radio's end of the feed line that "
                              "--feedline and --feedline-length give, through which the file is "
                              "turned back to the feed point before its dip is found."),
               QStringLiteral("radio|antenna"), QStringLiteral("antenna")});
    const QCommandLineOption m_dip = added({QStringLiteral("dip"),
                                            QStringLiteral("Instead of --measured: the frequency "
                                                           "of the measured SWR dip, in MHz."),
                                            QStringLiteral("MHZ")});
    const QCommandLineOption m_target = added(targetOption());
    const QCommandLineOption m_trimGap = added(trimGapOption());
    double m_measuredDipMhz = 0;
    QString m_whence;              // where the measured dip comes from, in words
    std::optional<FileDip> m_file; // with --measured
    TuneSetup m_setup;
    CheckRequest m_design;
    TrimResult m_result;
};

} // namespace

int trimCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                EngineScheduler &scheduler)
{
    return TrimCommand(QStringLiteral("trim"), trimDescription(), out, err)
        .run(arguments, scheduler);
}

} // namespace moxon
