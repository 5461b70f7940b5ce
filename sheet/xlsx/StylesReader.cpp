#include "sheet/xlsx/StylesReader.h"

#include "sheet/Errors.h"
#include "sheet/xlsx/PaletteColours.h"
#include "sheet/xlsx/XmlStream.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace sheet::xlsx {
namespace {

constexpr std::size_t MaxStyles = 65000;
constexpr int AutomaticColour = 64;
constexpr int AutomaticBackground = 65;
constexpr int AutomaticFontColour = 0x7FFF;

template <std::size_t N>
int indexOfName(const std::array<const char16_t*, N>& names, QStringView name, int fallback)
{
    for (std::size_t k = 0; k < N; ++k)
        if (name == QStringView(names[k]))
            return static_cast<int>(k);
    return fallback;
}

int patternIndex(QStringView name)
{
    static constexpr std::array<const char16_t*, 19> names = {
        u"none",       u"solid",       u"mediumGray",   u"darkGray",      u"lightGray",  u"darkHorizontal", u"darkVertical",
        u"darkDown",   u"darkUp",      u"darkGrid",     u"darkTrellis",   u"lightHorizontal", u"lightVertical", u"lightDown",
        u"lightUp",    u"lightGrid",   u"lightTrellis", u"gray125",       u"gray0625"};
    return name.isEmpty() ? 0 : indexOfName(names, name, 1);
}

int borderStyle(QStringView name)
{
    static constexpr std::array<const char16_t*, 14> names = {
        u"none",   u"thin",         u"medium",         u"dashed",       u"dotted",           u"thick",       u"double",
        u"hair",   u"mediumDashed", u"dashDot",        u"mediumDashDot", u"dashDotDot",      u"mediumDashDotDot", u"slantDashDot"};
    return name.isEmpty() ? 0 : indexOfName(names, name, 1);
}

model::HorizontalAlignment horizontal(QStringView name)
{
    using H = model::HorizontalAlignment;
    if (name == u"left") return H::Left;
    if (name == u"center") return H::Center;
    if (name == u"right") return H::Right;
    if (name == u"fill") return H::Fill;
    if (name == u"justify") return H::Justify;
    if (name == u"centerContinuous") return H::CenterAcross;
    if (name == u"distributed") return H::Distributed;
    return H::General;
}

model::VerticalAlignment vertical(QStringView name)
{
    using V = model::VerticalAlignment;
    if (name == u"top") return V::Top;
    if (name == u"center") return V::Center;
    if (name == u"justify") return V::Justify;
    if (name == u"distributed") return V::Distributed;
    return V::Bottom;
}

struct FontSpec {
    model::Font font;
    ColourSpec colour;
};

struct FillSpec {
    int pattern = 0;
    ColourSpec foreground, background;
};

struct EdgeSpec {
    int style = 0;
    ColourSpec colour;
};

struct BorderSpec {
    EdgeSpec left, right, top, bottom;
};

struct XfSpec {
    model::Xf xf;
    int font = 0, fill = 0, border = 0;
    bool locked = true, hidden = false;
    bool applyProtection = false;
};

class StylesParser {
public:
    explicit StylesParser(const std::string& part) : part_(part) {}

    void token(const QXmlStreamReader& reader)
    {
        const QStringView name = reader.name();
        if (reader.isEndElement()) {
            if (name == u"cellXfs" || name == u"fonts" || name == u"fills" || name == u"borders" || name == u"cellStyleXfs" ||
                name == u"dxfs" || name == u"colors")
                section_ = Section::None;
            if (name == u"font" || name == u"fill" || name == u"border" || name == u"xf")
                inItem_ = false;
            if (name == u"left" || name == u"right" || name == u"top" || name == u"bottom" || name == u"start" || name == u"end")
                edge_ = nullptr;
            return;
        }
        if (!reader.isStartElement())
            return;
        if (name == u"numFmt" && section_ == Section::None) {
            const long long id = attributeNumber(reader, u"numFmtId", -1);
            if (id >= 0 && id <= 0xFFFF)
                formats.emplace_back(static_cast<int>(id), attributeText(reader, u"formatCode"));
            return;
        }
        if (name == u"fonts") { section_ = Section::Fonts; return; }
        if (name == u"fills") { section_ = Section::Fills; return; }
        if (name == u"borders") { section_ = Section::Borders; return; }
        if (name == u"cellXfs") { section_ = Section::CellXfs; return; }
        if (name == u"cellStyleXfs") { section_ = Section::Skipped; return; }
        if (name == u"dxfs") { section_ = Section::Skipped; return; }
        if (name == u"colors") { section_ = Section::Colours; return; }
        switch (section_) {
        case Section::Fonts: font(reader, name); break;
        case Section::Fills: fill(reader, name); break;
        case Section::Borders: border(reader, name); break;
        case Section::CellXfs: cellXf(reader, name); break;
        case Section::Colours:
            if (name == u"rgbColor")
                indexedColours.push_back(colourSpec(reader).value);
            break;
        default: break;
        }
        if (fonts.size() + fills.size() + borders.size() + xfs.size() > 4 * MaxStyles)
            throw FormatError("the part " + part_ + " holds more styles than a workbook can have");
    }

    std::vector<std::pair<int, std::string>> formats;
    std::vector<FontSpec> fonts;
    std::vector<FillSpec> fills;
    std::vector<BorderSpec> borders;
    std::vector<XfSpec> xfs;
    std::vector<std::uint32_t> indexedColours;

private:
    enum class Section { None, Fonts, Fills, Borders, CellXfs, Colours, Skipped };

    void font(const QXmlStreamReader& reader, QStringView name)
    {
        if (name == u"font") {
            fonts.emplace_back();
            fonts.back().font.name = "Calibri";
            fonts.back().font.height = 220;
            inItem_ = true;
            return;
        }
        if (!inItem_)
            return;
        model::Font& font = fonts.back().font;
        const QStringView value = attributeOf(reader, u"val");
        if (name == u"b")
            font.weight = attributeFlag(reader, u"val", true) ? 700 : 400;
        else if (name == u"i")
            font.italic = attributeFlag(reader, u"val", true);
        else if (name == u"strike")
            font.strikeout = attributeFlag(reader, u"val", true);
        else if (name == u"u")
            font.underline = value.isEmpty() || value == u"single" ? 1 : value == u"double" ? 2
                           : value == u"singleAccounting" ? 0x21 : value == u"doubleAccounting" ? 0x22 : 0;
        else if (name == u"sz") {
            bool ok = false;
            const double points = value.toDouble(&ok);
            if (ok && points > 0 && points < 410)
                font.height = static_cast<int>(std::lround(points * 20));
        } else if (name == u"name" || name == u"rFont")
            font.name = value.toString().toStdString();
        else if (name == u"color")
            fonts.back().colour = colourSpec(reader);
    }

    void fill(const QXmlStreamReader& reader, QStringView name)
    {
        if (name == u"fill") {
            fills.emplace_back();
            inItem_ = true;
            return;
        }
        if (!inItem_)
            return;
        FillSpec& fill = fills.back();
        if (name == u"patternFill") {
            fill.pattern = patternIndex(attributeOf(reader, u"patternType"));
        } else if (name == u"fgColor") {
            fill.foreground = colourSpec(reader);
        } else if (name == u"bgColor") {
            fill.background = colourSpec(reader);
        } else if (name == u"gradientFill") {
            fill.pattern = 1;
            gradientStops_ = 0;
        } else if (name == u"color" && gradientStops_++ == 0) {
            fill.foreground = colourSpec(reader); // a gradient shows as its first colour
        }
    }

    void border(const QXmlStreamReader& reader, QStringView name)
    {
        if (name == u"border") {
            borders.emplace_back();
            inItem_ = true;
            return;
        }
        if (!inItem_)
            return;
        BorderSpec& border = borders.back();
        EdgeSpec* edge = name == u"left" || name == u"start" ? &border.left
                       : name == u"right" || name == u"end" ? &border.right
                       : name == u"top"                     ? &border.top
                       : name == u"bottom"                  ? &border.bottom
                                                            : nullptr;
        if (edge) {
            edge->style = borderStyle(attributeOf(reader, u"style"));
            edge_ = edge;
        } else if (name == u"color" && edge_) {
            edge_->colour = colourSpec(reader);
        }
    }

    void cellXf(const QXmlStreamReader& reader, QStringView name)
    {
        if (name == u"xf") {
            XfSpec spec;
            spec.xf.formatIndex = static_cast<int>(std::clamp(attributeNumber(reader, u"numFmtId", 0), 0LL, 0xFFFFLL));
            spec.font = static_cast<int>(attributeNumber(reader, u"fontId", 0));
            spec.fill = static_cast<int>(attributeNumber(reader, u"fillId", 0));
            spec.border = static_cast<int>(attributeNumber(reader, u"borderId", 0));
            xfs.push_back(spec);
            inItem_ = true;
            return;
        }
        if (!inItem_)
            return;
        model::Xf& xf = xfs.back().xf;
        if (name == u"alignment") {
            xf.horizontal = horizontal(attributeOf(reader, u"horizontal"));
            xf.vertical = attributeOf(reader, u"vertical").isEmpty() ? model::VerticalAlignment::Bottom
                                                                      : vertical(attributeOf(reader, u"vertical"));
            xf.wrap = attributeFlag(reader, u"wrapText", false);
            xf.indent = static_cast<int>(std::clamp(attributeNumber(reader, u"indent", 0), 0LL, 15LL));
            xf.rotation = static_cast<int>(std::clamp(attributeNumber(reader, u"textRotation", 0), 0LL, 255LL));
        } else if (name == u"protection") {
            xfs.back().locked = attributeFlag(reader, u"locked", true);
            xfs.back().hidden = attributeFlag(reader, u"hidden", false);
        }
    }

    const std::string& part_;
    Section section_ = Section::None;
    bool inItem_ = false;
    EdgeSpec* edge_ = nullptr;
    int gradientStops_ = 0;
};

void putBits(std::uint32_t& word, std::uint32_t value, int shift, int bits)
{
    const std::uint32_t mask = ((1u << bits) - 1) << shift;
    word = (word & ~mask) | ((value << shift) & mask);
}

void put32(std::uint8_t* out, std::uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        out[k] = static_cast<std::uint8_t>(value >> (8 * k));
}

} // namespace

std::array<std::uint8_t, 20> xfRecordBytes(const model::Xf& xf, bool locked, bool hidden)
{
    std::array<std::uint8_t, 20> raw{};
    raw[0] = static_cast<std::uint8_t>(xf.fontIndex);
    raw[1] = static_cast<std::uint8_t>(xf.fontIndex >> 8);
    raw[2] = static_cast<std::uint8_t>(xf.formatIndex);
    raw[3] = static_cast<std::uint8_t>(xf.formatIndex >> 8);
    const std::uint16_t type = static_cast<std::uint16_t>((locked ? 0x0001 : 0) | (hidden ? 0x0002 : 0) |
                                                          (xf.isStyle ? 0x0004 | 0xFFF0 : (xf.parent & 0xFFF) << 4));
    raw[4] = static_cast<std::uint8_t>(type);
    raw[5] = static_cast<std::uint8_t>(type >> 8);
    raw[6] = static_cast<std::uint8_t>(static_cast<int>(xf.horizontal) | (xf.wrap ? 0x08 : 0) |
                                       (static_cast<int>(xf.vertical) << 4));
    raw[7] = static_cast<std::uint8_t>(xf.rotation);
    raw[8] = static_cast<std::uint8_t>(xf.indent & 0x0F);
    raw[9] = xf.isStyle ? 0 : 0xFC; // a cell format uses all of its own parts
    std::uint32_t edges = 0;
    putBits(edges, static_cast<std::uint32_t>(xf.left.style), 0, 4);
    putBits(edges, static_cast<std::uint32_t>(xf.right.style), 4, 4);
    putBits(edges, static_cast<std::uint32_t>(xf.top.style), 8, 4);
    putBits(edges, static_cast<std::uint32_t>(xf.bottom.style), 12, 4);
    putBits(edges, static_cast<std::uint32_t>(xf.left.colorIndex), 16, 7);
    putBits(edges, static_cast<std::uint32_t>(xf.right.colorIndex), 23, 7);
    put32(raw.data() + 10, edges);
    std::uint32_t more = 0;
    putBits(more, static_cast<std::uint32_t>(xf.top.colorIndex), 0, 7);
    putBits(more, static_cast<std::uint32_t>(xf.bottom.colorIndex), 7, 7);
    putBits(more, static_cast<std::uint32_t>(xf.fillPattern), 26, 6);
    put32(raw.data() + 14, more);
    std::uint32_t pattern = 0;
    putBits(pattern, static_cast<std::uint32_t>(xf.patternForeground), 0, 7);
    putBits(pattern, static_cast<std::uint32_t>(xf.patternBackground), 7, 7);
    raw[18] = static_cast<std::uint8_t>(pattern);
    raw[19] = static_cast<std::uint8_t>(pattern >> 8);
    return raw;
}

std::vector<model::Xf> readStyles(const zip::ZipReader& package, const std::string& part, PaletteColours& colours,
                                  model::Workbook& workbook)
{
    StylesParser parser(part);
    if (!part.empty() && package.contains(part))
        readXmlPart(package, package.spelling(part), [&parser](const QXmlStreamReader& reader) { parser.token(reader); });

    for (std::size_t k = 8; k < parser.indexedColours.size() && k < 64; ++k)
        workbook.palette.colors[k - 8] = parser.indexedColours[k];
    for (const auto& [id, code] : parser.formats)
        workbook.formats.codes[id] = code;

    for (const FontSpec& font : parser.fonts)
        colours.reserve(font.colour);
    for (const FillSpec& fill : parser.fills) {
        colours.reserve(fill.foreground);
        colours.reserve(fill.background);
    }
    for (const BorderSpec& border : parser.borders)
        for (const EdgeSpec* edge : {&border.left, &border.right, &border.top, &border.bottom})
            colours.reserve(edge->colour);

    workbook.fonts.clear();
    for (const FontSpec& spec : parser.fonts) {
        model::Font font = spec.font;
        font.colorIndex = colours.index(spec.colour, AutomaticFontColour);
        workbook.fonts.push_back(std::move(font));
    }
    if (workbook.fonts.empty())
        workbook.fonts.push_back(model::Font{"Calibri", 220});
    if (parser.xfs.empty())
        parser.xfs.emplace_back();
    if (parser.xfs.size() > MaxStyles)
        throw FormatError("the part " + part + " holds more cell formats than a workbook can have (" +
                          std::to_string(MaxStyles) + ")");

    std::vector<model::Xf> xfs;
    for (const XfSpec& spec : parser.xfs) {
        model::Xf xf = spec.xf;
        const int font = spec.font >= 0 && static_cast<std::size_t>(spec.font) < workbook.fonts.size() ? spec.font : 0;
        xf.fontIndex = xfFontIndex(font);
        if (spec.fill >= 0 && static_cast<std::size_t>(spec.fill) < parser.fills.size()) {
            const FillSpec& fill = parser.fills[static_cast<std::size_t>(spec.fill)];
            xf.fillPattern = fill.pattern;
            xf.patternForeground = colours.index(fill.foreground, AutomaticColour);
            xf.patternBackground = colours.index(fill.background, AutomaticBackground);
        }
        if (spec.border >= 0 && static_cast<std::size_t>(spec.border) < parser.borders.size()) {
            const BorderSpec& border = parser.borders[static_cast<std::size_t>(spec.border)];
            const std::pair<model::Border*, const EdgeSpec*> edges[] = {
                {&xf.left, &border.left}, {&xf.right, &border.right}, {&xf.top, &border.top}, {&xf.bottom, &border.bottom}};
            for (const auto& [edge, source] : edges) {
                edge->style = source->style;
                edge->colorIndex = colours.index(source->colour, AutomaticColour);
            }
        }
        xf.raw = xfRecordBytes(xf, spec.locked, spec.hidden);
        xfs.push_back(xf);
    }
    return xfs;
}

} // namespace sheet::xlsx
