#include "sheet/model/A1Notation.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace sheet::model {

std::string cellAddress(int row, int column)
{
    char text[CellAddressSize];
    return std::string(text, writeCellAddress(text, row, column));
}

char* writeCellAddress(char* out, int row, int column)
{
    char letters[8];
    char* first = std::end(letters);
    for (int rest = column + 1; rest > 0; rest = (rest - 1) / 26)
        *--first = static_cast<char>('A' + (rest - 1) % 26);
    out = std::copy(first, std::end(letters), out);
    return std::to_chars(out, out + 12, static_cast<long long>(row) + 1).ptr;
}

std::string rangeAddress(const CellRange& range)
{
    const std::string first = cellAddress(range.firstRow, range.firstColumn);
    if (range.firstRow == range.lastRow && range.firstColumn == range.lastColumn)
        return first;
    return first + ":" + cellAddress(range.lastRow, range.lastColumn);
}

} // namespace sheet::model
