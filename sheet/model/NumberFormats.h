#pragma once

#include <map>
#include <optional>
#include <string>

namespace sheet::model {

// Number format codes by index: the built-in ones, overridden and extended by the FORMAT records.
struct NumberFormats {
    std::map<int, std::string> codes = builtIns();

    // The built-in codes, made once.
    static const std::map<int, std::string>& builtIns();
    std::string code(int index) const; // "General" for an unknown index
    std::optional<int> find(const std::string& code) const;
};

// The first index that a workbook's own formats may take.
inline constexpr int FirstCustomFormat = 164;

} // namespace sheet::model
