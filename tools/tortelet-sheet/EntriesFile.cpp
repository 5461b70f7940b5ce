#include "EntriesFile.h"

#include "Command.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <system_error>

namespace tools {

namespace {

constexpr std::uintmax_t LargestEntriesFile = 64u << 20;
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool isUtf8(std::string_view bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !decoder.hasError();
}

std::string lineError(int line, const char* reason)
{
    return "line " + std::to_string(line) + " " + reason;
}

std::string readStream(std::istream& stream)
{
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}

}  // namespace

std::vector<Entry> parseEntries(std::string_view text, const std::string& source)
{
    if (text.starts_with(ByteOrderMark))
        text.remove_prefix(ByteOrderMark.size());
    std::vector<Entry> entries;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (!isUtf8(line))
            throw FileFailure(source, lineError(lineNumber, "is not UTF-8 text"));
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos)
            throw FileFailure(source, lineError(lineNumber, "is not \"label<TAB>amount\""));
        entries.push_back(Entry{std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))});
    }
    return entries;
}

std::vector<Entry> readEntriesFile(const std::string& path)
{
    if (path == "-")
        return parseEntries(readStream(std::cin), "standard input");
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw FileFailure(path, "is a folder, not an entries file");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > LargestEntriesFile)
        throw FileFailure(path, "is too large for an entries file");
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw FileFailure(path, std::string("cannot be read: ") + std::strerror(errno));
    return parseEntries(readStream(file), path);
}

}  // namespace tools
