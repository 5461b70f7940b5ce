#include "sheet/xlsx/RichText.h"

#include "sheet/io/ByteReader.h"
#include "sheet/text/Utf16.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace sheet::xlsx {
namespace {

constexpr int AutomaticColour = 0x7FFF;
constexpr int SystemText = 64;

void writeRunText(XmlPart& xml, std::u16string_view text)
{
    const std::string utf8 = text::toUtf8(text);
    xml.start("t");
    if (!utf8.empty() && (std::isspace(static_cast<unsigned char>(utf8.front())) ||
                          std::isspace(static_cast<unsigned char>(utf8.back()))))
        xml.attribute("xml:space", "preserve");
    xml.characters(utf8);
    xml.end();
}

void writeRunProperties(XmlPart& xml, const model::Workbook& workbook, const model::Font& font)
{
    xml.start("rPr");
    xml.value("rFont", font.name.empty() ? std::string("Arial") : font.name);
    if (font.bold())
        xml.empty("b");
    if (font.italic)
        xml.empty("i");
    if (font.strikeout)
        xml.empty("strike");
    if (font.colorIndex != AutomaticColour && font.colorIndex != SystemText) {
        std::array<char, 9> rgb{};
        std::snprintf(rgb.data(), rgb.size(), "FF%06X", static_cast<unsigned>(workbook.palette.rgb(font.colorIndex) & 0xFFFFFF));
        xml.value("color", std::string_view(rgb.data()));
    }
    xml.value("sz", font.height / 20.0);
    if (font.underline != 0)
        xml.value("u", font.underline == 2 ? "double" : font.underline == 0x21 ? "singleAccounting"
                       : font.underline == 0x22                                ? "doubleAccounting"
                                                                               : "single");
    xml.end();
}

} // namespace

void writeRichText(XmlPart& xml, const model::Workbook& workbook, const model::SharedString& string)
{
    const std::u16string& text = string.text;
    io::ByteReader runs(string.runs, "formatting runs");
    std::size_t at = 0;
    const model::Font* font = nullptr;
    const auto writeRun = [&](std::size_t end) {
        end = std::min(end, text.size());
        if (end <= at)
            return;
        xml.start("r");
        if (font)
            writeRunProperties(xml, workbook, *font);
        writeRunText(xml, std::u16string_view(text).substr(at, end - at));
        xml.end();
        at = end;
    };
    while (runs.remaining() >= 4) {
        const std::size_t start = runs.u16();
        const int fontIndex = runs.u16();
        if (start < at)
            continue; // runs out of order say nothing new
        writeRun(start);
        font = workbook.font(fontIndex);
    }
    writeRun(text.size());
}

} // namespace sheet::xlsx
