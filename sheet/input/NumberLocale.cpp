#include "sheet/input/NumberLocale.h"

#include <QLocale>

namespace sheet {
namespace {

char32_t firstCharacter(const QString& text, char32_t fallback)
{
    const auto codePoints = text.toUcs4();
    return codePoints.isEmpty() ? fallback : codePoints.front();
}

} // namespace

NumberLocale NumberLocale::system()
{
    const QLocale locale;
    return NumberLocale{firstCharacter(locale.decimalPoint(), U'.'), firstCharacter(locale.groupSeparator(), U',')};
}

} // namespace sheet
