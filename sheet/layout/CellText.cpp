#include "sheet/layout/CellText.h"

#include <type_traits>

namespace sheet::layout {

const format::NumberFormat& CellText::numberFormat(const model::Cell& cell) const
{
    const std::string code = workbook_.formatCode(cell.xf);
    auto found = formats_.find(code);
    if (found == formats_.end())
        found = formats_.emplace(code, format::NumberFormat(code)).first;
    return found->second;
}

std::optional<format::FormattedText> CellText::narrowed(const model::Cell& cell, int characters) const
{
    const std::optional<double> number = cell.number();
    const format::NumberFormat& format = numberFormat(cell);
    if (!number || !format.usesGeneral())
        return std::nullopt;
    return format.format(*number, characters);
}

format::FormattedText CellText::formatted(const model::Cell& cell) const
{
    const format::NumberFormat& numberFormat = this->numberFormat(cell);
    return std::visit(
        [&numberFormat](const auto& value) -> format::FormattedText {
            using Value = std::decay_t<decltype(value)>;
            format::FormattedText text;
            if constexpr (std::is_same_v<Value, double>) {
                text = numberFormat.format(value);
            } else if constexpr (std::is_same_v<Value, std::string>) {
                text = numberFormat.format(std::string_view(value));
            } else if constexpr (std::is_same_v<Value, bool>) {
                text.appendText(value ? "TRUE" : "FALSE");
            } else if constexpr (std::is_same_v<Value, model::ErrorCode>) {
                text.appendText(model::errorText(value));
            }
            return text;
        },
        workbook_.value(cell));
}

}  // namespace sheet::layout
