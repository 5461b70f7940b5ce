#include "sheet/biff/GlobalsReader.h"

#include "sheet/Errors.h"
#include "sheet/biff/FormatVersion.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/SharedStringTable.h"
#include "sheet/text/Utf16.h"
#include "sheet/io/ByteReader.h"

#include <algorithm>

namespace sheet::biff {
namespace {

constexpr int Utf16CodePage = 1200;

model::Font readFont(std::span<const std::uint8_t> bytes, const RecordText& text)
{
    io::ByteReader reader(bytes, "a FONT record");
    model::Font font;
    font.height = reader.u16();
    const std::uint16_t flags = reader.u16();
    font.italic = flags & 0x02;
    font.strikeout = flags & 0x08;
    font.colorIndex = reader.u16();
    font.weight = reader.u16();
    reader.u16(); // super- or subscript
    font.underline = reader.u8();
    reader.skip(3);
    font.name = text::toUtf8(text.read(reader, 1));
    return font;
}

model::SheetKind kindOf(std::uint8_t type)
{
    switch (type) {
    case 0x00: return model::SheetKind::Worksheet;
    case 0x01: return model::SheetKind::Macro;
    case 0x02: return model::SheetKind::Chart;
    default: return model::SheetKind::Other;
    }
}

// The first nine bytes, which Excel 95 and Excel 97 write alike: font, number format, protection and
// the alignment.
void readXfStart(io::ByteReader& reader, model::Xf& xf)
{
    xf.fontIndex = reader.u16();
    xf.formatIndex = reader.u16();
    const std::uint16_t protection = reader.u16();
    xf.isStyle = protection & 0x0004;
    xf.parent = protection >> 4;
    const std::uint8_t alignment = reader.u8();
    xf.horizontal = static_cast<model::HorizontalAlignment>(alignment & 0x07);
    xf.wrap = alignment & 0x08;
    xf.vertical = static_cast<model::VerticalAlignment>(std::min((alignment >> 4) & 0x07, 4));
}

// An Excel 95 XF record: 16 bytes, with the borders and the fill packed otherwise than in BIFF8.
model::Xf readBiff5Xf(std::span<const std::uint8_t> bytes)
{
    io::ByteReader reader(bytes, "an XF record");
    model::Xf xf;
    readXfStart(reader, xf);
    constexpr int Rotations[] = {0, 255, 90, 180}; // none, stacked, upwards, downwards
    xf.rotation = Rotations[reader.u8() & 0x03];
    const std::uint32_t fillAndBottom = reader.u32();
    xf.patternForeground = fillAndBottom & 0x7F;
    xf.patternBackground = (fillAndBottom >> 7) & 0x7F;
    xf.fillPattern = static_cast<int>((fillAndBottom >> 16) & 0x3F);
    xf.bottom.style = (fillAndBottom >> 22) & 0x07;
    xf.bottom.colorIndex = static_cast<int>(fillAndBottom >> 25);
    const std::uint32_t sides = reader.u32();
    xf.top.style = sides & 0x07;
    xf.left.style = (sides >> 3) & 0x07;
    xf.right.style = (sides >> 6) & 0x07;
    xf.top.colorIndex = (sides >> 9) & 0x7F;
    xf.left.colorIndex = (sides >> 16) & 0x7F;
    xf.right.colorIndex = (sides >> 23) & 0x7F;
    return xf;
}

// The code page of an Excel 95 workbook's strings, from its CODEPAGE record.
int codePage(const std::vector<model::Record>& records)
{
    for (const model::Record& record : records)
        if (record.type == rt::CodePage && record.bytes.size() >= 2)
            return io::ByteReader(record.bytes, "the CODEPAGE record").u16();
    return 1252;
}

} // namespace

model::Xf readXf(std::span<const std::uint8_t> bytes)
{
    io::ByteReader reader(bytes, "an XF record");
    model::Xf xf;
    std::copy_n(reader.bytes(20).begin(), 20, xf.raw.begin());
    reader.seek(0);
    readXfStart(reader, xf);
    xf.rotation = reader.u8();
    xf.indent = reader.u8() & 0x0F;
    reader.u8(); // attributes used
    const std::uint16_t lines = reader.u16();
    xf.left.style = lines & 0x0F;
    xf.right.style = (lines >> 4) & 0x0F;
    xf.top.style = (lines >> 8) & 0x0F;
    xf.bottom.style = (lines >> 12) & 0x0F;
    const std::uint16_t sideColors = reader.u16();
    xf.left.colorIndex = sideColors & 0x7F;
    xf.right.colorIndex = (sideColors >> 7) & 0x7F;
    const std::uint32_t more = reader.u32();
    xf.top.colorIndex = more & 0x7F;
    xf.bottom.colorIndex = (more >> 7) & 0x7F;
    xf.fillPattern = static_cast<int>(more >> 26);
    const std::uint16_t fill = reader.u16();
    xf.patternForeground = fill & 0x7F;
    xf.patternBackground = (fill >> 7) & 0x7F;
    return xf;
}

GlobalsIndex readGlobals(model::Workbook& workbook)
{
    GlobalsIndex index;
    std::vector<bool> selfBooks;
    const auto& records = workbook.globalRecords;
    const model::Record& bof = records.front();
    const std::uint16_t version = bof.bytes.size() < 4 ? 0 : io::ByteReader(bof.bytes, "the BOF record").u16();
    if (version != Biff8Version && version != Biff5Version)
        throw FormatError("not a workbook in the Excel 97-2003 (BIFF8) or Excel 95 (BIFF5) format");
    workbook.biff = version == Biff8Version ? 8 : 5;
    index.text.unicode = workbook.biff == 8;
    index.text.codepage = index.text.unicode ? Utf16CodePage : codePage(records);
    if (substreamKind(bof) != rt::GlobalsKind)
        throw FormatError("damaged workbook: the Workbook stream does not begin with the workbook globals");
    std::vector<std::pair<std::uint16_t, std::uint16_t>> externSheets;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const model::Record& record = records[i];
        io::ByteReader reader(record.bytes, "a workbook globals record");
        switch (record.type) {
        case rt::Font:
            workbook.fonts.push_back(readFont(record.bytes, index.text));
            break;
        case rt::Format: {
            const int formatIndex = reader.u16();
            workbook.formats.codes[formatIndex] = text::toUtf8(index.text.read(reader, index.text.unicode ? 2 : 1));
            break;
        }
        case rt::Xf:
            workbook.xfs.push_back(index.text.unicode ? readXf(record.bytes) : readBiff5Xf(record.bytes));
            break;
        case rt::Palette: {
            const std::size_t count = std::min<std::size_t>(reader.u16(), 56);
            for (std::size_t c = 0; c < count; ++c) {
                const std::uint32_t r = reader.u8(), g = reader.u8(), b = reader.u8();
                reader.u8();
                workbook.palette.colors[c] = (r << 16) | (g << 8) | b;
            }
            break;
        }
        case rt::BoundSheet: {
            SheetEntry entry;
            entry.offset = reader.u32();
            entry.visible = (reader.u8() & 0x03) == 0;
            entry.kind = kindOf(reader.u8());
            entry.name = text::toUtf8(index.text.read(reader, 1));
            index.sheets.push_back(std::move(entry));
            break;
        }
        case rt::Window1:
            reader.skip(10);
            workbook.activeSheet = reader.u16();
            break;
        case rt::Sst: {
            std::vector<std::span<const std::uint8_t>> segments{record.bytes};
            for (std::size_t c = i + 1; c < records.size() && records[c].type == rt::Continue; ++c)
                segments.emplace_back(records[c].bytes);
            workbook.sharedStrings = readSharedStrings(segments);
            index.sharedStrings = workbook.sharedStrings.size();
            break;
        }
        case rt::SupBook:
            selfBooks.push_back(record.bytes.size() >= 4 && record.bytes[2] == 0x01 && record.bytes[3] == 0x04);
            break;
        case rt::ExternSheet: {
            if (!index.text.unicode) // an Excel 95 workbook names each sheet in a record of its own
                break;
            const std::size_t count = reader.u16();
            for (std::size_t x = 0; x < count && reader.remaining() >= 6; ++x) {
                const std::uint16_t book = reader.u16();
                externSheets.emplace_back(book, reader.u16());
                reader.u16();
            }
            break;
        }
        default:
            break;
        }
    }
    for (const auto& [book, sheetIndex] : externSheets)
        index.references.push_back(book < selfBooks.size() && selfBooks[book] ? sheetIndex : -1);
    workbook.readXfCount = workbook.xfs.size();
    if (workbook.activeSheet < 0 || static_cast<std::size_t>(workbook.activeSheet) >= index.sheets.size())
        workbook.activeSheet = 0;
    return index;
}

} // namespace sheet::biff
