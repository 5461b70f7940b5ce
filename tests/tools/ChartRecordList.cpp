#include "ChartRecordList.h"

#include "sheet/container/CompoundFile.h"

#include <cstdio>
#include <stdexcept>

namespace tools::test {

namespace {

constexpr std::uint16_t Bof = 0x0809;
constexpr std::uint16_t Eof = 0x000A;
constexpr std::uint16_t ChartSubstream = 0x0020;

std::uint16_t u16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::string hex(unsigned value, int digits)
{
    char text[9];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace

std::string chartRecordList(std::span<const std::uint8_t> workbookFile)
{
    const sheet::container::CompoundFile file = sheet::container::readCompoundFile(workbookFile);
    const sheet::container::Entry* workbook = file.root.child(u"Workbook");
    if (!workbook)
        throw std::runtime_error("the file has no Workbook stream");
    const std::span<const std::uint8_t> stream(workbook->data);

    std::string list;
    int charts = 0;
    int depth = 0;  // substreams open inside the chart being listed
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const std::uint16_t type = u16(stream, at);
        const std::uint16_t length = u16(stream, at + 2);
        if (at + 4 + length > stream.size())
            throw std::runtime_error("a record runs past the end of the Workbook stream");
        const std::span<const std::uint8_t> body = stream.subspan(at + 4, length);
        at += 4 + length;
        if (depth == 0 && type == Bof && length >= 4 && u16(body, 2) == ChartSubstream)
            list += "chart " + std::to_string(++charts) + "\n";
        else if (depth == 0)
            continue;
        depth += type == Bof ? 1 : type == Eof ? -1 : 0;

        list += hex(type, 4) + " " + std::to_string(length) + (length > 0 ? " " : "");
        for (std::uint8_t byte : body)
            list += hex(byte, 2);
        list += "\n";
    }
    return list;
}

}  // namespace tools::test
