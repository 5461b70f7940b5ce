#include "sheet/zip/ZipReader.h"

#include "sheet/Errors.h"

#include <zip.h>

#include <array>
#include <memory>

namespace sheet::zip {

namespace {

struct FileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using File = std::unique_ptr<zip_file_t, FileClose>;

[[noreturn]] void damaged(std::string_view name, const std::string& reason)
{
    throw FormatError("the zip archive is damaged: " + std::string(name) + ": " + reason);
}

} // namespace

ZipReader::ZipReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes))
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        throw Error("cannot read the zip archive: out of memory");
    }
    archive_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive_) {
        zip_source_free(source);
        std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw FormatError("not a zip archive, or a damaged one: " + reason);
    }
    zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t at = 0; at < count; ++at) {
        const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(at), ZIP_FL_ENC_GUESS);
        names_.emplace_back(name ? name : "");
    }
}

ZipReader::~ZipReader()
{
    zip_discard(archive_);
}

std::int64_t ZipReader::index(std::string_view name) const
{
    std::string wanted(name);
    return zip_name_locate(archive_, wanted.c_str(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
}

bool ZipReader::contains(std::string_view name) const
{
    return index(name) >= 0;
}

const std::string& ZipReader::spelling(std::string_view name) const
{
    std::int64_t at = index(name);
    if (at < 0)
        throw FormatError("the package has no part " + std::string(name));
    return names_.at(static_cast<std::size_t>(at));
}

std::uint64_t ZipReader::size(std::string_view name) const
{
    std::int64_t at = index(name);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (at < 0 || zip_stat_index(archive_, static_cast<zip_uint64_t>(at), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw FormatError("the package has no part " + std::string(name));
    return stat.size;
}

bool ZipReader::stored(std::string_view name) const
{
    std::int64_t at = index(name);
    zip_stat_t stat;
    zip_stat_init(&stat);
    return at >= 0 && zip_stat_index(archive_, static_cast<zip_uint64_t>(at), 0, &stat) == 0
        && (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method == ZIP_CM_STORE;
}

std::string ZipReader::read(std::string_view name, std::uint64_t limit) const
{
    std::uint64_t stated = size(name);
    if (stated > limit)
        throw FormatError("the package's part " + std::string(name) + " is too large to read (" +
                          std::to_string(stated) + " bytes)");
    std::string content;
    content.reserve(stated);
    stream(name, [&](std::string_view piece) { content.append(piece); });
    return content;
}

void ZipReader::stream(std::string_view name, const std::function<void(std::string_view)>& piece) const
{
    std::int64_t at = index(name);
    if (at < 0)
        throw FormatError("the package has no part " + std::string(name));
    std::uint64_t stated = size(name);
    File file(zip_fopen_index(archive_, static_cast<zip_uint64_t>(at), 0));
    if (!file)
        damaged(name, zip_strerror(archive_));
    std::array<char, 64 * 1024> buffer;
    std::uint64_t total = 0;
    for (;;) {
        zip_int64_t read = zip_fread(file.get(), buffer.data(), buffer.size());
        if (read < 0)
            damaged(name, zip_file_strerror(file.get()));
        if (read == 0)
            break;
        total += static_cast<std::uint64_t>(read);
        if (total > stated)
            damaged(name, "it unpacks to more than its stated size");
        piece(std::string_view(buffer.data(), static_cast<std::size_t>(read)));
    }
    if (total != stated)
        damaged(name, "it unpacks to less than its stated size");
}

} // namespace sheet::zip
