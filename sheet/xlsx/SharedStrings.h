#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace sheet::xlsx {

// The shared string table of a package: each distinct text once, in the order the cells first use it.
class SharedStrings {
public:
    // The entry of a text (UTF-8), added when it is new.
    std::size_t index(const std::string& text);
    std::size_t uses() const { return uses_; }
    // The shared strings part (xl/sharedStrings.xml).
    std::string part() const;

private:
    std::unordered_map<std::string, std::size_t> indices_;
    std::vector<const std::string*> texts_; // keys of indices_, in entry order
    std::size_t uses_ = 0;
};

} // namespace sheet::xlsx
