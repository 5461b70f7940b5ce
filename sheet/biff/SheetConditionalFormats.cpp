#include "sheet/biff/SheetConditionalFormats.h"

#include "sheet/biff/CellRangeList.h"
#include "sheet/biff/SimpleFormula.h"
#include "sheet/io/ByteReader.h"

namespace sheet::biff {
namespace {

constexpr std::uint16_t CondFmt = 0x01B0;
constexpr std::uint16_t Cf = 0x01B1;

namespace dxfn {
constexpr std::uint32_t Number = 1u << 25, Font = 1u << 26, Alignment = 1u << 27, Border = 1u << 28,
                        Pattern = 1u << 29, Protection = 1u << 30;
constexpr std::uint32_t PatternNinch = 1u << 16, ForegroundNinch = 1u << 17, BackgroundNinch = 1u << 18;
constexpr std::uint16_t UserNumber = 0x0001;
} // namespace dxfn

constexpr int FontBlockSize = 118;
constexpr int SolidPattern = 1;

void readFont(io::ByteReader& reader, DifferentialFormat& format)
{
    const auto block = reader.bytes(FontBlockSize);
    io::ByteReader font(block, "a conditional format's font");
    font.skip(64);                               // the name
    font.skip(4);                                // the height
    const std::uint32_t style = font.u32();      // ftsItalic 0x02, ftsStrikeout 0x80
    const int weight = font.u16();
    font.skip(2);                                // super- and subscript
    const int underline = font.u8();
    font.skip(3);
    const std::int32_t colour = static_cast<std::int32_t>(font.u32());
    font.skip(4);
    const std::uint32_t styleNinch = font.u32(); // the style and the strike-out are not set
    font.skip(4);                                // superscript
    const std::uint32_t underlineNinch = font.u32();
    const std::uint32_t weightNinch = font.u32();
    if (!styleNinch) {
        format.italic = (style & 0x02) != 0;
        format.strikeout = (style & 0x80) != 0;
    }
    if (!weightNinch && weight >= 100)
        format.bold = weight >= 700;
    if (!underlineNinch)
        format.underline = underline;
    if (colour >= 0 && colour != 0x7FFF)
        format.fontColour = colour;
}

DifferentialFormat readDxfn(io::ByteReader& reader)
{
    DifferentialFormat format;
    const std::uint32_t flags = reader.u32();
    const std::uint16_t more = reader.u16();
    if (flags & dxfn::Number) {
        if (more & dxfn::UserNumber)
            reader.skip(reader.u16() - 2u);
        else
            reader.skip(2);
    }
    if (flags & dxfn::Font)
        readFont(reader, format);
    if (flags & dxfn::Alignment)
        reader.skip(8);
    if (flags & dxfn::Border)
        reader.skip(8);
    if (flags & dxfn::Pattern) {
        const int pattern = (reader.u16() >> 10) & 0x3F;
        const std::uint16_t colours = reader.u16();
        const int foreground = colours & 0x7F, background = (colours >> 7) & 0x7F;
        const bool patternSet = !(flags & dxfn::PatternNinch);
        if ((!patternSet || pattern == SolidPattern) && !(flags & dxfn::BackgroundNinch))
            format.fillColour = background;
        else if (patternSet && pattern != SolidPattern) {
            format.fillPattern = pattern;
            if (!(flags & dxfn::ForegroundNinch))
                format.patternColour = foreground;
            if (!(flags & dxfn::BackgroundNinch))
                format.fillColour = background;
        }
    }
    if (flags & dxfn::Protection)
        reader.skip(2);
    return format;
}

ConditionalRule readRule(const model::Record& record)
{
    io::ByteReader reader(record.bytes, "a CF record");
    ConditionalRule rule;
    rule.isFormula = reader.u8() == 2;
    rule.comparison = reader.u8();
    const std::size_t size1 = reader.u16(), size2 = reader.u16();
    rule.format = readDxfn(reader);
    const auto tokens1 = reader.bytes(size1), tokens2 = reader.bytes(size2);
    const std::optional<std::string> first = size1 ? simpleFormulaText(tokens1) : std::optional<std::string>("");
    const std::optional<std::string> second = size2 ? simpleFormulaText(tokens2) : std::optional<std::string>("");
    rule.written = size1 > 0 && (rule.isFormula || (rule.comparison >= 1 && rule.comparison <= 8));
    rule.formula1 = first.value_or("");
    rule.formula2 = second.value_or("");
    if (!first)
        rule.tokens1.assign(tokens1.begin(), tokens1.end());
    if (!second)
        rule.tokens2.assign(tokens2.begin(), tokens2.end());
    return rule;
}

std::vector<model::CellRange> readRanges(const model::Record& record)
{
    io::ByteReader reader(record.bytes, "a CONDFMT record");
    reader.skip(2 + 2 + 8); // the count of rules, the toggle and the bounding area
    return readCellRanges(reader, reader.u16());
}

} // namespace

std::vector<ConditionalFormat> readConditionalFormats(const model::Workbook& workbook, const model::Sheet& sheet)
{
    std::vector<ConditionalFormat> formats;
    if (workbook.biff < 8)
        return formats;
    bool open = false; // the last CONDFMT was read, so its CF records follow
    for (const model::Record& record : sheet.records) {
        try {
            if (record.type == CondFmt) {
                formats.push_back({readRanges(record), {}});
                open = !formats.back().ranges.empty();
                if (!open)
                    formats.pop_back();
            } else if (record.type == Cf && open) {
                formats.back().rules.push_back(readRule(record));
            } else {
                open = open && record.type == Cf;
            }
        } catch (const FormatError&) {
            // A format cut short colours nothing; its rules after it belong to none.
            open = false;
        }
    }
    return formats;
}

} // namespace sheet::biff
