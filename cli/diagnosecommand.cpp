#include "diagnosecommand.h"

#include "builtoptions.h"
#include "checkrequest.h"
#include "diagnosisreport.h"
#include "enginecommand.h"
#include "engineruns.h"
#include "machineformats.h"
#include "moxoncli.h"
#include "optionmaking.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>

namespace moxon {

namespace {

QString diagnoseDescription()
{
    return QStringLiteral(
               "Reads which cut of a built antenna is off from its measured impedance curve "
               "(--measured, a Touchstone 1.x or 2.0 one-port file of an analyser or VNA): the "
               "model of the dimensions as built, where it hangs, is fitted by nec2c to the "
               "file's complex impedance at its frequencies within %1 % of the design "
               "frequency. The unknowns are the antenna's electrical scale (the frame and the "
               "wire's velocity factor), the error of each driven-element tail and of each "
               "reflector tail (A and E as built, the gap C taking up the difference), with "
               "--fit-gap the gap's own error, and, for a file measured at the radio "
               "(--measured-at radio), the feed line's electrical length, which is rarely known "
               "to the centimetre: the model is carried through --feedline and "
               "--feedline-length to the radio and compared there. Each error comes with its "
               "1-sigma uncertainty, the fit's residual in ohms RMS with the noise of one "
               "reading read from the file's own smoothness. When the residual is more than "
               "three times the noise (and more than an ohm), the measurement is not this "
               "antenna alone and no diagnosis is given. Otherwise the trim of the antenna as "
               "diagnosed follows, as trim gives it: the change of each pair of tails that "
               "puts its dip on --target with the best front-to-back there, checked with "
               "nec2c; where the tails alone leave the front-to-back short, the trim that "
               "moves E too (gap_trim), and where even that leaves it short and below 30 dB, a "
               "new frame: every dimension divided by the scale, the tails trimmed onto the "
               "target (new_frame). A file with fewer than %2 frequencies in the range cannot "
               "be diagnosed: its dip alone is trimmed from, as trim does it, and the report "
               "says that a dip "
               "cannot tell an antenna that behaves longer all over from one whose tails are "
               "long, so the cut advised holds for both; the JSON then has dip_alone true, fit, "
               "explained, residual_ohm and noise_ohm null and trim the field trim.\n\n"
               "Exit status as trim's; a file that is not a one-port Touchstone file: 2 "
               "(\"measurement_refused\" with --json); too few frequencies and no SWR dip "
               "within the file's range (\"bad_input\"): 1.")
               .arg(kDiagnosisRangeShare * 100)
               .arg(kLeastDiagnosisPoints) +
           QStringLiteral("\n\n") + namedValues(InstallationOptions::names());
}

class DiagnoseCommand final : public EngineCommand
{
public:
    using EngineCommand::EngineCommand;

private:
    const InstallationOptions &where() const override { return m_where; }

    QStringList problems() const override
    {
        QString target;
        if (m_parser.isSet(m_target) && !targetMhz()) {
            target = QStringLiteral("--target must be a frequency in MHz, not '%1'")
                         .arg(m_parser.value(m_target));
        }
        QString at;
        if (!atRadio() &&
            m_parser.value(m_measuredAt).compare(u"antenna", Qt::CaseInsensitive) != 0) {
            at = QStringLiteral("--measured-at must be radio or antenna, not '%1'")
                     .arg(m_parser.value(m_measuredAt));
        } else if (atRadio() && !line()) {
            at = QStringLiteral("--measured-at radio needs the line it was measured through: "
                                "--feedline and --feedline-length");
        }
        return {m_parser.isSet(m_measured)
                    ? QString()
                    : QStringLiteral("give the measured impedance curve with --measured FILE"),
                m_built.check(m_common.units()), target, at};
    }

    [[nodiscard]] std::optional<double> targetMhz() const
    {
        return positiveArgument(m_parser.value(m_target));
    }

    [[nodiscard]] bool atRadio() const
    {
        return m_parser.value(m_measuredAt).compare(u"radio", Qt::CaseInsensitive) == 0;
    }

    [[nodiscard]] std::optional<FeedLine> line() const
    {
        return m_where.installation(m_common.units(), m_common.wireUnit()).feedLine;
    }

    // The file first: one that cannot be read stops the command before anything else is done.
    std::optional<int> prepare() override
    {
        const QString path = m_parser.value(m_measured);
        const TouchstoneResult read = readTouchstoneFile(path);
        if (const auto *error = std::get_if<TouchstoneError>(&read)) {
            m_io.say(error->sentence());
            if (m_common.json()) {
                m_io.printJson(
                    failureToJson(QStringLiteral("measurement_refused"), error->sentence()));
            }
            m_out.flush();
            return ExitUsage;
        }
        m_measurement.points = std::get<TouchstoneFile>(read).points;
        m_measurement.line = atRadio() ? line() : std::nullopt;
        m_measurement.fitGap = m_parser.isSet(m_fitGap);
        m_measurement.trimGap = m_parser.isSet(m_trimGap);
        m_whence = QFileInfo(path).fileName() + (atRadio() ? QStringLiteral(" at the radio")
                                                           : QStringLiteral(" at the antenna"));
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
        m_result = diagnoseOnEngine(m_setup, m_measurement,
                                    targetMhz().value_or(m_design.frequencyMhz), scheduler);
        return failureOf(m_result);
    }

    QJsonObject reportJson() const override
    {
        QJsonObject report = diagnosisReportToJson(m_result, m_setup);
        report.insert(QStringLiteral("measured_from"), m_whence);
        report.insert(QStringLiteral("measured_at"),
                      atRadio() ? QStringLiteral("radio") : QStringLiteral("antenna"));
        return report;
    }

    QString reportText() const override
    {
        return diagnosisReportText(m_result, m_setup, m_common.units(), m_whence);
    }

    const InstallationOptions m_where{m_parser};
    const BuiltOptions m_built{m_parser};
    const QCommandLineOption m_measured =
        added({QStringLiteral("measured"),
               QStringLiteral("The analyser's Touchstone file of the antenna (.s1p) over its "
                              "band, measured where --measured-at says."),
               QStringLiteral("FILE")});
    const QCommandLineOption m_measuredAt =
        added({QStringLiteral("measured-at"),
               QStringLiteral("Where --measured was measured: antenna (the default), at the feed "
                              "point, or radio, at the radio's end of the feed line that "
                              "--feedline and --feedline-length give, whose electrical length "
                              "the fit then finds too."),
               QStringLiteral("radio|antenna"), QStringLiteral("antenna")});
    const QCommandLineOption m_target = added(targetOption());
    const QCommandLineOption m_fitGap =
        added({QStringLiteral("fit-gap"),
               QStringLiteral("Fit the gap C's own error too, as when the frame itself is off.")});
    const QCommandLineOption m_trimGap = added(trimGapOption());
    DiagnosisMeasurement m_measurement;
    QString m_whence; // the file and where it was measured, in words
    TuneSetup m_setup;
    CheckRequest m_design;
    DiagnosisResult m_result;
};

} // namespace

int diagnoseCommand(const QStringList &arguments, QTextStream &out, QTextStream &err,
                    EngineScheduler &scheduler)
{
    return DiagnoseCommand(QStringLiteral("diagnose"), diagnoseDescription(), out, err)
        .run(arguments, scheduler);
}

} // namespace moxon
