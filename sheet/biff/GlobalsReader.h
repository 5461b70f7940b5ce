#pragma once

#include "sheet/biff/ChartReader.h"
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
};

// Fills fonts, formats, XFs, palette, strings and the active sheet from `workbook.globalRecords`.
GlobalsIndex readGlobals(model::Workbook& workbook);

model::Xf readXf(std::span<const std::uint8_t> bytes);

} // namespace sheet::biff
