#include "sheet/xlsx/CellReferences.h"

#include "sheet/model/A1Notation.h"

namespace sheet::xlsx {
namespace {

template <typename Char>
std::optional<model::CellAddress> parsed(const Char* text, std::size_t size)
{
    std::size_t k = 0;
    if (k < size && text[k] == '$')
        ++k;
    long column = 0;
    const std::size_t lettersStart = k;
    while (k < size && ((text[k] >= 'A' && text[k] <= 'Z') || (text[k] >= 'a' && text[k] <= 'z'))) {
        column = column * 26 + ((text[k] | 0x20) - 'a' + 1);
        if (column > PackageLastColumn + 1)
            return std::nullopt;
        ++k;
    }
    if (k == lettersStart)
        return std::nullopt;
    if (k < size && text[k] == '$')
        ++k;
    long row = 0;
    const std::size_t digitsStart = k;
    while (k < size && text[k] >= '0' && text[k] <= '9') {
        row = row * 10 + (text[k] - '0');
        if (row > PackageLastRow + 1)
            return std::nullopt;
        ++k;
    }
    if (k == digitsStart || k != size || row == 0)
        return std::nullopt;
    return model::CellAddress{static_cast<int>(row - 1), static_cast<int>(column - 1)};
}

std::string absoluteCell(int row, int column)
{
    const std::string address = model::cellAddress(row, column);
    const std::size_t digits = address.find_first_of("0123456789");
    return "$" + address.substr(0, digits) + "$" + address.substr(digits);
}

} // namespace

std::optional<model::CellAddress> parsedCell(QStringView text)
{
    return parsed(text.utf16(), static_cast<std::size_t>(text.size()));
}

std::optional<model::CellAddress> parsedCell(std::string_view text)
{
    return parsed(text.data(), text.size());
}

std::optional<model::CellRange> parsedRange(std::string_view text)
{
    const std::size_t colon = text.find(':');
    const auto first = parsedCell(text.substr(0, colon));
    const auto last = colon == std::string_view::npos ? first : parsedCell(text.substr(colon + 1));
    if (!first || !last)
        return std::nullopt;
    model::CellRange range{std::min(first->row, last->row), std::min(first->column, last->column),
                           std::max(first->row, last->row), std::max(first->column, last->column)};
    return range;
}

std::optional<SheetRange> parsedSheetRange(std::string_view formula)
{
    while (!formula.empty() && formula.front() == ' ')
        formula.remove_prefix(1);
    if (formula.size() > 2 && formula.front() == '(' && formula.back() == ')' && formula.find(',') == std::string_view::npos)
        formula = formula.substr(1, formula.size() - 2);
    const std::size_t bang = formula.rfind('!');
    if (bang == std::string_view::npos || bang == 0)
        return std::nullopt;
    std::string_view name = formula.substr(0, bang);
    SheetRange result;
    if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') {
        name = name.substr(1, name.size() - 2);
        for (std::size_t k = 0; k < name.size(); ++k) {
            result.sheet += name[k];
            if (name[k] == '\'' && k + 1 < name.size() && name[k + 1] == '\'')
                ++k;
        }
    } else {
        result.sheet = std::string(name);
    }
    if (result.sheet.empty() || result.sheet.front() == '[')
        return std::nullopt;
    const auto range = parsedRange(formula.substr(bang + 1));
    if (!range)
        return std::nullopt;
    result.range = *range;
    return result;
}

std::string absoluteRange(const model::CellRange& range)
{
    std::string text = absoluteCell(range.firstRow, range.firstColumn);
    if (range.lastRow != range.firstRow || range.lastColumn != range.firstColumn)
        text += ":" + absoluteCell(range.lastRow, range.lastColumn);
    return text;
}

} // namespace sheet::xlsx
