#include "fakewindow.h"

#include <QTest>

using namespace moxon;
using namespace moxon::test;
using namespace Qt::StringLiterals;

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

const QStringList kStartUpInches = {QStringLiteral("29.17"), QStringLiteral("4.05"),
                                    QStringLiteral("1.17"), QStringLiteral("5.56"),
                                    QStringLiteral("10.78")};

const QString kFrequencyError = QStringLiteral("Frequency must be a numeric value greater than 0.");
const QString kGaugeError =
    QStringLiteral("AWG wire size must be an integer value between 0 and 40.");
const QString kWireSizeError = QStringLiteral("Wire size must be a numeric value greater than 0.");
const QString kRangeError =
    QStringLiteral("Frequency and wire size are outside the range that can be computed.");
const QString kThinWire =
    QStringLiteral("Wire diameter less than 1E-6 wavelengths, results uncertain.");
const QString kThickWire =
    QStringLiteral("Wire diameter greater than 1E-2 wavelengths, results uncertain.");

enum WireEntry
{
    Inch = 0,
    Millimetre = 1,
    Gauge = 2,
};

QString invalid(const QString &text)
{
    return messageLine(MessageStyle::Exclamation, QStringLiteral("Invalid Entry"), text);
}

QString warning(const QString &text)
{
    return messageLine(MessageStyle::Information, QStringLiteral("Warning"), text);
}

QStringList messagesIn(const QStringList &log)
{
    QStringList messages;
    for (const QString &line : log) {
        if (line.startsWith(u"msgbox ")) {
            messages.append(line);
        }
    }
    return messages;
}

} // namespace

class TestCalculateCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUp();
    void workedExamples_data();
    void workedExamples();
    void rejectedInputs_data();
    void rejectedInputs();
    void gaugeShorthand_data();
    void gaugeShorthand();
    void exactRangeEnds_data();
    void exactRangeEnds();
    void unitChangeWhileInvalid();
    void unitSwitchesRecompute();
    void editedFrequencyThenUnitChange();
    void warningOnEveryUnitChange();
    void decimalCommaLocale();
    void extremeInputs_data();
    void extremeInputs();
};

void TestCalculateCommand::startUp()
{
    FakeWindow window(kUs);
    window.form.Form_Load();

    const QStringList expected = {
        QStringLiteral("select cboDiaUnits#2"), QStringLiteral("press btnCalculate"),
        QStringLiteral("text txtWD=12"),        QStringLiteral("select cboDiaUnits#2"),
        QStringLiteral("text txtWD=#12"),       QStringLiteral("text txtA=29.17"),
        QStringLiteral("text txtB=4.05"),       QStringLiteral("text txtC=1.17"),
        QStringLiteral("text txtD=5.56"),       QStringLiteral("text txtE=10.78"),
        QStringLiteral("caption lblA=in"),      QStringLiteral("caption lblB=in"),
        QStringLiteral("caption lblC=in"),      QStringLiteral("caption lblD=in"),
        QStringLiteral("caption lblE=in"),
    };
    QCOMPARE(window.toolkit.log(), expected);
    QCOMPARE(window.form.state().DisplayUnits, QStringLiteral("in"));
    QCOMPARE(window.toolkit.selectedEntry(Control::cboDiaUnits), QStringLiteral("AWG"));
    QCOMPARE(window.form.state().lastCalculation, CalculateOutcome::Shown);
}

void TestCalculateCommand::workedExamples_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<int>("wireEntry");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("results");

    const QStringList none;
    QTest::newRow("146 #12 ft") << u"146"_s << u"#12"_s << int(Gauge) << u"ft"_s << none
                                << QStringList{u"2.431"_s, u"0.337"_s, u"0.098"_s, u"0.463"_s,
                                               u"0.898"_s};
    QTest::newRow("146 #12 in") << u"146"_s << u"#12"_s << int(Gauge) << u"in"_s << none
                                << QStringList{u"29.17"_s, u"4.05"_s, u"1.17"_s, u"5.56"_s,
                                               u"10.78"_s};
    QTest::newRow("146 #12 m") << u"146"_s << u"#12"_s << int(Gauge) << u"m"_s << none
                               << QStringList{u"0.7410"_s, u"0.1028"_s, u"0.0298"_s, u"0.1412"_s,
                                              u"0.2738"_s};
    QTest::newRow("146 #12 mm") << u"146"_s << u"#12"_s << int(Gauge) << u"mm"_s << none
                                << QStringList{u"741.0"_s, u"102.8"_s, u"29.8"_s, u"141.2"_s,
                                               u"273.8"_s};
    QTest::newRow("14.15 #12 mm, no group separator")
        << u"14.15"_s << u"#12"_s << int(Gauge) << u"mm"_s << none
        << QStringList{u"7721.8"_s, u"1175.3"_s, u"197.3"_s, u"1435.8"_s, u"2808.4"_s};
    QTest::newRow("1000 MHz, 0.5 in wire in metres, thick wire")
        << u"1000"_s << u"0.5"_s << int(Inch) << u"m"_s << QStringList{warning(kThickWire)}
        << QStringList{u"0.1053"_s, u"0.0097"_s, u"0.0092"_s, u"0.0211"_s, u"0.0399"_s};
    QTest::newRow("1.8 MHz, 0.001 mm wire in feet, thin wire")
        << u"1.8"_s << u"0.001"_s << int(Millimetre) << u"ft"_s << QStringList{warning(kThinWire)}
        << QStringList{u"197.046"_s, u"16.835"_s, u"15.045"_s, u"34.733"_s, u"66.613"_s};
}

void TestCalculateCommand::workedExamples()
{
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(int, wireEntry);
    QFETCH(QString, unit);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, results);

    FakeWindow window(kUs);
    window.load().enter(freq, wire, wireEntry).selectUnits(unit);

    QCOMPARE(messagesIn(window.toolkit.log()), messages);
    QCOMPARE(window.toolkit.results(), results);
    QCOMPARE(window.toolkit.unitLabels(), QStringList(5, unit));
    QCOMPARE(window.form.state().DisplayUnits, unit);
    // Labels follow the boxes, all in one block at the end of the run.
    const QStringList log = window.toolkit.log();
    QCOMPARE(log.mid(log.size() - 10, 5).first(), QStringLiteral("text txtA=") + results.first());
    QCOMPARE(log.last(), QStringLiteral("caption lblE=") + unit);
}

void TestCalculateCommand::rejectedInputs_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<int>("wireEntry");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("wireAfter");
    QTest::addColumn<int>("wireEntryAfter");

    // The frequency is checked before the gauge shorthand touches the wire size.
    QTest::newRow("frequency letters") << u"abc"_s << u"#14"_s << int(Millimetre) << kFrequencyError
                                       << u"txtFreq"_s << u"#14"_s << int(Millimetre);
    QTest::newRow("frequency empty") << u""_s << u"#12"_s << int(Gauge) << kFrequencyError
                                     << u"txtFreq"_s << u"#12"_s << int(Gauge);
    QTest::newRow("frequency zero") << u"0"_s << u"#12"_s << int(Gauge) << kFrequencyError
                                    << u"txtFreq"_s << u"#12"_s << int(Gauge);
    QTest::newRow("frequency negative") << u"-7"_s << u"#12"_s << int(Gauge) << kFrequencyError
                                        << u"txtFreq"_s << u"#12"_s << int(Gauge);
    QTest::newRow("frequency with group separator")
        << u"1,460"_s << u"#12"_s << int(Gauge) << kFrequencyError << u"txtFreq"_s << u"#12"_s
        << int(Gauge);
    QTest::newRow("frequency nan") << u"nan"_s << u"#12"_s << int(Gauge) << kFrequencyError
                                   << u"txtFreq"_s << u"#12"_s << int(Gauge);
    QTest::newRow("hash alone") << u"146"_s << u"#"_s << int(Inch) << kGaugeError << u"txtWD"_s
                                << u""_s << int(Gauge);
    QTest::newRow("fractional gauge") << u"146"_s << u"#12.5"_s << int(Inch) << kGaugeError
                                      << u"txtWD"_s << u"12.5"_s << int(Gauge);
    QTest::newRow("gauge 41") << u"146"_s << u"41"_s << int(Gauge) << kGaugeError << u"txtWD"_s
                              << u"41"_s << int(Gauge);
    QTest::newRow("gauge -1") << u"146"_s << u"-1"_s << int(Gauge) << kGaugeError << u"txtWD"_s
                              << u"-1"_s << int(Gauge);
    QTest::newRow("gauge letters") << u"146"_s << u"#abc"_s << int(Gauge) << kGaugeError
                                   << u"txtWD"_s << u"abc"_s << int(Gauge);
    QTest::newRow("zero inches") << u"146"_s << u"0"_s << int(Inch) << kWireSizeError << u"txtWD"_s
                                 << u"0"_s << int(Inch);
    QTest::newRow("negative millimetres")
        << u"146"_s << u"-2"_s << int(Millimetre) << kWireSizeError << u"txtWD"_s << u"-2"_s
        << int(Millimetre);
    QTest::newRow("millimetre letters") << u"146"_s << u"abc"_s << int(Millimetre) << kWireSizeError
                                        << u"txtWD"_s << u"abc"_s << int(Millimetre);
    QTest::newRow("inches empty") << u"146"_s << u""_s << int(Inch) << kWireSizeError << u"txtWD"_s
                                  << u""_s << int(Inch);
}

void TestCalculateCommand::rejectedInputs()
{
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(int, wireEntry);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, wireAfter);
    QFETCH(int, wireEntryAfter);

    FakeWindow window(kUs);
    window.load().enter(freq, wire, wireEntry);
    window.form.btnCalculate_Click();

    const QStringList log = window.toolkit.log();
    QVERIFY(log.size() >= 2);
    QCOMPARE(log.mid(log.size() - 2),
             (QStringList{invalid(message), QStringLiteral("focus ") + focus}));
    QCOMPARE(window.toolkit.messages().size(), 1);
    QCOMPARE(window.toolkit.text(Control::txtWD), wireAfter);
    QCOMPARE(window.toolkit.selectedIndex(Control::cboDiaUnits), wireEntryAfter);
    QCOMPARE(window.toolkit.results(), kStartUpInches);
    QCOMPARE(window.toolkit.unitLabels(), QStringList(5, QStringLiteral("in")));
    QCOMPARE(window.form.state().lastCalculation, CalculateOutcome::Rejected);
}

void TestCalculateCommand::gaugeShorthand_data()
{
    QTest::addColumn<QString>("wire");
    QTest::addColumn<int>("wireEntry");
    QTest::addColumn<QString>("wireAfter");
    QTest::addColumn<QString>("resultA"); // A in inches at 146 MHz, computed independently

    QTest::newRow("#14 with mm becomes gauge 14")
        << u"#14"_s << int(Millimetre) << u"#14"_s << u"29.21"_s;
    QTest::newRow("14 with AWG is gauge 14") << u"14"_s << int(Gauge) << u"#14"_s << u"29.21"_s;
    QTest::newRow("gauge 0 accepted") << u"0"_s << int(Gauge) << u"#0"_s << u"28.93"_s;
    QTest::newRow("gauge 40 accepted") << u"40"_s << int(Gauge) << u"#40"_s << u"29.54"_s;
    QTest::newRow("00 is gauge 0") << u"00"_s << int(Gauge) << u"#00"_s << u"28.93"_s;
    QTest::newRow("inch wire keeps its text") << u"0.08"_s << int(Inch) << u"0.08"_s << u"29.17"_s;
}

void TestCalculateCommand::gaugeShorthand()
{
    QFETCH(QString, wire);
    QFETCH(int, wireEntry);
    QFETCH(QString, wireAfter);
    QFETCH(QString, resultA);

    FakeWindow window(kUs);
    window.load();
    window.toolkit.type(Control::txtWD, wire);
    window.toolkit.pick(Control::cboDiaUnits, wireEntry);
    window.form.btnCalculate_Click();

    QCOMPARE(window.toolkit.messages().size(), 0);
    QCOMPARE(window.toolkit.text(Control::txtWD), wireAfter);
    QCOMPARE(window.toolkit.selectedIndex(Control::cboDiaUnits),
             wireAfter.startsWith(u'#') ? int(Gauge) : wireEntry);
    QCOMPARE(window.toolkit.text(Control::txtA), resultA);
}

void TestCalculateCommand::exactRangeEnds_data()
{
    // At 11802.71 MHz one wavelength is exactly 1 inch, so the wire size in inches is the
    // ratio itself. These ratios give L of exactly -2 and -6, and their neighbours just past.
    QTest::addColumn<QString>("wire");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("L exactly -2") << u"0.009999999999999998"_s << QStringList();
    QTest::newRow("L just above -2") << u"0.01"_s << QStringList{warning(kThickWire)};
    QTest::newRow("L exactly -6") << u"9.999999999999995E-7"_s << QStringList();
    QTest::newRow("L just below -6") << u"9.9999999E-7"_s << QStringList{warning(kThinWire)};
}

void TestCalculateCommand::exactRangeEnds()
{
    QFETCH(QString, wire);
    QFETCH(QStringList, messages);

    FakeWindow window(kUs);
    window.load().enter(QStringLiteral("11802.71"), wire, Inch);
    window.form.btnCalculate_Click();

    QCOMPARE(messagesIn(window.toolkit.log()), messages);
    QCOMPARE(window.form.state().lastCalculation, CalculateOutcome::Shown);
    QVERIFY(window.toolkit.results() != kStartUpInches);
}

void TestCalculateCommand::unitChangeWhileInvalid()
{
    FakeWindow window(kUs);
    window.load();
    window.toolkit.type(Control::txtFreq, QStringLiteral("abc"));
    window.form.optMM_Click();

    QCOMPARE(window.form.state().DisplayUnits, QStringLiteral("mm"));
    QCOMPARE(window.toolkit.log(),
             (QStringList{QStringLiteral("press btnCalculate"), invalid(kFrequencyError),
                          QStringLiteral("focus txtFreq")}));
    QCOMPARE(window.toolkit.results(), kStartUpInches);
    QCOMPARE(window.toolkit.unitLabels(), QStringList(5, QStringLiteral("in")));

    // Once the input is mended, the next press shows the unit chosen while it was invalid.
    window.toolkit.type(Control::txtFreq, QStringLiteral("146"));
    window.form.btnCalculate_Click();
    QCOMPARE(window.toolkit.results(),
             (QStringList{u"741.0"_s, u"102.8"_s, u"29.8"_s, u"141.2"_s, u"273.8"_s}));
    QCOMPARE(window.toolkit.unitLabels(), QStringList(5, QStringLiteral("mm")));
}

void TestCalculateCommand::unitSwitchesRecompute()
{
    FakeWindow window(kUs);
    window.load();
    const QStringList inches = window.toolkit.results();
    for (int round = 0; round < 3; ++round) {
        window.form.optMM_Click();
        window.form.optFT_Click();
        window.form.optM_Click();
        window.form.optIN_Click();
        QCOMPARE(window.toolkit.results(), inches);
    }
    window.form.optMM_Click();
    FakeWindow fresh(kUs);
    fresh.load();
    fresh.form.optMM_Click();
    QCOMPARE(window.toolkit.results(), fresh.toolkit.results());
    QCOMPARE(window.toolkit.messages().size(), 0);
}

void TestCalculateCommand::editedFrequencyThenUnitChange()
{
    FakeWindow window(kUs);
    window.load();
    window.toolkit.type(Control::txtFreq, QStringLiteral("14.15"));
    QCOMPARE(window.toolkit.results(), kStartUpInches);
    window.form.optMM_Click();
    QCOMPARE(window.toolkit.text(Control::txtA), QStringLiteral("7721.8"));
    QCOMPARE(window.toolkit.text(Control::txtWD), QStringLiteral("#12"));
}

void TestCalculateCommand::warningOnEveryUnitChange()
{
    FakeWindow window(kUs);
    window.load().enter(QStringLiteral("1000"), QStringLiteral("0.5"), Inch);
    window.form.optFT_Click();
    window.form.optMM_Click();
    window.form.optM_Click();

    QCOMPARE(messagesIn(window.toolkit.log()), QStringList(3, warning(kThickWire)));
    QCOMPARE(window.toolkit.results(),
             (QStringList{u"0.1053"_s, u"0.0097"_s, u"0.0092"_s, u"0.0211"_s, u"0.0399"_s}));
}

void TestCalculateCommand::decimalCommaLocale()
{
    FakeWindow window(kGerman);
    window.load();
    QCOMPARE(window.toolkit.results(),
             (QStringList{u"29,17"_s, u"4,05"_s, u"1,17"_s, u"5,56"_s, u"10,78"_s}));

    window.toolkit.type(Control::txtFreq, QStringLiteral("14,15"));
    window.form.optMM_Click();
    QCOMPARE(window.toolkit.text(Control::txtA), QStringLiteral("7721,8"));
    QCOMPARE(window.toolkit.messages().size(), 0);

    // u"14.15"_s is no number where u"."_s groups thousands; it must not be read as 1415.
    window.toolkit.type(Control::txtFreq, QStringLiteral("14.15"));
    window.form.btnCalculate_Click();
    QCOMPARE(messagesIn(window.toolkit.log()), QStringList{invalid(kFrequencyError)});
    QCOMPARE(window.toolkit.text(Control::txtA), QStringLiteral("7721,8"));
}

void TestCalculateCommand::extremeInputs_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<int>("wireEntry");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("resultAPrefix");

    // Down to 1E-300 MHz an ordinary wire is computed and shown, however long the numbers.
    QTest::newRow("1E-300 MHz in mm") << u"1E-300"_s << u"1"_s << int(Millimetre) << u"mm"_s
                                      << QStringList{warning(kThinWire)} << u"-23000253281564"_s;
    QTest::newRow("1E300 MHz") << u"1E300"_s << u"#12"_s << int(Gauge) << u"in"_s
                               << QStringList{warning(kThickWire)} << u"-0.00"_s;
    QTest::newRow("1E-301 MHz in mm overflows the results")
        << u"1E-301"_s << u"1"_s << int(Millimetre) << u"mm"_s << QStringList{invalid(kRangeError)}
        << u"29.17"_s;
    QTest::newRow("1E-310 MHz overflows the wavelength")
        << u"1E-310"_s << u"#12"_s << int(Gauge) << u"in"_s << QStringList{invalid(kRangeError)}
        << u"29.17"_s;
    QTest::newRow("ratio overflows") << u"1E300"_s << u"1E300"_s << int(Millimetre) << u"m"_s
                                     << QStringList{invalid(kRangeError)} << u"29.17"_s;
    QTest::newRow("ratio underflows to 0") << u"1E-200"_s << u"1E-200"_s << int(Inch) << u"in"_s
                                           << QStringList{invalid(kRangeError)} << u"29.17"_s;
}

void TestCalculateCommand::extremeInputs()
{
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(int, wireEntry);
    QFETCH(QString, unit);
    QFETCH(QStringList, messages);
    QFETCH(QString, resultAPrefix);

    FakeWindow window(kUs);
    window.load().enter(freq, wire, wireEntry).selectUnits(unit);

    QCOMPARE(messagesIn(window.toolkit.log()), messages);
    QVERIFY2(window.toolkit.text(Control::txtA).startsWith(resultAPrefix),
             qPrintable(window.toolkit.text(Control::txtA).left(40)));
    for (const QString &result : window.toolkit.results()) {
        QVERIFY(!result.contains(u"inf", Qt::CaseInsensitive));
        QVERIFY(!result.contains(u"nan", Qt::CaseInsensitive));
    }
    const bool rejected = messages.last().contains(u"Invalid Entry");
    QCOMPARE(window.form.state().lastCalculation,
             rejected ? CalculateOutcome::Rejected : CalculateOutcome::Shown);
    if (rejected) {
        QCOMPARE(window.toolkit.log().last(), QStringLiteral("focus txtFreq"));
        QCOMPARE(window.toolkit.unitLabels(), QStringList(5, QStringLiteral("in")));
    } else {
        QCOMPARE(window.toolkit.unitLabels(), QStringList(5, unit));
    }
}

QTEST_GUILESS_MAIN(TestCalculateCommand)
#include "tst_calculatecommand.moc"
