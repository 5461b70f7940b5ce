#include "sheet/zip/ZipArchive.h"

#include "sheet/Errors.h"

#include <zip.h>

#include <memory>

namespace sheet::zip {

namespace {

// The earliest date a zip entry can hold: 1980-01-01, 00:00:00.
constexpr zip_uint16_t FirstDosDate = (0 << 9) | (1 << 5) | 1;
constexpr zip_uint16_t MidnightDosTime = 0;

struct SourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using Source = std::unique_ptr<zip_source_t, SourceFree>;

[[noreturn]] void fail(const std::string& what, zip_error_t* error)
{
    std::string reason = zip_error_strerror(error);
    zip_error_fini(error);
    throw Error("cannot make the zip archive: " + what + ": " + reason);
}

void addEntry(zip_t* archive, const ZipEntry& entry)
{
    zip_source_t* data = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
    if (!data)
        fail(entry.name, zip_get_error(archive));
    zip_int64_t index = zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(data);
        fail(entry.name, zip_get_error(archive));
    }
    auto at = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(archive, at, entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 1) != 0
        || zip_file_set_dostime(archive, at, MidnightDosTime, FirstDosDate, 0) != 0)
        fail(entry.name, zip_get_error(archive));
}

std::vector<std::uint8_t> contentOf(zip_source_t* source)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_open(source) != 0)
        fail("reading it back", zip_source_error(source));
    if (zip_source_stat(source, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
        zip_source_close(source);
        fail("reading it back", zip_source_error(source));
    }
    std::vector<std::uint8_t> bytes(stat.size);
    zip_int64_t read = zip_source_read(source, bytes.data(), bytes.size());
    zip_source_close(source);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size)
        throw Error("cannot make the zip archive: it could not be read back whole");
    return bytes;
}

} // namespace

std::vector<std::uint8_t> zipArchive(const std::vector<ZipEntry>& entries)
{
    zip_error_t error;
    zip_error_init(&error);
    Source buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer)
        fail("memory", &error);
    zip_source_keep(buffer.get()); // the archive frees its reference on closing; the bytes stay here
    zip_t* archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer.get());
        fail("opening", &error);
    }
    try {
        for (const ZipEntry& entry : entries)
            addEntry(archive, entry);
    } catch (...) {
        zip_discard(archive);
        throw;
    }
    if (zip_close(archive) != 0) {
        std::string reason = zip_strerror(archive);
        zip_discard(archive);
        throw Error("cannot make the zip archive: " + reason);
    }
    return contentOf(buffer.get());
}

} // namespace sheet::zip
