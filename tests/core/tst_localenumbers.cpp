#include "localenumbers.h"
#include "testsuite.h"

#include <QTest>

#include <limits>

using namespace moxon;

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

} // namespace

class TestLocaleNumbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toDouble_data();
    void toDouble();
    void toMask_data();
    void toMask();
    void toSignificant_data();
    void toSignificant();
};

void TestLocaleNumbers::toDouble_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");

    QTest::newRow("us plain") << kUs << QStringLiteral("146") << true << 146.0;
    QTest::newRow("us decimal") << kUs << QStringLiteral("14.15") << true << 14.15;
    QTest::newRow("us blanks around") << kUs << QStringLiteral("  14.2 ") << true << 14.2;
    QTest::newRow("us exponent") << kUs << QStringLiteral("1.5E+2") << true << 150.0;
    QTest::newRow("us small exponent") << kUs << QStringLiteral("1e-3") << true << 0.001;
    QTest::newRow("us leading zeros") << kUs << QStringLiteral("00") << true << 0.0;
    QTest::newRow("us negative") << kUs << QStringLiteral("-7") << true << -7.0;
    QTest::newRow("us subnormal") << kUs << QStringLiteral("1E-310") << true << 1e-310;
    QTest::newRow("us comma is no decimal") << kUs << QStringLiteral("14,2") << false << 0.0;
    QTest::newRow("us group separator") << kUs << QStringLiteral("1,234") << false << 0.0;
    QTest::newRow("us empty") << kUs << QString() << false << 0.0;
    QTest::newRow("us blank") << kUs << QStringLiteral(" ") << false << 0.0;
    QTest::newRow("us letters") << kUs << QStringLiteral("abc") << false << 0.0;
    QTest::newRow("us hash") << kUs << QStringLiteral("#12") << false << 0.0;
    QTest::newRow("us nan") << kUs << QStringLiteral("nan") << false << 0.0;
    QTest::newRow("us inf") << kUs << QStringLiteral("inf") << false << 0.0;
    QTest::newRow("us overflow") << kUs << QStringLiteral("1E400") << false << 0.0;
    QTest::newRow("us hex") << kUs << QStringLiteral("0x10") << false << 0.0;
    QTest::newRow("de decimal comma") << kGerman << QStringLiteral("14,15") << true << 14.15;
    QTest::newRow("de dot is no decimal") << kGerman << QStringLiteral("14.2") << false << 0.0;
    QTest::newRow("de group separator") << kGerman << QStringLiteral("1.234,5") << false << 0.0;
    QTest::newRow("de exponent") << kGerman << QStringLiteral("1,5E2") << true << 150.0;
}

void TestLocaleNumbers::toDouble()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);

    const std::optional<double> parsed = LocaleNumbers(locale).toDouble(text);
    QCOMPARE(parsed.has_value(), numeric);
    if (numeric) {
        QCOMPARE(*parsed, value);
    }
}

void TestLocaleNumbers::toMask_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");

    QTest::newRow("inches") << kUs << 29.1654 << 2 << QStringLiteral("29.17");
    QTest::newRow("trailing zeros kept") << kUs << 0.741 << 4 << QStringLiteral("0.7410");
    QTest::newRow("leading zero") << kUs << 0.0975 << 3 << QStringLiteral("0.098");
    QTest::newRow("no group separator") << kUs << 7721.849 << 1 << QStringLiteral("7721.8");
    QTest::newRow("millions") << kUs << 1234567.0 << 1 << QStringLiteral("1234567.0");
    QTest::newRow("negative") << kUs << -3.14159 << 2 << QStringLiteral("-3.14");
    QTest::newRow("de comma") << kGerman << 7721.849 << 1 << QStringLiteral("7721,8");
    QTest::newRow("de no group separator")
        << kGerman << 1234567.0 << 2 << QStringLiteral("1234567,00");
}

void TestLocaleNumbers::toMask()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);

    QCOMPARE(LocaleNumbers(locale).toMask(value, decimals), text);
}

void TestLocaleNumbers::toSignificant_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("text");

    QTest::newRow("double noise dropped") << 10.78 - 4.05 << 15 << QStringLiteral("6.73");
    QTest::newRow("half of A") << 29.17 / 2 << 15 << QStringLiteral("14.585");
    QTest::newRow("zero") << 0.0 << 15 << QStringLiteral("0");
    QTest::newRow("negative below one") << -0.3 << 15 << QStringLiteral("-0.3");
    QTest::newRow("whole number") << 35.0 << 15 << QStringLiteral("35");
    QTest::newRow("small exponent") << 1.5e-5 << 15 << QStringLiteral("1.5E-05");
    QTest::newRow("large exponent") << 1e20 << 15 << QStringLiteral("1E+20");
    QTest::newRow("fifteen digits") << 1.0 / 3 << 15 << QStringLiteral("0.333333333333333");
    QTest::newRow("single radius") << double(0.0404f) << 7 << QStringLiteral("0.0404");
    QTest::newRow("single radius mm") << double(0.0404f * 25.4f) << 7 << QStringLiteral("1.02616");
}

void TestLocaleNumbers::toSignificant()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(QString, text);

    QCOMPARE(LocaleNumbers::toSignificant(value, digits), text);
}

MOXON_TEST_GUILESS_MAIN(TestLocaleNumbers)
#include "tst_localenumbers.moc"
