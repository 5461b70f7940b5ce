#include "NumericTest.h"

#include <cmath>

namespace entries {

bool IsNumeric(const QString& text, const QLocale& locale)
{
    if (text.trimmed().isEmpty())
        return false;
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = locale.toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    return ok && std::isfinite(value);
}

}  // namespace entries
