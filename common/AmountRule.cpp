#include "AmountRule.h"

#include "sheet/input/TypedInput.h"

#include <variant>

namespace common {

bool ReadsAsNumber(const QString& text, const QLocale& locale)
{
    const QByteArray utf8 = text.toUtf8();
    return std::holds_alternative<double>(
        sheet::readTypedInput(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                              sheet::NumberLocale::of(locale))
            .value);
}

}  // namespace common
