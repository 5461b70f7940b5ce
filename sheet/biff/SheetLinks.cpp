#include "sheet/biff/SheetLinks.h"

#include "sheet/io/ByteReader.h"
#include "sheet/text/Utf16.h"

#include <array>
#include <cstring>

namespace sheet::biff {
namespace {

constexpr std::uint16_t HLink = 0x01B8;
constexpr std::uint16_t HLinkTooltip = 0x0800;

namespace flag {
constexpr std::uint32_t HasMoniker = 0x0001;
constexpr std::uint32_t HasLocation = 0x0008;
constexpr std::uint32_t HasDisplayName = 0x0010;
constexpr std::uint32_t HasGuid = 0x0020;
constexpr std::uint32_t HasCreationTime = 0x0040;
constexpr std::uint32_t HasFrameName = 0x0080;
constexpr std::uint32_t MonikerSavedAsString = 0x0100;
} // namespace flag

using Guid = std::array<std::uint8_t, 16>;
constexpr Guid UrlMoniker = {0xE0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11, 0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};
constexpr Guid FileMoniker = {0x03, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// UTF-16 characters up to a terminating zero or the end of `count`.
std::string wideText(io::ByteReader& reader, std::size_t count)
{
    std::u16string text;
    for (std::size_t k = 0; k < count; ++k) {
        const char16_t c = reader.u16();
        if (c == 0) {
            reader.skip(2 * (count - k - 1));
            break;
        }
        text += c;
    }
    return text::toUtf8(text);
}

// A HyperlinkString: a count of characters, the terminating zero included, and the characters.
std::string hyperlinkString(io::ByteReader& reader)
{
    return wideText(reader, reader.u32());
}

Guid guid(io::ByteReader& reader)
{
    Guid id{};
    const auto bytes = reader.bytes(16);
    std::memcpy(id.data(), bytes.data(), id.size());
    return id;
}

std::string moniker(io::ByteReader& reader)
{
    const Guid kind = guid(reader);
    if (kind == UrlMoniker) {
        const std::size_t length = reader.u32();
        return wideText(reader, length / 2);
    }
    if (kind != FileMoniker)
        return {};
    const int parents = reader.u16();
    const std::size_t ansiLength = reader.u32();
    const auto ansi = reader.bytes(ansiLength);
    reader.skip(2 + 2 + 20);
    const std::size_t unicodeSize = reader.u32();
    std::string path;
    for (int k = 0; k < parents; ++k)
        path += "../";
    if (unicodeSize > 0) {
        const std::size_t bytes = reader.u32();
        reader.u16();
        return path + wideText(reader, bytes / 2);
    }
    std::u16string latin; // the path in the system's code page; its ASCII reads the same in any
    for (const std::uint8_t c : ansi)
        if (c != 0)
            latin += static_cast<char16_t>(c);
    return path + text::toUtf8(latin);
}

Hyperlink readLink(const model::Record& record)
{
    io::ByteReader reader(record.bytes, "an HLINK record");
    Hyperlink link;
    link.range.firstRow = reader.u16();
    link.range.lastRow = reader.u16();
    link.range.firstColumn = reader.u16();
    link.range.lastColumn = reader.u16();
    reader.skip(16 + 4);
    const std::uint32_t flags = reader.u32();
    if (flags & flag::HasDisplayName)
        link.display = hyperlinkString(reader);
    if (flags & flag::HasFrameName)
        hyperlinkString(reader);
    if (flags & flag::HasMoniker)
        link.target = flags & flag::MonikerSavedAsString ? hyperlinkString(reader) : moniker(reader);
    if (flags & flag::HasLocation)
        link.location = hyperlinkString(reader);
    return link;
}

} // namespace

std::vector<Hyperlink> readHyperlinks(const model::Sheet& sheet)
{
    std::vector<Hyperlink> links;
    bool lastRead = false;
    for (const model::Record& record : sheet.records) {
        if (record.type == HLinkTooltip && lastRead && record.bytes.size() > 10) {
            io::ByteReader reader(record.bytes, "an HLINKTOOLTIP record");
            reader.skip(10);
            links.back().tooltip = wideText(reader, reader.remaining() / 2);
            continue;
        }
        lastRead = false;
        if (record.type != HLink)
            continue;
        try {
            Hyperlink link = readLink(record);
            const model::CellRange& r = link.range;
            if (r.firstRow <= r.lastRow && r.firstColumn <= r.lastColumn && r.lastColumn < 256 && r.lastRow < 65536
                && (!link.target.empty() || !link.location.empty())) {
                links.push_back(std::move(link));
                lastRead = true;
            }
        } catch (const FormatError&) {
            // A link cut short leads nowhere.
        }
    }
    return links;
}

} // namespace sheet::biff
