#pragma once

#include <string>

namespace tools::test {

// Expects `actual` to be, byte for byte, the kept file tests/tools/expected/`name` (which may lie in a folder). When a change
// is intended, run the test with TORTELET_REFRESH_EXPECTED=1 to write the kept file anew, and
// commit the difference with the change.
void expectKeptFile(const std::string& name, const std::string& actual);

}  // namespace tools::test
