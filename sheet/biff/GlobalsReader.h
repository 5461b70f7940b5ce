#pragma once

#include "sheet/biff/ChartReader.h"
#include "sheet/biff/RecordText.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::biff {

// A BOUNDSHEET record.
struct SheetEntry {
    std::uint32_t offset = 0;
    std::string name;
    model::SheetKind kind = model::SheetKind::Worksheet;
    bool visible = true;
};

// What the globals tell about the sheets that follow them.
struct GlobalsIndex {
    std::vector<SheetEntry> sheets;
    SheetReferences references;
    RecordText text;
    std::size_t sharedStrings = 0; // the entries of the file's string table, which cells may refer to
};

// Fills fonts, formats, XFs, palette, strings and the active sheet from `workbook.globalRecords`, of
// BIFF8 or of an Excel 95 workbook (BIFF5 and BIFF7, whose strings are bytes in the workbook's code page).
GlobalsIndex readGlobals(model::Workbook& workbook);

model::Xf readXf(std::span<const std::uint8_t> bytes);

} // namespace sheet::biff
