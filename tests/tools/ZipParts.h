#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tools::test {

// The entries of a zip archive file in their stored order: name and content. An archive that cannot
// be read gives a test failure and nothing.
std::vector<std::pair<std::string, std::string>> zipParts(const std::string& path);

}  // namespace tools::test
