#include "sheet/render/CellAlignment.h"

#include <QString>

namespace sheet::render {

model::HorizontalAlignment shownAlignment(const model::Xf& xf, const model::Cell& cell, const std::string& shownText)
{
    using model::HorizontalAlignment;
    if (xf.horizontal != HorizontalAlignment::General)
        return xf.horizontal;
    if (cell.number())
        return HorizontalAlignment::Right;
    if (!cell.isText())
        return HorizontalAlignment::Center;
    return QString::fromStdString(shownText).isRightToLeft() ? HorizontalAlignment::Right : HorizontalAlignment::Left;
}

}  // namespace sheet::render
