#pragma once

#include "sheet/model/Workbook.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace sheet::xlsx {

// The shared string table of a package: each distinct text once, in the order the cells first use it,
// and each text with formatting runs of the workbook's own string table once, with its runs.
class SharedStrings {
public:
    explicit SharedStrings(const model::Workbook& workbook) : workbook_(workbook) {}

    // The entry of a text (UTF-8), added when it is new.
    std::size_t index(const std::string& text);
    // The entry of the workbook's string table entry `entry`, a text with formatting runs.
    std::size_t richIndex(std::uint32_t entry);
    std::size_t uses() const { return uses_; }
    // The shared strings part (xl/sharedStrings.xml).
    std::string part() const;

private:
    // An entry: a key of indices_, or else a text with runs of the workbook's string table.
    struct Entry {
        const std::string* text = nullptr;
        std::uint32_t rich = 0;
    };

    const model::Workbook& workbook_;
    std::unordered_map<std::string, std::size_t> indices_;
    std::unordered_map<std::uint32_t, std::size_t> richIndices_;
    std::vector<Entry> texts_; // in entry order
    std::size_t uses_ = 0;
};

} // namespace sheet::xlsx
