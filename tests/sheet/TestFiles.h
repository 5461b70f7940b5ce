#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::test {

std::string dataPath(const std::string& name);     // a file of tests/data
std::string templatePath();                         // the program's chart template
std::vector<std::uint8_t> fileBytes(const std::string& path);

// A fresh folder that is removed with everything in it at the end of the test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string path(const std::string& name) const;
    std::vector<std::string> entries() const;

private:
    std::string folder_;
};

} // namespace sheet::test
