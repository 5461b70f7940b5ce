#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

// One data row for the chart: a label and an amount, both as typed.
struct Entry {
    std::string label;
    std::string amount;
    bool operator==(const Entry&) const = default;
};

// The most entries the chart sheet takes: rows 4 to 65536.
inline constexpr std::size_t MostEntries = 65533;

// Reads an entries text: UTF-8 lines of "label<TAB>amount"; empty lines are skipped and a line may
// end in CR LF. `source` names the text in errors. Throws FileFailure for a line without exactly one
// tab or with bytes that are not UTF-8, and for more than MostEntries entries.
std::vector<Entry> parseEntries(std::string_view text, const std::string& source);

// Reads and parses the entries file at `path`, or standard input for "-". A file that is not a regular
// file is refused without waiting on it, and no input is read past 64 MB.
std::vector<Entry> readEntriesFile(const std::string& path);

}  // namespace tools
