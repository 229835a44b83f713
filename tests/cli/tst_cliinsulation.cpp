#include "calculation.h"
#include "checkrequest.h"
#include "enginedip.h"
#include "inprocess.h"
#include "moxoncli.h"
#include "necoutput.h"
#include "runnec2c.h"
#include "sweepplan.h"
#include "testsuite.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

QJsonObject jsonOf(const CliRun &run)
{
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

// The 20 m design in metres, of 2 mm copper wire; over average ground 10 m up, or in free
// space.
const QStringList kDesign{u"-f"_s,          u"14.15"_s, u"-w"_s, u"2"_s,
                          u"--wire-unit"_s, u"mm"_s,    u"-u"_s, u"m"_s};
const QStringList kOverGround{u"--height"_s, u"10"_s,          u"--ground"_s,
                              u"average"_s,  u"--conductor"_s, u"copper"_s};
const QStringList kPvc{u"--insulation"_s, u"pvc"_s, u"--insulation-thickness"_s, u"0.8"_s};
constexpr double kDipStep = 0.003; // MHz, of the direct runs finding a dip

// The deck of the formula's design in bare wire, as the check writes it.
CheckRequest bareRequest(const FormInputs &form, const Installation &installation)
{
    const Calculation run = calculate(form, DisplayUnit::Metre, LocaleNumbers(QLocale::c()));
    return checkRequestFor(modelInputFor(run.shown, run.input, false, true), run.form.wireSize,
                           installation);
}

// `deck` with the insulation as the NEC-2 literature writes it, worked out here on its own: a
// series inductance per metre (mu0 / 2 pi)(1 - 1/eps) ln(b/a) on every segment.
QByteArray withOwnLoading(const QByteArray &deck, double radiusMetres, double permittivity,
                          double thicknessMetres)
{
    const double inductance =
        2e-7 * (1 - 1 / permittivity) * std::log((radiusMetres + thicknessMetres) / radiusMetres);
    QByteArray loaded = deck;
    const qsizetype geometryEnd = loaded.indexOf("\nGE") + 1;
    const qsizetype next = loaded.indexOf('\n', geometryEnd) + 1;
    loaded.insert(next, "LD 3 0 0 0 0 " + QByteArray::number(inductance, 'g', 12) + " 0\n");
    return loaded;
}

// Where nec2c's SWR on `deck` is lowest near `guessMhz`: every 3 kHz over +-30 kHz; 0 outside.
double directDip(const QByteArray &deck, double guessMhz)
{
    const SweepSlice slice = frequencySlice(deck, dipSearchFrequencies(guessMhz, kDipStep));
    return parabolaDip(readSliceRun(runNec2c(slice.deck), slice).points, kDipStep);
}

} // namespace

// Insulated wire on the command line, against the real nec2c engine on decks that carry the
// insulation's loading as the test works it out.
class TestCliInsulation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedBeforeAnyRun_data();
    void refusedBeforeAnyRun();
    void checkAgreesWithLoadedDeck_data();
    void checkAgreesWithLoadedDeck();
    void matchTuningCutsForTheInsulatedWire();
    void toleranceAndTrimTakeTheInsulation_data();
    void toleranceAndTrimTakeTheInsulation();
};

void TestCliInsulation::refusedBeforeAnyRun_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("insulation");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("sentence");

    const auto row = [](const char *name, const QString &command, const QStringList &insulation,
                        int status, const QString &sentence) {
        QTest::newRow(name) << command << insulation << status << sentence;
    };
    const auto given = [](const QString &kind, const QString &thickness) {
        return QStringList{u"--insulation"_s, kind, u"--insulation-thickness"_s, thickness};
    };
    row("unknown kind", u"check"_s, given(u"rubber"_s, u"0.8"_s), ExitUsage,
        u"--insulation must be pvc, polyethylene, ptfe or a relative permittivity from 1 to 100, "
        "not 'rubber'"_s);
    row("permittivity below 1", u"tune"_s, given(u"0.5"_s, u"0.8"_s), ExitUsage, u"not '0.5'"_s);
    row("permittivity past any material", u"check"_s, given(u"1e6"_s, u"0.8"_s), ExitUsage,
        u"not '1e6'"_s);
    row("permittivity not a number", u"check"_s, given(u"nan"_s, u"0.8"_s), ExitUsage,
        u"not 'nan'"_s);
    row("negative thickness", u"tolerance"_s, given(u"pvc"_s, u"-0.1"_s), ExitUsage,
        u"--insulation-thickness must be a thickness of 0 or more, not '-0.1'"_s);
    row("infinite thickness", u"check"_s, given(u"pvc"_s, u"inf"_s), ExitUsage, u"not 'inf'"_s);
    row("kind without thickness", u"trim"_s, QStringList{u"--insulation"_s, u"pvc"_s}, ExitUsage,
        u"--insulation-thickness is required with --insulation"_s);
    row("thickness without kind", u"check"_s, QStringList{u"--insulation-thickness"_s, u"0.8"_s},
        ExitUsage, u"--insulation-thickness needs --insulation"_s);
    row("air slows nothing", u"check"_s, given(u"1"_s, u"0.8"_s), ExitNoFigures,
        u"is air, and slows the wave on the wire not at all"_s);
    // A hundred-thousandth of slowing on 2 mm wire at 14.15 MHz needs 0.232 um of PVC.
    row("too thin to show", u"tune"_s, given(u"pvc"_s, u"0.0001"_s), ExitNoFigures,
        u"give at least 0.000232 mm"_s);
    // A tenth of the wire's own inductance: ln(b/a) = 0.1 (ln(lambda/2a) - 1) / (1 - 1/3.5).
    row("too thick for the model", u"trim"_s, given(u"pvc"_s, u"3"_s), ExitNoFigures,
        u"velocity factors down to 0.95; on this wire that allows at most 2.18 mm"_s);
}

void TestCliInsulation::refusedBeforeAnyRun()
{
    QFETCH(QString, command);
    QFETCH(QStringList, insulation);
    QFETCH(int, status);
    QFETCH(QString, sentence);

    // No engine on PATH: a refusal must not need one.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    QStringList arguments = kDesign + insulation + QStringList{u"--json"_s};
    if (command == u"trim") {
        arguments += QStringList{u"--dip"_s, u"14.0"_s};
    }
    const CliRun run = runCli(command, arguments);
    qputenv("PATH", path);

    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(sentence), qPrintable(run.err));
    if (status == ExitNoFigures) {
        const QJsonObject report = jsonOf(run);
        QCOMPARE(report.value(u"error"_s).toString(), u"model_refused"_s);
        QVERIFY2(report.value(u"message"_s).toString().contains(sentence), qPrintable(run.out));
    }
}

void TestCliInsulation::checkAgreesWithLoadedDeck_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<FormInputs>("form");
    QTest::addColumn<Installation>("installation");
    QTest::addColumn<double>("radiusMetres");
    QTest::addColumn<double>("permittivity");
    QTest::addColumn<double>("thicknessMetres");

    const FormInputs twoMillimetres{u"14.15"_s, u"2"_s, WireUnit::Millimetre};
    QTest::newRow("20 m over average ground, 0.8 mm of PVC")
        << kDesign + kOverGround + kPvc << twoMillimetres
        << Installation{10, {GroundKind::Real, 13, 0.005}, copper(), {}} << 0.001 << 3.5 << 0.0008;
    QTest::newRow("20 m in free space, 0.5 mm of polyethylene")
        << kDesign + QStringList{u"--insulation"_s, u"polyethylene"_s, u"--insulation-thickness"_s,
                                 u"0.5"_s}
        << twoMillimetres << Installation{} << 0.001 << 2.3 << 0.0005;
    // A gauge's insulation is in inches: 0.02 in of a jacket of permittivity 2.8 on #14.
    const double gauge14 = gaugeDiameterInches(14) * 0.0254 / 2;
    QTest::newRow("20 m in free space, #14 in 0.02 in of eps 2.8")
        << QStringList{u"-f"_s,           u"14.15"_s, u"-w"_s,
                       u"#14"_s,          u"-u"_s,    u"m"_s,
                       u"--insulation"_s, u"2.8"_s,   u"--insulation-thickness"_s,
                       u"0.02"_s}
        << FormInputs{u"14.15"_s, u"#14"_s, WireUnit::Gauge} << Installation{} << gauge14 << 2.8
        << 0.02 * 0.0254;
}

void TestCliInsulation::checkAgreesWithLoadedDeck()
{
    QFETCH(QStringList, arguments);
    QFETCH(FormInputs, form);
    QFETCH(Installation, installation);
    QFETCH(double, radiusMetres);
    QFETCH(double, permittivity);
    QFETCH(double, thicknessMetres);

    const CliRun run = runCli(u"check"_s, arguments + QStringList{u"--json"_s});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QJsonObject report = jsonOf(run);
    const QJsonObject insulation =
        report.value(u"installation"_s).toObject().value(u"insulation"_s).toObject();
    QCOMPARE(insulation.value(u"permittivity"_s).toDouble(), permittivity);
    QVERIFY(std::fabs(insulation.value(u"thickness_m"_s).toDouble() - thicknessMetres) < 1e-12);

    // The figures at the design frequency: nec2c's own on the deck the test loaded.
    CheckRequest bare = bareRequest(form, installation);
    CheckRequest loaded = bare;
    loaded.deck = withOwnLoading(bare.deck, radiusMetres, permittivity, thicknessMetres);
    const FiguresStep own = readFiguresRun(runNec2c(loaded.deck), loaded);
    QVERIFY2(own.failure == EngineFailure::None, qPrintable(own.message));
    const auto agrees = [](double reported, double engine, double within) {
        return std::fabs(reported - engine) <= within;
    };
    QVERIFY(agrees(report.value(u"swr_50"_s).toDouble(), own.figures.swr, 1e-4));
    QVERIFY(agrees(report.value(u"forward_gain_dbi"_s).toDouble(), own.figures.forwardGain, 0.01));
    QVERIFY(agrees(report.value(u"front_to_back_db"_s).toDouble(), own.figures.frontToBack, 0.01));

    // The dips: the check's fitted curve and its one bare run against direct runs, to 2 kHz.
    const double dip = report.value(u"dip_mhz"_s).toDouble();
    const double bareDip = report.value(u"bare_dip_mhz"_s).toDouble();
    const double ownDip = directDip(loaded.deck, dip);
    const double ownBareDip = directDip(bare.deck, bareDip);
    QVERIFY2(std::fabs(dip - ownDip) < 0.002, qPrintable(u"%1 %2"_s.arg(dip).arg(ownDip)));
    QVERIFY2(std::fabs(bareDip - ownBareDip) < 0.002,
             qPrintable(u"%1 %2"_s.arg(bareDip).arg(ownBareDip)));
    const double shift = report.value(u"insulation_dip_shift_percent"_s).toDouble();
    // The JSON gives each figure to the digits it carries.
    QVERIFY(std::fabs(shift - 100 * (dip - bareDip) / bareDip) < 1e-3);
    // Usual jackets move the dip down by between 1 % and 5 %.
    QVERIFY2(shift <= -1 && shift >= -5, qPrintable(QString::number(shift)));
    QCOMPARE(report.value(u"bare_engine_frequencies"_s).toArray().size(), 3);
}

void TestCliInsulation::matchTuningCutsForTheInsulatedWire()
{
    QTemporaryDir folder;
    const QString deckPath = folder.filePath(u"tuned.nec"_s);
    const QString modelPath = folder.filePath(u"tuned.ez"_s);
    const CliRun run =
        runCli(u"tune"_s, kDesign + kOverGround + kPvc +
                              QStringList{u"--json"_s, u"--deck"_s, deckPath, u"--format"_s,
                                          u"ez"_s, u"-o"_s, modelPath});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QJsonObject report = jsonOf(run);
    QVERIFY2(report.value(u"goal_met"_s).toBool(), qPrintable(run.out));
    // The binary model file has no place for the insulation, and the user is told.
    QVERIFY2(run.err.contains(u"no place for the insulation"_s), qPrintable(run.err));

    // nec2c on the tuned deck, which carries the loading: matched, front-to-back kept.
    QFile deck(deckPath);
    QVERIFY(deck.open(QIODevice::ReadOnly));
    const QByteArray tuned = deck.readAll();
    QCOMPARE(tuned.count("\nLD 3 0 0 0 0 "), 1);
    const NecOutput own = parseNecOutput(runNec2c(tuned).output);
    QVERIFY2(own.fault == OutputFault::None, qPrintable(own.error));
    const NecFrequencyResult &result = own.frequencies.first();
    QVERIFY2(standingWaveRatio(result.feed) <= 1.1, qPrintable(run.out));
    const QJsonObject before = report.value(u"before"_s).toObject();
    const QJsonObject after = report.value(u"after"_s).toObject();
    QVERIFY(after.value(u"front_to_back_db"_s).toDouble() >=
            before.value(u"front_to_back_db"_s).toDouble());
    // Insulated wire is cut shorter than the formula's bare wire.
    const QJsonObject tunedDims = report.value(u"tuned"_s).toObject();
    const QJsonObject formula = report.value(u"formula"_s).toObject();
    QVERIFY2(tunedDims.value(u"a"_s).toDouble() < formula.value(u"a"_s).toDouble(),
             qPrintable(run.out));
}

void TestCliInsulation::toleranceAndTrimTakeTheInsulation_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("dipKey");

    QTest::newRow("tolerance") << u"tolerance"_s << QStringList{} << u"dip_mhz"_s;
    QTest::newRow("trim") << u"trim"_s << QStringList{u"--dip"_s, u"13.9"_s} << u"model_dip_mhz"_s;
}

void TestCliInsulation::toleranceAndTrimTakeTheInsulation()
{
    QFETCH(QString, command);
    QFETCH(QStringList, arguments);
    QFETCH(QString, dipKey);

    // In free space, where nec2c runs fastest: the model's dip is the insulated wire's.
    const CliRun run = runCli(command, kDesign + kPvc + arguments + QStringList{u"--json"_s});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const double dip = jsonOf(run).value(dipKey).toDouble();
    const CheckRequest bare = bareRequest({u"14.15"_s, u"2"_s, WireUnit::Millimetre}, {});
    const QByteArray loaded = withOwnLoading(bare.deck, 0.001, 3.5, 0.0008);
    const double ownDip = directDip(loaded, dip);
    QVERIFY2(ownDip > 0 && std::fabs(dip - ownDip) < 0.003,
             qPrintable(u"%1 %2"_s.arg(dip).arg(ownDip)));
}

MOXON_TEST_GUILESS_MAIN(TestCliInsulation)
#include "tst_cliinsulation.moc"
