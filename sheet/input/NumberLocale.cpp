#include "sheet/input/NumberLocale.h"

#include <QLocale>

namespace sheet {
namespace {

char32_t firstCharacter(const QString& text, char32_t fallback)
{
    const auto codePoints = text.toUcs4();
    return codePoints.isEmpty() ? fallback : codePoints.front();
}

// The digits between the first two group separators of a seven-digit number: 2 for lakhs.
int groupSizeBeforeTheLastThree(const QLocale& locale)
{
    const QString grouped = locale.toString(1234567LL);
    const QString separator = locale.groupSeparator();
    if (separator.isEmpty())
        return 3;
    const qsizetype first = grouped.indexOf(separator);
    const qsizetype second = first < 0 ? -1 : grouped.indexOf(separator, first + separator.size());
    return second - first - separator.size() == 2 ? 2 : 3;
}

} // namespace

NumberLocale NumberLocale::system()
{
    return of(QLocale());
}

NumberLocale NumberLocale::of(const QLocale& locale)
{
    NumberLocale number;
    number.decimalSeparator = firstCharacter(locale.decimalPoint(), U'.');
    number.groupSeparator = firstCharacter(locale.groupSeparator(), U',');
    number.leadingGroupSize = groupSizeBeforeTheLastThree(locale);
    number.zeroDigit = firstCharacter(locale.zeroDigit(), U'0');
    number.currencySymbol = locale.currencySymbol(QLocale::CurrencySymbol).toStdU16String();
    number.currencyCode = locale.currencySymbol(QLocale::CurrencyIsoCode).toStdU16String();
    return number;
}

NumberLocale NumberLocale::named(std::string_view name)
{
    return of(QLocale(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
}

} // namespace sheet
