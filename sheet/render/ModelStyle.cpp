#include "sheet/render/ModelStyle.h"

#include <algorithm>

namespace sheet::render {

QFont qtFont(const model::Font& font)
{
    QFont result(QString::fromStdString(font.name.empty() ? std::string("Arial") : font.name));
    result.setPointSizeF(std::clamp(font.height, 20, 8180) / 20.0);
    result.setBold(font.bold());
    result.setItalic(font.italic);
    result.setUnderline(font.underline != 0);
    result.setStrikeOut(font.strikeout);
    return result;
}

QColor paletteColour(const model::Palette& palette, int index, const QColor& automatic)
{
    if (index < 0 || index > 65)
        return automatic;
    return QColor::fromRgb(palette.rgb(index));
}

}  // namespace sheet::render
