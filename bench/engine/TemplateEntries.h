#pragma once

#include "sheet/automation/Workbook.h"

#include <string>

namespace engine_bench {

// What the chart build writes: the data rows of the template emptied, then one label, amount and
// accounting format per entry from row 4.
inline void writeEntries(sheet::Workbook& book, int entries)
{
    constexpr const char* Accounting = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";
    sheet::Worksheet& sheet = book.ActiveSheet();
    for (int row = 4; row <= 9; ++row) {
        sheet.Cells(row, 1).setValue("");
        sheet.Cells(row, 2).setValue("");
    }
    for (int i = 0; i < entries; ++i) {
        sheet.Cells(4 + i, 1).setValue("Asset number " + std::to_string(i));
        sheet.Cells(4 + i, 2).setValue(std::to_string(1000 + 37 * i));
        sheet.Cells(4 + i, 2).setNumberFormat(Accounting);
    }
}

}  // namespace engine_bench
