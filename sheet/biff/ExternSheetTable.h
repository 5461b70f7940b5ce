#pragma once

#include "sheet/model/Record.h"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace sheet::biff {

// The workbook's references to sheets as a workbook written from the model holds them: the SUPBOOK and
// EXTERNSHEET records it came with (their entries keep their places, as the formulas and names use them)
// and the entries that its charts need for sheets of its own, added after them.
class ExternSheetTable {
public:
    // `kept` are the globals records the workbook came with; `sheetCount` the number of its sheets.
    ExternSheetTable(const std::vector<model::Record>& kept, std::size_t sheetCount);

    // The EXTERNSHEET entry that names the workbook's sheet `sheet`, added when there is none; nothing
    // for a sheet the workbook does not have.
    std::optional<std::uint16_t> entryFor(int sheet);

    // Appends the SUPBOOK records (with what follows each), the EXTERNSHEET record and the other kept
    // records (NAME and the like), with headers; nothing when there are none.
    void write(std::vector<std::uint8_t>& out) const;

private:
    struct Entry {
        std::uint16_t book = 0;
        std::uint16_t first = 0;
        std::uint16_t last = 0;
    };

    std::vector<model::Record> books_;  // SUPBOOK records with the EXTERNNAME, XCT and CRN records after each
    std::vector<model::Record> others_; // NAME and every other kept record
    std::vector<Entry> entries_;
    std::map<int, std::uint16_t> ownSheets_;
    std::size_t sheetCount_ = 0;
    std::size_t bookCount_ = 0;
    int selfBook_ = -1; // the SUPBOOK that names this workbook, -1 until there is one
};

} // namespace sheet::biff
