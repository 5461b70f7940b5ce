#include "EntriesFile.h"

#include "Command.h"

#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <unistd.h>

namespace tools {

namespace {

constexpr std::size_t LargestEntriesFile = 64u << 20;
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
        if (entries.size() == MostEntries)
            throw FileFailure(source, lineError(lineNumber, "is one entry too many: the sheet holds 65,533 entries"));
        entries.push_back(Entry{std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))});
    }
    return entries;
}

std::vector<Entry> readEntriesFile(const std::string& path)
{
    const bool standardInput = path == "-";
    const std::string source = standardInput ? "standard input" : path;
    std::vector<std::uint8_t> bytes;
    try {
        if (standardInput) {
            bytes = sheet::io::readAtMost(STDIN_FILENO, LargestEntriesFile, source);
        } else {
            const sheet::io::Descriptor file = sheet::io::openRegularFile(path);
            bytes = sheet::io::readAtMost(file.get(), LargestEntriesFile, source);
        }
    } catch (const sheet::FileError& error) {
        throw FileFailure(source, error.what());
    }
    return parseEntries(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), source);
}

}  // namespace tools
