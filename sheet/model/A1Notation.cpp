#include "sheet/model/A1Notation.h"

namespace sheet::model {

std::string cellAddress(int row, int column)
{
    std::string letters;
    for (int rest = column + 1; rest > 0; rest = (rest - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (rest - 1) % 26));
    return letters + std::to_string(row + 1);
}

std::string rangeAddress(const CellRange& range)
{
    const std::string first = cellAddress(range.firstRow, range.firstColumn);
    if (range.firstRow == range.lastRow && range.firstColumn == range.lastColumn)
        return first;
    return first + ":" + cellAddress(range.lastRow, range.lastColumn);
}

} // namespace sheet::model
