#include "sheet/model/Workbook.h"

#include "sheet/text/Utf16.h"

namespace sheet::model {

int Workbook::activeWorksheet() const
{
    const auto isWorksheet = [this](std::size_t index) { return sheets[index].kind == SheetKind::Worksheet; };
    if (activeSheet >= 0 && static_cast<std::size_t>(activeSheet) < sheets.size() &&
        isWorksheet(static_cast<std::size_t>(activeSheet)))
        return activeSheet;
    for (std::size_t i = 0; i < sheets.size(); ++i)
        if (isWorksheet(i))
            return static_cast<int>(i);
    return -1;
}

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

CellValue Workbook::value(const Cell& cell) const
{
    switch (cell.kind()) {
    case Cell::Kind::Empty: return std::monostate{};
    case Cell::Kind::Number: return *cell.number();
    case Cell::Kind::Logical: return cell.logical();
    case Cell::Kind::Error: return cell.error();
    case Cell::Kind::SharedText:
        return cell.textIndex() < sharedStrings.size() ? text::toUtf8(sharedStrings[cell.textIndex()].text) : std::string();
    case Cell::Kind::Text:
        return cell.textIndex() < cellTexts.size() ? cellTexts[cell.textIndex()] : std::string();
    }
    return std::monostate{};
}

void Workbook::setValue(Cell& cell, CellValue value)
{
    if (cell.kind() == Cell::Kind::Text && cell.textIndex() < cellTexts.size())
        std::string().swap(cellTexts[cell.textIndex()]);
    std::visit(
        [&](auto&& held) {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, double>) {
                cell.setNumber(held);
            } else if constexpr (std::is_same_v<Held, std::string>) {
                cell.setText(static_cast<std::uint32_t>(cellTexts.size()));
                cellTexts.push_back(std::move(held));
            } else if constexpr (std::is_same_v<Held, bool>) {
                cell.setLogical(held);
            } else if constexpr (std::is_same_v<Held, ErrorCode>) {
                cell.setError(held);
            } else {
                cell.setEmpty();
            }
        },
        std::move(value));
}

} // namespace sheet::model
