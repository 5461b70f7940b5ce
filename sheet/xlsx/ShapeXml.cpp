#include "sheet/xlsx/ShapeXml.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace sheet::xlsx {
namespace {

constexpr int AutomaticColour = 0x7FFF;
constexpr int SystemText = 64;
constexpr std::uint32_t ButtonFace = 0xC0C0C0;

std::string hex(std::uint32_t rgb)
{
    std::array<char, 7> text{};
    std::snprintf(text.data(), text.size(), "%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text.data();
}

void writeSolidFill(XmlPart& xml, std::uint32_t rgb)
{
    xml.start("a:solidFill");
    xml.value("a:srgbClr", hex(rgb));
    xml.end();
}

void writeFrame(XmlPart& xml, const model::ShapeLook* flips)
{
    xml.start("a:xfrm");
    if (flips && flips->flipHorizontal)
        xml.attribute("flipH", "1");
    if (flips && flips->flipVertical)
        xml.attribute("flipV", "1");
    xml.empty("a:off");
    xml.attribute("x", 0);
    xml.attribute("y", 0);
    xml.empty("a:ext");
    xml.attribute("cx", 0);
    xml.attribute("cy", 0);
    xml.end();
}

void writeGeometry(XmlPart& xml, const char* preset)
{
    xml.start("a:prstGeom");
    xml.attribute("prst", preset);
    xml.empty("a:avLst");
    xml.end();
}

void writeOutline(XmlPart& xml, const model::ShapeLook& look, bool arrows)
{
    xml.start("a:ln");
    if (look.line) {
        xml.attribute("w", look.lineWidth);
        writeSolidFill(xml, *look.line);
    } else {
        xml.empty("a:noFill");
    }
    if (arrows && look.arrowAtStart) {
        xml.empty("a:headEnd");
        xml.attribute("type", "triangle");
    }
    if (arrows && look.arrowAtEnd) {
        xml.empty("a:tailEnd");
        xml.attribute("type", "triangle");
    }
    xml.end();
}

void writeName(XmlPart& xml, int id, const std::string& name)
{
    xml.empty("xdr:cNvPr");
    xml.attribute("id", id);
    xml.attribute("name", name);
}

void writeRunProperties(XmlPart& xml, const model::Workbook& workbook, const model::Font& font)
{
    xml.start("a:rPr");
    xml.attribute("lang", "en-US");
    xml.attribute("sz", std::clamp(font.height * 5, 100, 400000));
    xml.attribute("b", font.bold() ? "1" : "0");
    xml.attribute("i", font.italic ? "1" : "0");
    if (font.underline != 0)
        xml.attribute("u", font.underline == 2 || font.underline == 0x22 ? "dbl" : "sng");
    if (font.strikeout)
        xml.attribute("strike", "sngStrike");
    if (font.colorIndex != AutomaticColour && font.colorIndex != SystemText)
        writeSolidFill(xml, workbook.palette.rgb(font.colorIndex));
    if (!font.name.empty()) {
        xml.empty("a:latin");
        xml.attribute("typeface", font.name);
    }
    xml.end();
}

// The text in paragraphs, one a line, each run in its font.
void writeTextBody(XmlPart& xml, const model::Workbook& workbook, const std::vector<model::TextRun>& runs,
                   model::TextPlacement placement)
{
    constexpr const char* Down[] = {"t", "t", "ctr", "b"};
    constexpr const char* Across[] = {"l", "l", "ctr", "r", "just"};
    xml.start("xdr:txBody");
    xml.empty("a:bodyPr");
    xml.attribute("vertOverflow", "clip");
    xml.attribute("wrap", "square");
    xml.attribute("anchor", Down[std::clamp(placement.down, 0, 3)]);
    xml.empty("a:lstStyle");
    const auto startParagraph = [&] {
        xml.start("a:p");
        xml.empty("a:pPr");
        xml.attribute("algn", Across[std::clamp(placement.across, 0, 4)]);
    };
    startParagraph();
    for (const model::TextRun& run : runs) {
        std::size_t at = 0;
        while (at <= run.text.size()) {
            const std::size_t end = std::min(run.text.find('\n', at), run.text.size());
            std::string piece = run.text.substr(at, end - at);
            std::erase(piece, '\r');
            if (!piece.empty()) {
                xml.start("a:r");
                if (run.font)
                    writeRunProperties(xml, workbook, *run.font);
                xml.text("a:t", piece);
                xml.end();
            }
            if (end == run.text.size())
                break;
            xml.end();
            startParagraph();
            at = end + 1;
        }
    }
    xml.end();
    xml.end();
}

void writePicture(XmlPart& xml, const model::DrawingObject& object, int id, const std::string& name, const std::string& image)
{
    xml.start("xdr:pic");
    xml.start("xdr:nvPicPr");
    writeName(xml, id, name);
    xml.start("xdr:cNvPicPr");
    xml.empty("a:picLocks");
    xml.attribute("noChangeAspect", "1");
    xml.end();
    xml.end();
    xml.start("xdr:blipFill");
    xml.empty("a:blip");
    xml.attribute("r:embed", image);
    if (object.crop.any()) {
        // In thousandths of a percent of the image's width or height.
        const auto share = [](double fraction) { return static_cast<int>(std::lround(fraction * 100000)); };
        xml.empty("a:srcRect");
        xml.attribute("l", share(object.crop.left));
        xml.attribute("t", share(object.crop.top));
        xml.attribute("r", share(object.crop.right));
        xml.attribute("b", share(object.crop.bottom));
    }
    xml.start("a:stretch");
    xml.empty("a:fillRect");
    xml.end();
    xml.end();
    xml.start("xdr:spPr");
    writeFrame(xml, nullptr);
    writeGeometry(xml, "rect");
    xml.end();
    xml.end();
}

void writeLine(XmlPart& xml, const model::DrawingObject& object, int id, const std::string& name)
{
    xml.start("xdr:cxnSp");
    xml.attribute("macro", "");
    xml.start("xdr:nvCxnSpPr");
    writeName(xml, id, name);
    xml.empty("xdr:cNvCxnSpPr");
    xml.end();
    xml.start("xdr:spPr");
    writeFrame(xml, &object.look);
    writeGeometry(xml, "line");
    writeOutline(xml, object.look, true);
    xml.end();
    xml.end();
}

const char* presetOf(model::Figure figure)
{
    switch (figure) {
    case model::Figure::RoundedRectangle: return "roundRect";
    case model::Figure::Ellipse: return "ellipse";
    case model::Figure::Arc: return "arc";
    default: return "rect";
    }
}

void writeFilledShape(XmlPart& xml, const model::Workbook& workbook, const model::DrawingObject& object, int id,
                      const std::string& name)
{
    const model::Figure figure = model::figureOf(object);
    const bool button = figure == model::Figure::Button;
    xml.start("xdr:sp");
    xml.attribute("macro", "");
    xml.attribute("textlink", "");
    xml.start("xdr:nvSpPr");
    writeName(xml, id, name);
    xml.empty("xdr:cNvSpPr");
    if (figure == model::Figure::TextBox)
        xml.attribute("txBox", "1");
    xml.end();
    xml.start("xdr:spPr");
    writeFrame(xml, &object.look);
    writeGeometry(xml, presetOf(figure));
    const std::optional<std::uint32_t> fill = button ? object.look.fill.value_or(ButtonFace) : object.look.fill;
    if (fill && figure != model::Figure::Arc)
        writeSolidFill(xml, *fill);
    else
        xml.empty("a:noFill");
    writeOutline(xml, object.look, false);
    xml.end();
    if (!object.text.empty())
        writeTextBody(xml, workbook, object.text, object.textPlacement);
    xml.end();
}

} // namespace

std::string shapeName(const model::DrawingObject& object, int number)
{
    if (!object.name.empty())
        return object.name;
    const char* kind = "Shape";
    switch (model::figureOf(object)) {
    case model::Figure::Picture: kind = "Picture"; break;
    case model::Figure::Line: kind = "Line"; break;
    case model::Figure::TextBox: kind = "TextBox"; break;
    case model::Figure::Button: kind = "Button"; break;
    default: break;
    }
    return std::string(kind) + " " + std::to_string(number);
}

void writeShape(XmlPart& xml, const model::Workbook& workbook, const model::DrawingObject& object, int id,
                const std::string& name, const std::string& image)
{
    switch (model::figureOf(object)) {
    case model::Figure::Picture: writePicture(xml, object, id, name, image); break;
    case model::Figure::Line: writeLine(xml, object, id, name); break;
    default: writeFilledShape(xml, workbook, object, id, name); break;
    }
    xml.empty("xdr:clientData");
}

} // namespace sheet::xlsx
