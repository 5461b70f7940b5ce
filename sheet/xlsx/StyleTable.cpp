#include "sheet/xlsx/StyleTable.h"

#include "sheet/xlsx/XmlPart.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>

namespace sheet::xlsx {
namespace {

constexpr const char* MainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr int AutomaticColour = 64;
constexpr int AutomaticFontColour = 0x7FFF;

// The format ids that every reader knows with the same code in every locale; the others (currencies,
// accounting, dates in the locale's order) are listed with their codes.
bool isFixedBuiltIn(int id)
{
    return (id >= 0 && id <= 4) || (id >= 9 && id <= 22) || (id >= 37 && id <= 40) || (id >= 45 && id <= 49);
}

const char* patternName(int pattern)
{
    static constexpr std::array<const char*, 19> names = {
        "none",       "solid",       "mediumGray",   "darkGray",      "lightGray",  "darkHorizontal", "darkVertical",
        "darkDown",   "darkUp",      "darkGrid",     "darkTrellis",   "lightHorizontal", "lightVertical", "lightDown",
        "lightUp",    "lightGrid",   "lightTrellis", "gray125",       "gray0625"};
    return pattern >= 0 && pattern < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(pattern)] : "solid";
}

const char* borderStyleName(int style)
{
    static constexpr std::array<const char*, 14> names = {
        "none",   "thin",         "medium",         "dashed",       "dotted",           "thick",       "double",
        "hair",   "mediumDashed", "dashDot",        "mediumDashDot", "dashDotDot",      "mediumDashDotDot", "slantDashDot"};
    return style >= 0 && style < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(style)] : "thin";
}

const char* underlineName(int underline)
{
    switch (underline) {
    case 2: return "double";
    case 0x21: return "singleAccounting";
    case 0x22: return "doubleAccounting";
    default: return nullptr; // single is the element's default
    }
}

const char* horizontalName(model::HorizontalAlignment alignment)
{
    using H = model::HorizontalAlignment;
    switch (alignment) {
    case H::Left: return "left";
    case H::Center: return "center";
    case H::Right: return "right";
    case H::Fill: return "fill";
    case H::Justify: return "justify";
    case H::CenterAcross: return "centerContinuous";
    case H::Distributed: return "distributed";
    default: return nullptr;
    }
}

const char* verticalName(model::VerticalAlignment alignment)
{
    using V = model::VerticalAlignment;
    switch (alignment) {
    case V::Top: return "top";
    case V::Center: return "center";
    case V::Justify: return "justify";
    case V::Distributed: return "distributed";
    default: return nullptr; // bottom is the default
    }
}

std::string argb(std::uint32_t rgb)
{
    std::array<char, 9> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "FF%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return buffer.data();
}

// A colour element for a palette index: its red, green and blue, or the system colours by their index.
void writeColour(XmlPart& xml, const char* name, const model::Palette& palette, int index)
{
    xml.empty(name);
    if (index == AutomaticColour || index == AutomaticColour + 1)
        xml.attribute("indexed", index);
    else
        xml.attribute("rgb", argb(palette.rgb(index)));
}

std::string fillKey(const model::Xf& xf)
{
    if (xf.fillPattern <= 0)
        return "none";
    return std::to_string(xf.fillPattern) + "/" + std::to_string(xf.patternForeground) + "/" +
           std::to_string(xf.patternBackground);
}

std::string borderKey(const model::Xf& xf)
{
    std::string key;
    for (const model::Border* edge : {&xf.left, &xf.right, &xf.top, &xf.bottom})
        key += std::to_string(edge->style) + "/" + std::to_string(edge->style ? edge->colorIndex : 0) + ";";
    return key;
}

int indexOf(std::vector<std::string>& keys, const std::string& key)
{
    const auto found = std::find(keys.begin(), keys.end(), key);
    if (found != keys.end())
        return static_cast<int>(found - keys.begin());
    keys.push_back(key);
    return static_cast<int>(keys.size() - 1);
}

} // namespace

StyleTable::StyleTable(const model::Workbook& workbook)
    : workbook_(workbook), fills_{"none", "gray125"}, borders_{borderKey(model::Xf{})}
{
    int largest = model::FirstCustomFormat - 1;
    for (const auto& [index, code] : workbook.formats.codes)
        largest = std::max(largest, index);
    nextCustomFormat_ = largest + 1;

    const int fontCount = static_cast<int>(workbook.fonts.size());
    for (const model::Xf& xf : workbook.xfs) {
        CellStyle style;
        style.xf = &xf;
        style.numberFormat = numberFormatId(xf.formatIndex);
        // Font index 4 does not exist in the file, so the fonts after it come one place earlier.
        const int font = xf.fontIndex < 4 ? xf.fontIndex : xf.fontIndex - 1;
        style.font = font >= 0 && font < fontCount ? font : 0;
        style.fill = fillId(xf);
        style.border = borderId(xf);
        styles_.push_back(style);
    }
}

int StyleTable::style(int xf) const
{
    return xf >= 0 && xf < static_cast<int>(styles_.size()) ? xf : 0;
}

int StyleTable::numberFormatId(int formatIndex)
{
    const auto known = numberFormatIds_.find(formatIndex);
    if (known != numberFormatIds_.end())
        return known->second;
    const std::string code = workbook_.formats.code(formatIndex);
    const auto& builtIns = model::NumberFormats::builtIns();
    const auto builtIn = builtIns.find(formatIndex);
    int id = formatIndex;
    if (!(isFixedBuiltIn(formatIndex) && builtIn != builtIns.end() && builtIn->second == code)) {
        id = formatIndex >= model::FirstCustomFormat ? formatIndex : nextCustomFormat_++;
        customFormats_[id] = code;
    }
    numberFormatIds_[formatIndex] = id;
    return id;
}

int StyleTable::fillId(const model::Xf& xf)
{
    return indexOf(fills_, fillKey(xf));
}

int StyleTable::borderId(const model::Xf& xf)
{
    return indexOf(borders_, borderKey(xf));
}

std::string StyleTable::part(const DifferentialStyles& differential) const
{
    XmlPart xml("styleSheet", {{"", MainNamespace}});

    if (!customFormats_.empty()) {
        xml.start("numFmts");
        xml.attribute("count", static_cast<int>(customFormats_.size()));
        for (const auto& [id, code] : customFormats_) {
            xml.empty("numFmt");
            xml.attribute("numFmtId", id);
            xml.attribute("formatCode", code);
        }
        xml.end();
    }

    const std::vector<model::Font> fonts = workbook_.fonts.empty() ? std::vector<model::Font>{{"Arial"}} : workbook_.fonts;
    xml.start("fonts");
    xml.attribute("count", static_cast<int>(fonts.size()));
    for (const model::Font& font : fonts) {
        xml.start("font");
        if (font.bold())
            xml.empty("b");
        if (font.italic)
            xml.empty("i");
        if (font.strikeout)
            xml.empty("strike");
        if (font.underline) {
            xml.empty("u");
            if (const char* name = underlineName(font.underline))
                xml.attribute("val", name);
        }
        xml.value("sz", font.height / 20.0);
        if (font.colorIndex != AutomaticFontColour && font.colorIndex != AutomaticColour)
            writeColour(xml, "color", workbook_.palette, font.colorIndex);
        xml.value("name", font.name);
        xml.end();
    }
    xml.end();

    xml.start("fills");
    xml.attribute("count", static_cast<int>(fills_.size()));
    for (std::size_t k = 0; k < fills_.size(); ++k) {
        xml.start("fill");
        if (k < 2) {
            xml.empty("patternFill");
            xml.attribute("patternType", k == 0 ? "none" : "gray125");
        } else {
            const auto owner = std::find_if(styles_.begin(), styles_.end(),
                                            [k](const CellStyle& style) { return style.fill == static_cast<int>(k); });
            const model::Xf& xf = *owner->xf;
            xml.start("patternFill");
            xml.attribute("patternType", patternName(xf.fillPattern));
            writeColour(xml, "fgColor", workbook_.palette, xf.patternForeground);
            writeColour(xml, "bgColor", workbook_.palette, xf.patternBackground);
            xml.end();
        }
        xml.end();
    }
    xml.end();

    xml.start("borders");
    xml.attribute("count", static_cast<int>(borders_.size()));
    for (std::size_t k = 0; k < borders_.size(); ++k) {
        const auto owner = std::find_if(styles_.begin(), styles_.end(),
                                        [k](const CellStyle& style) { return style.border == static_cast<int>(k); });
        const model::Xf none;
        const model::Xf& xf = owner == styles_.end() ? none : *owner->xf;
        xml.start("border");
        const std::pair<const char*, const model::Border*> edges[] = {
            {"left", &xf.left}, {"right", &xf.right}, {"top", &xf.top}, {"bottom", &xf.bottom}, {"diagonal", nullptr}};
        for (const auto& [name, edge] : edges) {
            if (!edge || edge->style == 0) {
                xml.empty(name);
                continue;
            }
            xml.start(name);
            xml.attribute("style", borderStyleName(edge->style));
            writeColour(xml, "color", workbook_.palette, edge->colorIndex);
            xml.end();
        }
        xml.end();
    }
    xml.end();

    xml.start("cellStyleXfs");
    xml.attribute("count", 1);
    xml.empty("xf");
    for (const char* name : {"numFmtId", "fontId", "fillId", "borderId"})
        xml.attribute(name, 0);
    xml.end();

    xml.start("cellXfs");
    xml.attribute("count", static_cast<int>(std::max<std::size_t>(styles_.size(), 1)));
    if (styles_.empty()) {
        xml.empty("xf");
        for (const char* name : {"numFmtId", "fontId", "fillId", "borderId", "xfId"})
            xml.attribute(name, 0);
    }
    for (const CellStyle& style : styles_) {
        const model::Xf& xf = *style.xf;
        const char* horizontal = horizontalName(xf.horizontal);
        const char* vertical = verticalName(xf.vertical);
        const bool aligned = horizontal || vertical || xf.wrap || xf.indent || xf.rotation;
        xml.start("xf");
        xml.attribute("numFmtId", style.numberFormat);
        xml.attribute("fontId", style.font);
        xml.attribute("fillId", style.fill);
        xml.attribute("borderId", style.border);
        xml.attribute("xfId", 0);
        for (const char* name : {"applyNumberFormat", "applyFont", "applyFill", "applyBorder"})
            xml.attribute(name, 1);
        if (aligned) {
            xml.attribute("applyAlignment", 1);
            xml.empty("alignment");
            if (horizontal)
                xml.attribute("horizontal", horizontal);
            if (vertical)
                xml.attribute("vertical", vertical);
            if (xf.wrap)
                xml.attribute("wrapText", 1);
            if (xf.indent)
                xml.attribute("indent", xf.indent);
            if (xf.rotation)
                xml.attribute("textRotation", xf.rotation);
        }
        xml.end();
    }
    xml.end();

    xml.start("cellStyles");
    xml.attribute("count", 1);
    xml.empty("cellStyle");
    xml.attribute("name", "Normal");
    xml.attribute("xfId", 0);
    xml.attribute("builtinId", 0);
    xml.end();
    differential.write(xml, workbook_.palette);

    return xml.finish();
}

} // namespace sheet::xlsx
