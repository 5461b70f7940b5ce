#include "sheet/ods/LengthText.h"

#include <cmath>

namespace sheet::ods {

std::optional<double> lengthPoints(QStringView text)
{
    text = text.trimmed();
    qsizetype end = 0;
    while (end < text.size() && (text[end].isDigit() || text[end] == u'.' || text[end] == u'-' || text[end] == u'+'))
        ++end;
    bool ok = false;
    const double number = text.left(end).toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const QStringView unit = text.mid(end);
    if (unit == u"pt")
        return number;
    if (unit == u"in")
        return number * 72;
    if (unit == u"cm")
        return number * 72 / 2.54;
    if (unit == u"mm")
        return number * 72 / 25.4;
    if (unit == u"pc")
        return number * 12;
    if (unit == u"px")
        return number * 0.75;
    return std::nullopt;
}

} // namespace sheet::ods
