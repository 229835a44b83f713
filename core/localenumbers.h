#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace moxon {

// The one place where window text becomes a number and a number becomes window text.
// Every command gets its instance from the window, built on the user's locale; tests build
// one on a pinned locale.
class LocaleNumbers
{
public:
    explicit LocaleNumbers(QLocale locale = QLocale());

    // A text counts as numeric when this returns a value: surrounding blanks, a sign and an
    // exponent are accepted; group separators, "nan", "inf" and values past the double range
    // are not, so "1,234" is never read as 1234 under a "." locale.
    [[nodiscard]] std::optional<double> toDouble(QStringView text) const;

    // A digit mask such as "0.00": at least one digit before the separator, exactly
    // `decimals` after it, no group separator, the locale's decimal separator.
    [[nodiscard]] QString toMask(double value, int decimals) const;

    // As toMask, with the trailing zeros and a separator left alone dropped: "10", "0.47".
    [[nodiscard]] QString toShort(double value, int decimals) const;

    // The number a mask of `decimals` shows, as reading its text back would give it: the
    // model is built from the dimensions as shown, rounding included.
    [[nodiscard]] static double roundedToMask(double value, int decimals);

    // General form with at most `digits` significant digits, trailing zeros dropped,
    // exponent form "1.5E-05" for very small and large magnitudes, and always "." as the
    // decimal separator: model decks must read the same in every locale.
    [[nodiscard]] static QString toSignificant(double value, int digits);

    [[nodiscard]] const QLocale &locale() const { return m_locale; }

private:
    QLocale m_locale;
};

} // namespace moxon
