#include "KeptFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tools::test {

void expectKeptFile(const std::string& name, const std::string& actual)
{
    const std::string path = std::string(TORTELET_EXPECTED_FOLDER) + "/" + name;
    const char* refresh = std::getenv("TORTELET_REFRESH_EXPECTED");
    if (refresh && *refresh) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream out(path, std::ios::binary);
        out << actual;
        EXPECT_TRUE(out) << "cannot write " << path;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path << " is missing; TORTELET_REFRESH_EXPECTED=1 writes it";
    const std::string kept{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(kept, actual) << name << " differs; when the change is intended, TORTELET_REFRESH_EXPECTED=1 writes it anew";
}

}  // namespace tools::test
