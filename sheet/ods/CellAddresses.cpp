#include "sheet/ods/CellAddresses.h"

#include "sheet/model/A1Notation.h"

#include <cctype>

namespace sheet::ods {

std::string quotedSheetName(const std::string& name)
{
    bool plain = !name.empty();
    for (unsigned char c : name)
        plain = plain && (std::isalnum(c) || c == '_');
    if (plain)
        return name;
    std::string quoted = "'";
    for (char c : name) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

std::string odfCellAddress(const std::string& sheetName, int row, int column)
{
    return quotedSheetName(sheetName) + "." + model::cellAddress(row, column);
}

std::string odfRangeAddress(const std::string& sheetName, const model::CellRange& range)
{
    return odfCellAddress(sheetName, range.firstRow, range.firstColumn) + ":"
        + odfCellAddress(sheetName, range.lastRow, range.lastColumn);
}

} // namespace sheet::ods
