#include "calculation.h"
#include "testsuite.h"

#include <QTest>

using namespace moxon;
using namespace Qt::StringLiterals;

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

const QString kFrequencyError = u"Frequency must be a numeric value greater than 0."_s;
const QString kGaugeError = u"AWG wire size must be an integer value between 0 and 40."_s;
const QString kWireSizeError = u"Wire size must be a numeric value greater than 0."_s;
const QString kRangeError =
    u"Frequency and wire size are outside the range that can be computed."_s;

Calculation run(const QString &freq, const QString &wire, WireUnit wireUnit, DisplayUnit unit,
                const QLocale &locale = kUs)
{
    return calculate(FormInputs{freq, wire, wireUnit}, unit, LocaleNumbers(locale));
}

QStringList texts(const ShownDesign &shown)
{
    return {shown.texts.begin(), shown.texts.end()};
}

} // namespace

class TestCalculation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void accepted_data();
    void accepted();
    void rejected_data();
    void rejected();
    void extremeInputsShown_data();
    void extremeInputsShown();
};

void TestCalculation::accepted_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<WireUnit>("wireUnit");
    QTest::addColumn<DisplayUnit>("unit");
    QTest::addColumn<RangeWarning>("warning");
    QTest::addColumn<QString>("wireAfter");
    QTest::addColumn<WireUnit>("wireUnitAfter");
    // The leading results; rows about the input alone give A only, or none.
    QTest::addColumn<QStringList>("results");

    const auto gauge = WireUnit::Gauge;
    const auto none = RangeWarning::None;
    QTest::newRow("146 #12 ft") << kUs << u"146"_s << u"#12"_s << gauge << DisplayUnit::Feet
                                << none << u"#12"_s << gauge
                                << QStringList{u"2.431"_s, u"0.337"_s, u"0.098"_s, u"0.463"_s,
                                               u"0.898"_s};
    QTest::newRow("146 #12 in") << kUs << u"146"_s << u"#12"_s << gauge << DisplayUnit::Inch
                                << none << u"#12"_s << gauge
                                << QStringList{u"29.17"_s, u"4.05"_s, u"1.17"_s, u"5.56"_s,
                                               u"10.78"_s};
    QTest::newRow("146 #12 m") << kUs << u"146"_s << u"#12"_s << gauge << DisplayUnit::Metre
                               << none << u"#12"_s << gauge
                               << QStringList{u"0.7410"_s, u"0.1028"_s, u"0.0298"_s, u"0.1412"_s,
                                              u"0.2738"_s};
    QTest::newRow("146 #12 mm") << kUs << u"146"_s << u"#12"_s << gauge << DisplayUnit::Millimetre
                                << none << u"#12"_s << gauge
                                << QStringList{u"741.0"_s, u"102.8"_s, u"29.8"_s, u"141.2"_s,
                                               u"273.8"_s};
    QTest::newRow("14.15 mm, no group separator")
        << kUs << u"14.15"_s << u"#12"_s << gauge << DisplayUnit::Millimetre << none << u"#12"_s
        << gauge << QStringList{u"7721.8"_s, u"1175.3"_s, u"197.3"_s, u"1435.8"_s, u"2808.4"_s};
    QTest::newRow("1000 MHz 0.5 in, metres, thick wire")
        << kUs << u"1000"_s << u"0.5"_s << WireUnit::Inch << DisplayUnit::Metre
        << RangeWarning::ThickWire << u"0.5"_s << WireUnit::Inch
        << QStringList{u"0.1053"_s, u"0.0097"_s, u"0.0092"_s, u"0.0211"_s, u"0.0399"_s};
    QTest::newRow("1.8 MHz 0.001 mm, feet, thin wire")
        << kUs << u"1.8"_s << u"0.001"_s << WireUnit::Millimetre << DisplayUnit::Feet
        << RangeWarning::ThinWire << u"0.001"_s << WireUnit::Millimetre
        << QStringList{u"197.046"_s, u"16.835"_s, u"15.045"_s, u"34.733"_s, u"66.613"_s};

    // A of each gauge at 146 MHz, computed independently.
    QTest::newRow("#14 with mm is gauge 14") << kUs << u"146"_s << u"#14"_s
                                             << WireUnit::Millimetre << DisplayUnit::Inch << none
                                             << u"#14"_s << gauge << QStringList{u"29.21"_s};
    QTest::newRow("14 with AWG is gauge 14") << kUs << u"146"_s << u"14"_s << gauge
                                             << DisplayUnit::Inch << none << u"#14"_s << gauge
                                             << QStringList{u"29.21"_s};
    QTest::newRow("gauge 0") << kUs << u"146"_s << u"0"_s << gauge << DisplayUnit::Inch << none
                             << u"#0"_s << gauge << QStringList{u"28.93"_s};
    QTest::newRow("gauge 40") << kUs << u"146"_s << u"40"_s << gauge << DisplayUnit::Inch << none
                              << u"#40"_s << gauge << QStringList{u"29.54"_s};
    QTest::newRow("00 is gauge 0") << kUs << u"146"_s << u"00"_s << gauge << DisplayUnit::Inch
                                   << none << u"#00"_s << gauge << QStringList{u"28.93"_s};
    QTest::newRow("inch wire keeps its text")
        << kUs << u"146"_s << u"0.08"_s << WireUnit::Inch << DisplayUnit::Inch << none
        << u"0.08"_s << WireUnit::Inch << QStringList{u"29.17"_s};

    // At 11802.71 MHz one wavelength is exactly 1 inch, so the wire size in inches is the
    // ratio itself: these give L of exactly -2 and -6, and their neighbours just past.
    const QString oneInchWave = u"11802.71"_s;
    QTest::newRow("L exactly -2") << kUs << oneInchWave << u"0.009999999999999998"_s
                                  << WireUnit::Inch << DisplayUnit::Inch << none
                                  << u"0.009999999999999998"_s << WireUnit::Inch << QStringList();
    QTest::newRow("L just above -2")
        << kUs << oneInchWave << u"0.01"_s << WireUnit::Inch << DisplayUnit::Inch
        << RangeWarning::ThickWire << u"0.01"_s << WireUnit::Inch << QStringList();
    QTest::newRow("L exactly -6") << kUs << oneInchWave << u"9.999999999999995E-7"_s
                                  << WireUnit::Inch << DisplayUnit::Inch << none
                                  << u"9.999999999999995E-7"_s << WireUnit::Inch << QStringList();
    QTest::newRow("L just below -6")
        << kUs << oneInchWave << u"9.9999999E-7"_s << WireUnit::Inch << DisplayUnit::Inch
        << RangeWarning::ThinWire << u"9.9999999E-7"_s << WireUnit::Inch << QStringList();

    QTest::newRow("de start-up") << kGerman << u"146"_s << u"#12"_s << gauge << DisplayUnit::Inch
                                 << none << u"#12"_s << gauge
                                 << QStringList{u"29,17"_s, u"4,05"_s, u"1,17"_s, u"5,56"_s,
                                                u"10,78"_s};
    QTest::newRow("de decimal comma read and shown")
        << kGerman << u"14,15"_s << u"#12"_s << gauge << DisplayUnit::Millimetre << none
        << u"#12"_s << gauge << QStringList{u"7721,8"_s};
}

void TestCalculation::accepted()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(WireUnit, wireUnit);
    QFETCH(DisplayUnit, unit);
    QFETCH(RangeWarning, warning);
    QFETCH(QString, wireAfter);
    QFETCH(WireUnit, wireUnitAfter);
    QFETCH(QStringList, results);

    const Calculation calc = run(freq, wire, wireUnit, unit, locale);
    QVERIFY2(calc.accepted(), qPrintable(calc.error->message));
    QCOMPARE(calc.warning, warning);
    QCOMPARE(calc.form, (FormInputs{freq, wireAfter, wireUnitAfter}));
    QCOMPARE(calc.input.frequencyText, freq);
    QCOMPARE(calc.shown.unit, unit);
    QCOMPARE(texts(calc.shown).mid(0, results.size()), results);

    // The model is built from the values as shown: each is what its text reads back as.
    const Dimensions &v = calc.shown.values;
    const std::array values = {v.a, v.b, v.c, v.d, v.e};
    for (std::size_t i = 0; i < values.size(); ++i) {
        QCOMPARE(values.at(i), *LocaleNumbers(locale).toDouble(calc.shown.texts.at(i)));
    }
}

void TestCalculation::rejected_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<WireUnit>("wireUnit");
    QTest::addColumn<DisplayUnit>("unit");
    QTest::addColumn<InputError>("error");
    QTest::addColumn<QString>("wireAfter");
    QTest::addColumn<WireUnit>("wireUnitAfter");

    const auto in = DisplayUnit::Inch;
    const InputError frequency{InputField::Frequency, kFrequencyError};
    const InputError gauge{InputField::WireSize, kGaugeError};
    const InputError wireSize{InputField::WireSize, kWireSizeError};
    const InputError range{InputField::Frequency, kRangeError};

    // The frequency is checked before the "#" shorthand touches the wire size.
    QTest::newRow("frequency letters") << kUs << u"abc"_s << u"#14"_s << WireUnit::Millimetre
                                       << in << frequency << u"#14"_s << WireUnit::Millimetre;
    QTest::newRow("frequency empty") << kUs << u""_s << u"#12"_s << WireUnit::Gauge << in
                                     << frequency << u"#12"_s << WireUnit::Gauge;
    QTest::newRow("frequency zero") << kUs << u"0"_s << u"#12"_s << WireUnit::Gauge << in
                                    << frequency << u"#12"_s << WireUnit::Gauge;
    QTest::newRow("frequency negative") << kUs << u"-7"_s << u"#12"_s << WireUnit::Gauge << in
                                        << frequency << u"#12"_s << WireUnit::Gauge;
    QTest::newRow("frequency with group separator")
        << kUs << u"1,460"_s << u"#12"_s << WireUnit::Gauge << in << frequency << u"#12"_s
        << WireUnit::Gauge;
    QTest::newRow("frequency nan") << kUs << u"nan"_s << u"#12"_s << WireUnit::Gauge << in
                                   << frequency << u"#12"_s << WireUnit::Gauge;
    // "14.15" is no number where "." groups thousands; it must not be read as 1415.
    QTest::newRow("de decimal point") << kGerman << u"14.15"_s << u"#12"_s << WireUnit::Gauge
                                      << in << frequency << u"#12"_s << WireUnit::Gauge;

    // Once the frequency has passed, the "#" is off and the gauge unit picked, accepted or not.
    QTest::newRow("hash alone") << kUs << u"146"_s << u"#"_s << WireUnit::Inch << in << gauge
                                << u""_s << WireUnit::Gauge;
    QTest::newRow("fractional gauge") << kUs << u"146"_s << u"#12.5"_s << WireUnit::Inch << in
                                      << gauge << u"12.5"_s << WireUnit::Gauge;
    QTest::newRow("gauge 41") << kUs << u"146"_s << u"41"_s << WireUnit::Gauge << in << gauge
                              << u"41"_s << WireUnit::Gauge;
    QTest::newRow("gauge -1") << kUs << u"146"_s << u"-1"_s << WireUnit::Gauge << in << gauge
                              << u"-1"_s << WireUnit::Gauge;
    QTest::newRow("gauge letters") << kUs << u"146"_s << u"#abc"_s << WireUnit::Gauge << in
                                   << gauge << u"abc"_s << WireUnit::Gauge;
    QTest::newRow("zero inches") << kUs << u"146"_s << u"0"_s << WireUnit::Inch << in << wireSize
                                 << u"0"_s << WireUnit::Inch;
    QTest::newRow("negative millimetres") << kUs << u"146"_s << u"-2"_s << WireUnit::Millimetre
                                          << in << wireSize << u"-2"_s << WireUnit::Millimetre;
    QTest::newRow("millimetre letters") << kUs << u"146"_s << u"abc"_s << WireUnit::Millimetre
                                        << in << wireSize << u"abc"_s << WireUnit::Millimetre;
    QTest::newRow("inches empty") << kUs << u"146"_s << u""_s << WireUnit::Inch << in << wireSize
                                  << u""_s << WireUnit::Inch;

    // Inputs that pass their checks but leave the double range: the gauge gets its "#" back.
    QTest::newRow("1E-301 MHz in mm overflows the results")
        << kUs << u"1E-301"_s << u"1"_s << WireUnit::Millimetre << DisplayUnit::Millimetre
        << range << u"1"_s << WireUnit::Millimetre;
    QTest::newRow("1E-310 MHz overflows the wavelength")
        << kUs << u"1E-310"_s << u"#12"_s << WireUnit::Gauge << in << range << u"#12"_s
        << WireUnit::Gauge;
    QTest::newRow("ratio overflows") << kUs << u"1E300"_s << u"1E300"_s << WireUnit::Millimetre
                                     << DisplayUnit::Metre << range << u"1E300"_s
                                     << WireUnit::Millimetre;
    QTest::newRow("ratio underflows to 0") << kUs << u"1E-200"_s << u"1E-200"_s << WireUnit::Inch
                                           << in << range << u"1E-200"_s << WireUnit::Inch;
}

void TestCalculation::rejected()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(WireUnit, wireUnit);
    QFETCH(DisplayUnit, unit);
    QFETCH(InputError, error);
    QFETCH(QString, wireAfter);
    QFETCH(WireUnit, wireUnitAfter);

    const Calculation calc = run(freq, wire, wireUnit, unit, locale);
    QVERIFY(!calc.accepted());
    QCOMPARE(calc.error->field, error.field);
    QCOMPARE(calc.error->message, error.message);
    QCOMPARE(calc.form, (FormInputs{freq, wireAfter, wireUnitAfter}));
    QCOMPARE(calc.warning, RangeWarning::None);
    QCOMPARE(calc.shown, ShownDesign{});
}

void TestCalculation::extremeInputsShown_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("wire");
    QTest::addColumn<WireUnit>("wireUnit");
    QTest::addColumn<DisplayUnit>("unit");
    QTest::addColumn<RangeWarning>("warning");
    QTest::addColumn<QString>("resultAPrefix");

    // Down to 1E-300 MHz an ordinary wire is computed and shown, however long the numbers.
    QTest::newRow("1E-300 MHz in mm") << u"1E-300"_s << u"1"_s << WireUnit::Millimetre
                                      << DisplayUnit::Millimetre << RangeWarning::ThinWire
                                      << u"-23000253281564"_s;
    QTest::newRow("1E300 MHz") << u"1E300"_s << u"#12"_s << WireUnit::Gauge << DisplayUnit::Inch
                               << RangeWarning::ThickWire << u"-0.00"_s;
}

void TestCalculation::extremeInputsShown()
{
    QFETCH(QString, freq);
    QFETCH(QString, wire);
    QFETCH(WireUnit, wireUnit);
    QFETCH(DisplayUnit, unit);
    QFETCH(RangeWarning, warning);
    QFETCH(QString, resultAPrefix);

    const Calculation calc = run(freq, wire, wireUnit, unit);
    QVERIFY(calc.accepted());
    QCOMPARE(calc.warning, warning);
    QVERIFY2(calc.shown.texts[0].startsWith(resultAPrefix), qPrintable(calc.shown.texts[0].left(40)));
    for (const QString &text : calc.shown.texts) {
        QVERIFY2(!text.contains(u"inf", Qt::CaseInsensitive), qPrintable(text.left(40)));
        QVERIFY2(!text.contains(u"nan", Qt::CaseInsensitive), qPrintable(text.left(40)));
    }
}

MOXON_TEST_APPLESS_MAIN(TestCalculation)
#include "tst_calculation.moc"
