#include "sheet/zip/ZipArchive.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <string>

namespace {

using sheet::zip::ZipEntry;

std::string readBack(const std::vector<std::uint8_t>& bytes, const char* name, zip_uint16_t* method)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    EXPECT_NE(archive, nullptr) << zip_error_strerror(&error);
    if (!archive)
        return {};
    zip_stat_t stat;
    zip_stat(archive, name, 0, &stat);
    *method = stat.comp_method;
    std::string content(stat.size, '\0');
    zip_file_t* file = zip_fopen(archive, name, 0);
    zip_fread(file, content.data(), content.size());
    zip_fclose(file);
    zip_close(archive);
    return content;
}

// An OpenDocument package needs its "mimetype" first and uncompressed, so that its name and type
// stand at fixed offsets; the same entries must give the same bytes, so kept files can be compared.
TEST(ZipArchive, WritesEntriesInOrderStoredOrDeflatedAndAlwaysTheSameBytes)
{
    const std::string mimetype = "application/vnd.oasis.opendocument.spreadsheet";
    const std::string content = std::string(5000, 'x') + "<table/>";
    std::vector<ZipEntry> entries{{"mimetype", mimetype, true}, {"content.xml", content}};

    std::vector<std::uint8_t> bytes = sheet::zip::zipArchive(entries);

    EXPECT_EQ(bytes, sheet::zip::zipArchive(entries));
    ASSERT_GT(bytes.size(), 38 + mimetype.size());
    EXPECT_EQ(std::string(bytes.begin() + 30, bytes.begin() + 38), "mimetype");
    EXPECT_EQ(std::string(bytes.begin() + 38, bytes.begin() + 38 + static_cast<long>(mimetype.size())), mimetype);
    zip_uint16_t method = 0;
    EXPECT_EQ(readBack(bytes, "mimetype", &method), mimetype);
    EXPECT_EQ(method, ZIP_CM_STORE);
    EXPECT_EQ(readBack(bytes, "content.xml", &method), content);
    EXPECT_EQ(method, ZIP_CM_DEFLATE);
}

} // namespace
