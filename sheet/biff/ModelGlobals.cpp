#include "sheet/biff/ModelGlobals.h"

#include "sheet/biff/FormatVersion.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/SharedStringTable.h"
#include "sheet/biff/UnicodeText.h"
#include "sheet/io/ByteWriter.h"
#include "sheet/text/Utf16.h"

#include <algorithm>

namespace sheet::biff {
namespace {

constexpr std::uint16_t InterfaceHdr = 0x00E1, Mms = 0x00C1, InterfaceEnd = 0x00E2, WriteAccess = 0x005C,
                        Dsf = 0x0161, FnGroupCount = 0x009C, WindowProtect = 0x0019, Protect = 0x0012,
                        Password = 0x0013, Prot4Rev = 0x01AF, Prot4RevPass = 0x01BC, Backup = 0x0040,
                        HideObj = 0x008D, Date1904 = 0x0022, CalcPrecision = 0x000E, BookBool = 0x00DA,
                        Style = 0x0293, UsesElfs = 0x0160, Country = 0x008C, MsoDrawingGroup = 0x00EB;
constexpr std::uint16_t Utf16CodePage = 1200;
constexpr std::size_t WriteAccessSize = 112;

void record(std::vector<std::uint8_t>& out, std::uint16_t type, std::initializer_list<std::uint16_t> values)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    for (std::uint16_t value : values)
        w.u16(value);
    appendRecordAsIs(out, type, body);
}

void writeWriteAccess(std::vector<std::uint8_t>& out)
{
    std::vector<std::uint8_t> body;
    writeUnicodeString(body, u"Tortelet", 2);
    body.resize(WriteAccessSize, ' ');
    appendRecordAsIs(out, WriteAccess, body);
}

void writeWindow(const model::Workbook& workbook, std::vector<std::uint8_t>& out)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(0);
    w.u16(0);
    w.u16(0x4000); // width and height in twips
    w.u16(0x2000);
    w.u16(0x0038); // horizontal and vertical scroll bars, sheet tabs
    w.u16(static_cast<std::uint16_t>(std::max(workbook.activeSheet, 0)));
    w.u16(0); // first tab shown
    w.u16(1); // sheets selected
    w.u16(600); // the tabs take 60 % of the bar
    appendRecordAsIs(out, rt::Window1, body);
}

void writeFormats(const model::Workbook& workbook, std::vector<std::uint8_t>& out)
{
    const auto& builtIns = model::NumberFormats::builtIns();
    for (const auto& [index, code] : workbook.formats.codes) {
        const auto builtIn = builtIns.find(index);
        if (index < 0 || index > 0xFFFF || (builtIn != builtIns.end() && builtIn->second == code))
            continue;
        std::vector<std::uint8_t> body;
        io::ByteWriter(body).u16(static_cast<std::uint16_t>(index));
        writeUnicodeString(body, text::toUtf16(code), 2);
        appendRecordAsIs(out, rt::Format, body);
    }
}

void writeStyle(const model::Workbook& workbook, std::vector<std::uint8_t>& out)
{
    std::size_t normal = 0;
    for (std::size_t k = 0; k < workbook.xfs.size(); ++k)
        if (workbook.xfs[k].isStyle) {
            normal = k;
            break;
        }
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(static_cast<std::uint16_t>(0x8000 | normal)); // a built-in style
    w.u8(0);                                             // Normal
    w.u8(0xFF);
    appendRecordAsIs(out, Style, body);
}

void writePalette(const model::Workbook& workbook, std::vector<std::uint8_t>& out)
{
    if (workbook.palette.colors == model::Palette::defaults())
        return;
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(static_cast<std::uint16_t>(workbook.palette.colors.size()));
    for (std::uint32_t rgb : workbook.palette.colors) {
        w.u8(static_cast<std::uint8_t>(rgb >> 16));
        w.u8(static_cast<std::uint8_t>(rgb >> 8));
        w.u8(static_cast<std::uint8_t>(rgb));
        w.u8(0);
    }
    appendRecordAsIs(out, rt::Palette, body);
}

std::uint8_t sheetType(model::SheetKind kind)
{
    switch (kind) {
    case model::SheetKind::Chart: return 0x02;
    case model::SheetKind::Macro: return 0x01;
    default: return 0x00;
    }
}

} // namespace

std::vector<std::uint8_t> bofBody(std::uint16_t kind)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(Biff8Version);
    w.u16(kind);
    w.u16(0x0DBB); // build
    w.u16(0x07CC); // year
    w.u32(0);      // file history
    w.u32(6);      // the lowest version that can read every record
    return body;
}

std::vector<std::uint8_t> xfBody(const model::Xf& xf)
{
    if (std::any_of(xf.raw.begin(), xf.raw.end(), [](std::uint8_t b) { return b != 0; }))
        return {xf.raw.begin(), xf.raw.end()};
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(static_cast<std::uint16_t>(xf.fontIndex));
    w.u16(static_cast<std::uint16_t>(xf.formatIndex));
    const std::uint16_t parent = xf.isStyle ? 0xFFF : static_cast<std::uint16_t>(xf.parent & 0xFFF);
    w.u16(static_cast<std::uint16_t>(0x0001 | (xf.isStyle ? 0x0004 : 0) | (parent << 4))); // locked
    w.u8(static_cast<std::uint8_t>(static_cast<int>(xf.horizontal) | (xf.wrap ? 0x08 : 0) |
                                   (static_cast<int>(xf.vertical) << 4)));
    w.u8(static_cast<std::uint8_t>(xf.rotation));
    w.u8(static_cast<std::uint8_t>(xf.indent & 0x0F));
    w.u8(xf.isStyle ? 0x00 : 0xFC); // a cell format uses each of its parts, not its style's
    w.u16(static_cast<std::uint16_t>((xf.left.style & 0x0F) | ((xf.right.style & 0x0F) << 4) |
                                     ((xf.top.style & 0x0F) << 8) | ((xf.bottom.style & 0x0F) << 12)));
    w.u16(static_cast<std::uint16_t>((xf.left.colorIndex & 0x7F) | ((xf.right.colorIndex & 0x7F) << 7)));
    w.u32(static_cast<std::uint32_t>((xf.top.colorIndex & 0x7F) | ((xf.bottom.colorIndex & 0x7F) << 7)) |
          (static_cast<std::uint32_t>(xf.fillPattern & 0x3F) << 26));
    w.u16(static_cast<std::uint16_t>((xf.patternForeground & 0x7F) | ((xf.patternBackground & 0x7F) << 7)));
    return body;
}

std::vector<std::size_t> writeModelGlobals(const model::Workbook& workbook, const GlobalsParts& parts,
                                           std::vector<std::uint8_t>& out)
{
    appendRecordAsIs(out, rt::Bof, bofBody(rt::GlobalsKind));
    record(out, InterfaceHdr, {Utf16CodePage});
    record(out, Mms, {0});
    record(out, InterfaceEnd, {});
    writeWriteAccess(out);
    record(out, rt::CodePage, {Utf16CodePage});
    record(out, Dsf, {0});
    record(out, FnGroupCount, {14});
    record(out, WindowProtect, {0});
    record(out, Protect, {0});
    record(out, Password, {0});
    record(out, Prot4Rev, {0});
    record(out, Prot4RevPass, {0});
    writeWindow(workbook, out);
    record(out, Backup, {0});
    record(out, HideObj, {0});
    record(out, Date1904, {0});
    record(out, CalcPrecision, {1});
    record(out, BookBool, {0});
    for (const model::Font& font : parts.fonts.fonts())
        appendRecordAsIs(out, rt::Font, fontBody(font));
    writeFormats(workbook, out);
    for (const model::Xf& xf : workbook.xfs)
        appendRecordAsIs(out, rt::Xf, xfBody(xf));
    writeStyle(workbook, out);
    writePalette(workbook, out);
    record(out, UsesElfs, {0});
    std::vector<std::size_t> boundSheets;
    for (const model::Sheet& sheet : workbook.sheets) {
        std::vector<std::uint8_t> body;
        io::ByteWriter w(body);
        w.u32(0); // the offset, set once the sheet is written
        w.u8(sheet.visible ? 0 : 1);
        w.u8(sheetType(sheet.kind));
        writeUnicodeString(body, text::toUtf16(sheet.name), 1);
        boundSheets.push_back(out.size());
        appendRecordAsIs(out, rt::BoundSheet, body);
    }
    record(out, Country, {1, 1});
    parts.links.write(out);
    if (!parts.drawingGroup.empty())
        appendRecord(out, MsoDrawingGroup, parts.drawingGroup);
    writeSharedStrings(workbook.sharedStrings, parts.stringReferences, out);
    appendRecordAsIs(out, rt::Eof, {});
    return boundSheets;
}

} // namespace sheet::biff
