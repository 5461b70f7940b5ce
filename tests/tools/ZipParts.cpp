#include "ZipParts.h"

#include <gtest/gtest.h>
#include <zip.h>

namespace tools::test {

std::vector<std::pair<std::string, std::string>> zipParts(const std::string& path)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    EXPECT_NE(archive, nullptr) << path << ": libzip error " << error;
    if (!archive)
        return {};
    std::vector<std::pair<std::string, std::string>> parts;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat);
        std::string content(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
        EXPECT_EQ(zip_fread(file, content.data(), content.size()), static_cast<zip_int64_t>(content.size()));
        zip_fclose(file);
        parts.emplace_back(stat.name, std::move(content));
    }
    zip_close(archive);
    return parts;
}

}  // namespace tools::test
