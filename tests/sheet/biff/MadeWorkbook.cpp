#include "MadeWorkbook.h"

#include "sheet/container/CompoundFile.h"

namespace sheet::test {
namespace {

void append(std::vector<std::uint8_t>& out, std::uint16_t type, const std::vector<std::uint8_t>& body)
{
    put(out, type, 2);
    put(out, body.size(), 2);
    out.insert(out.end(), body.begin(), body.end());
}

constexpr std::uint16_t Bof = 0x0809, Eof = 0x000A, BoundSheet = 0x0085;

} // namespace

void put(std::vector<std::uint8_t>& out, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(i < 8 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0);
}

std::vector<std::uint8_t> cellHeader(int row, int column, int xf)
{
    std::vector<std::uint8_t> body;
    put(body, static_cast<std::uint64_t>(row), 2);
    put(body, static_cast<std::uint64_t>(column), 2);
    put(body, static_cast<std::uint64_t>(xf), 2);
    return body;
}

MadeWorkbook& MadeWorkbook::global(std::uint16_t type, const std::vector<std::uint8_t>& body)
{
    append(globals_, type, body);
    return *this;
}

MadeWorkbook& MadeWorkbook::sheet(const std::string& name, std::uint16_t kind, std::uint8_t boundSheetType)
{
    sheets_.push_back(Sheet{name, boundSheetType, {}});
    append(sheets_.back().records, Bof, bof(kind));
    return *this;
}

MadeWorkbook& MadeWorkbook::record(std::uint16_t type, const std::vector<std::uint8_t>& body)
{
    append(sheets_.back().records, type, body);
    return *this;
}

MadeWorkbook& MadeWorkbook::eofClaiming(std::uint16_t length)
{
    sheets_.back().eofLength = length;
    return *this;
}

std::vector<std::uint8_t> MadeWorkbook::bof(std::uint16_t kind) const
{
    std::vector<std::uint8_t> body;
    put(body, biff_, 2);
    put(body, kind, 2);
    body.resize(biff_ == 0x0600 ? 16 : 8, 0);
    return body;
}

std::vector<std::uint8_t> MadeWorkbook::stream() const
{
    std::vector<std::uint8_t> out;
    append(out, Bof, bof(0x0005));
    out.insert(out.end(), globals_.begin(), globals_.end());
    std::vector<std::size_t> offsets;
    for (const Sheet& sheet : sheets_) {
        std::vector<std::uint8_t> body(4, 0);
        body.push_back(0);
        body.push_back(sheet.type);
        body.push_back(static_cast<std::uint8_t>(sheet.name.size()));
        if (biff_ == 0x0600)
            body.push_back(0);
        body.insert(body.end(), sheet.name.begin(), sheet.name.end());
        offsets.push_back(out.size() + 4);
        append(out, BoundSheet, body);
    }
    append(out, Eof, {});
    for (std::size_t s = 0; s < sheets_.size(); ++s) {
        const std::size_t at = out.size();
        for (int i = 0; i < 4; ++i)
            out[offsets[s] + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(at >> (8 * i));
        out.insert(out.end(), sheets_[s].records.begin(), sheets_[s].records.end());
        put(out, Eof, 2);
        put(out, sheets_[s].eofLength, 2);
    }
    return out;
}

std::vector<std::uint8_t> MadeWorkbook::file(const std::u16string& streamName) const
{
    container::CompoundFile file;
    file.root.type = container::Entry::Type::Root;
    file.root.children.push_back(
        container::Entry{streamName, container::Entry::Type::Stream, {}, 0, 0, 0, stream(), {}});
    return container::writeCompoundFile(file);
}

} // namespace sheet::test
