// The build sheet, from the check's figures to the PDF file on disk, as moxon-cli sheet and
// the check window write it: for each design, nec2c's check runs once (not timed), then the
// sheet is made and written in each language, the first time in the process (the face
// registered and read, the font database set up, the translation loaded) and then the median
// of the rounds. The goal: under 1 s, the first time included.
// Usage: QT_QPA_PLATFORM=offscreen build/bench/bench_sheet [rounds]   (default 9)

#include "benchdesigns.h"
#include "buildsheet.h"
#include "captionface.h"
#include "checkrunner.h"
#include "enginescheduler.h"
#include "sheetpdf.h"
#include "translation.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace moxon;
using namespace moxon::bench;

namespace {

constexpr double kGoalMs = 1000;

// Makes the sheet of `setup` from the check's `report` and writes it to `path` in `language`,
// as the command line does after its check: the face and the translation set up each time.
// Its wall time in ms; negative when the file was not written.
double writeSheet(const TuneSetup &setup, const BenchDesign &design, const CheckReport &report,
                  UiLanguage language, const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    const Calculation run = calculate(FormInputs{design.frequency, design.wire, design.wireUnit},
                                      design.units, LocaleNumbers(QLocale::c()));
    BuildSheet sheet =
        buildSheet(modelInputFor(run.shown, run.input, false, true), run.form.wireSize,
                   design.installation, setup.formula, defaultAllowances(design.units));
    setPredictions(sheet, report.figures,
                   report.fittedCurve.isEmpty() ? report.sweep : report.fittedCurve);
    Translation translation;
    translation.setLanguage(language);
    const CaptionFace face;
    const QString failure = saveBuildSheetPdf(path, sheet, QLocale::c());
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    return failure.isEmpty() ? ms : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    const QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 9;
    QTextStream out(stdout);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
    EngineScheduler scheduler;
    for (const BenchDesign &design : benchDesigns()) {
        const TuneSetup setup = setupOf(design);
        const CheckReport report = checkDeck(setup.requestFor(setup.formula), scheduler);
        if (!report.ok()) {
            out << design.name << ": the check failed: " << report.message << Qt::endl;
            return 1;
        }
        out << design.name << '\n';
        for (const UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
            const double first = writeSheet(setup, design, report, language, path);
            QList<double> ms;
            for (int round = 0; round < rounds; ++round) {
                ms.append(writeSheet(setup, design, report, language, path));
            }
            if (first < 0 || std::ranges::any_of(ms, [](double t) { return t < 0; })) {
                out << "  the sheet could not be written to " << path << Qt::endl;
                return 1;
            }
            out << "  " << uiLanguageName(language) << ": first " << first << " ms, then median "
                << median(ms) << " ms of " << rounds << "; " << QFileInfo(path).size()
                << " bytes   (goal < " << kGoalMs
                << " ms: " << (std::max(first, median(ms)) < kGoalMs ? "met" : "NOT met") << ")\n";
        }
        out.flush();
    }
    return 0;
}
