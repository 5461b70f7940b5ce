#include "sheet/biff/SheetSettings.h"

#include "sheet/biff/RecordText.h"
#include "sheet/io/ByteReader.h"
#include "sheet/text/Utf16.h"

#include <algorithm>
#include <cmath>

namespace sheet::biff {
namespace {

namespace id {
constexpr std::uint16_t Bof = 0x0809;
constexpr std::uint16_t Eof = 0x000A;
constexpr std::uint16_t Protect = 0x0012;
constexpr std::uint16_t Password = 0x0013;
constexpr std::uint16_t Header = 0x0014;
constexpr std::uint16_t Footer = 0x0015;
constexpr std::uint16_t WindowProtect = 0x0019;
constexpr std::uint16_t Selection = 0x001D;
constexpr std::uint16_t LeftMargin = 0x0026;
constexpr std::uint16_t RightMargin = 0x0027;
constexpr std::uint16_t TopMargin = 0x0028;
constexpr std::uint16_t BottomMargin = 0x0029;
constexpr std::uint16_t PrintHeaders = 0x002A;
constexpr std::uint16_t PrintGridlines = 0x002B;
constexpr std::uint16_t Pane = 0x0041;
constexpr std::uint16_t ObjProtect = 0x0063;
constexpr std::uint16_t WsBool = 0x0081;
constexpr std::uint16_t HCenter = 0x0083;
constexpr std::uint16_t VCenter = 0x0084;
constexpr std::uint16_t Scl = 0x00A0;
constexpr std::uint16_t Setup = 0x00A1;
constexpr std::uint16_t ScenProtect = 0x00DD;
constexpr std::uint16_t Window2 = 0x023E;
} // namespace id

double margin(io::ByteReader& reader, double otherwise)
{
    const double inches = reader.f64();
    return std::isfinite(inches) && inches >= 0 && inches < 50 ? inches : otherwise;
}

void readWindow(io::ByteReader& reader, SheetSettings& s)
{
    const std::uint16_t flags = reader.u16();
    s.showFormulas = flags & 0x0001;
    s.showGridlines = flags & 0x0002;
    s.showHeadings = flags & 0x0004;
    s.frozen = flags & 0x0008;
    s.showZeros = flags & 0x0010;
    s.rightToLeft = flags & 0x0040;
    s.showOutline = flags & 0x0080;
    s.selected = flags & 0x0200;
    s.pageBreakPreview = flags & 0x0800;
    s.topRow = reader.u16();
    s.leftColumn = reader.u16();
}

void readPane(io::ByteReader& reader, SheetSettings& s)
{
    s.paneColumns = reader.u16();
    s.paneRows = reader.u16();
    s.paneTopRow = reader.u16();
    s.paneLeftColumn = reader.u16();
    s.activePane = reader.u8() & 3;
}

void readSelection(io::ByteReader& reader, SheetSettings& s)
{
    SheetSettings::Selection selection;
    selection.pane = reader.u8() & 3;
    selection.row = reader.u16();
    selection.column = reader.u16();
    reader.u16();
    const int count = reader.u16();
    for (int k = 0; k < count && reader.remaining() >= 6; ++k) {
        model::CellRange range;
        range.firstRow = reader.u16();
        range.lastRow = reader.u16();
        range.firstColumn = reader.u8();
        range.lastColumn = reader.u8();
        if (range.firstRow <= range.lastRow && range.firstColumn <= range.lastColumn)
            selection.ranges.push_back(range);
    }
    s.selections.erase(std::remove_if(s.selections.begin(), s.selections.end(),
                                      [&](const auto& other) { return other.pane == selection.pane; }),
                       s.selections.end());
    s.selections.push_back(std::move(selection));
}

void readSetup(io::ByteReader& reader, SheetSettings& s)
{
    const int paper = reader.u16();
    const int scale = reader.u16();
    const int firstPage = static_cast<std::int16_t>(reader.u16());
    const int fitWidth = reader.u16();
    const int fitHeight = reader.u16();
    const std::uint16_t flags = reader.u16();
    // The printer's values are not set: the sheet prints as the printer's defaults have it.
    if (flags & 0x0004)
        return;
    s.hasSetup = true;
    s.paperSize = paper;
    s.scale = std::clamp(scale, 10, 400);
    s.firstPageNumber = firstPage;
    s.fitWidth = fitWidth;
    s.fitHeight = fitHeight;
    s.downThenOver = !(flags & 0x0001);
    s.landscape = !(flags & 0x0040) && !(flags & 0x0002);
    s.blackAndWhite = flags & 0x0008;
    s.draft = flags & 0x0010;
    s.usesFirstPageNumber = flags & 0x0080;
    if (reader.remaining() >= 20) {
        reader.skip(4);
        s.headerMargin = margin(reader, s.headerMargin);
        s.footerMargin = margin(reader, s.footerMargin);
        if (reader.remaining() >= 2)
            s.copies = std::max(1, static_cast<int>(reader.u16()));
    }
}

std::string headerText(io::ByteReader& reader, const RecordText& text)
{
    if (reader.atEnd())
        return {};
    return text::toUtf8(text.read(reader, text.unicode ? 2 : 1));
}

void readRecord(const model::Record& record, const RecordText& text, SheetSettings& s)
{
    io::ByteReader reader(record.bytes, "a sheet setting");
    switch (record.type) {
    case id::Window2: readWindow(reader, s); break;
    case id::Scl: {
        const int numerator = reader.u16();
        const int denominator = reader.u16();
        if (denominator > 0)
            s.zoom = std::clamp(numerator * 100 / denominator, 10, 400);
        break;
    }
    case id::Pane: readPane(reader, s); break;
    case id::Selection: readSelection(reader, s); break;
    case id::Header: s.header = headerText(reader, text); break;
    case id::Footer: s.footer = headerText(reader, text); break;
    case id::LeftMargin: s.leftMargin = margin(reader, s.leftMargin); break;
    case id::RightMargin: s.rightMargin = margin(reader, s.rightMargin); break;
    case id::TopMargin: s.topMargin = margin(reader, s.topMargin); break;
    case id::BottomMargin: s.bottomMargin = margin(reader, s.bottomMargin); break;
    case id::Setup: readSetup(reader, s); break;
    case id::WsBool: s.fitToPage = reader.u16() & 0x0100; break;
    case id::HCenter: s.centreHorizontally = reader.u16() != 0; break;
    case id::VCenter: s.centreVertically = reader.u16() != 0; break;
    case id::PrintGridlines: s.printGridlines = reader.u16() != 0; break;
    case id::PrintHeaders: s.printHeadings = reader.u16() != 0; break;
    case id::Protect: s.protectedContents = reader.u16() != 0; break;
    case id::ObjProtect: s.protectedObjects = reader.u16() != 0; break;
    case id::ScenProtect: s.protectedScenarios = reader.u16() != 0; break;
    case id::Password: s.passwordHash = reader.u16(); break;
    default: break;
    }
}

} // namespace

SheetSettings readSheetSettings(const model::Workbook& workbook, const model::Sheet& sheet)
{
    SheetSettings settings;
    const RecordText text{workbook.biff >= 8, 1252};
    // An embedded chart's records, from its BOF to its EOF, are its own.
    int charts = 0;
    for (std::size_t k = 1; k < sheet.records.size(); ++k) {
        const model::Record& record = sheet.records[k];
        if (record.type == id::Bof)
            ++charts;
        else if (record.type == id::Eof && charts > 0)
            --charts;
        if (record.run || charts > 0)
            continue;
        try {
            readRecord(record, text, settings);
        } catch (const FormatError&) {
            // A record cut short gives what it holds before its end and nothing more.
        }
    }
    if (!settings.hasFrozenOrSplitPanes())
        settings.activePane = 3;
    // The sheet's gridlines may have been switched since reading.
    settings.showGridlines = sheet.showGridlines;
    return settings;
}

WorkbookProtection readWorkbookProtection(const model::Workbook& workbook)
{
    WorkbookProtection protection;
    for (const model::Record& record : workbook.globalRecords) {
        io::ByteReader reader(record.bytes, "a workbook protection");
        if (reader.remaining() < 2)
            continue;
        if (record.type == id::Protect)
            protection.structure = reader.u16() != 0;
        else if (record.type == id::WindowProtect)
            protection.windows = reader.u16() != 0;
        else if (record.type == id::Password)
            protection.passwordHash = reader.u16();
    }
    return protection;
}

} // namespace sheet::biff
