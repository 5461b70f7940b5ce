#include "sheet/model/Workbook.h"

namespace sheet::model {

const Font* Workbook::font(int fontIndex) const
{
    if (fontIndex < 0 || fontIndex == 4)
        return nullptr;
    const auto position = static_cast<std::size_t>(fontIndex < 4 ? fontIndex : fontIndex - 1);
    return position < fonts.size() ? &fonts[position] : nullptr;
}

const Xf* Workbook::xf(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < xfs.size() ? &xfs[static_cast<std::size_t>(index)]
                                                                       : nullptr;
}

std::string Workbook::formatCode(int xfIndex) const
{
    const Xf* format = xf(xfIndex);
    return formats.code(format ? format->formatIndex : 0);
}

} // namespace sheet::model
