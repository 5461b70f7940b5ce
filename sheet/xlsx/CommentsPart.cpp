#include "sheet/xlsx/CommentsPart.h"

#include "sheet/layout/SheetGeometry.h"
#include "sheet/model/A1Notation.h"
#include "sheet/xlsx/XmlPart.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace sheet::xlsx {
namespace {

constexpr const char* MainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
// Readers take column widths in the widest digit of the default font, 7 pixels at 11 points.
constexpr int DefaultDigitWidth = 7;
constexpr int ShapesPerDrawing = 1024;

void writeRunProperties(XmlPart& xml, const model::Font& font)
{
    xml.start("rPr");
    if (font.bold())
        xml.empty("b");
    if (font.italic)
        xml.empty("i");
    if (font.strikeout)
        xml.empty("strike");
    xml.value("sz", std::clamp(font.height, 20, 8180) / 20.0);
    if (font.underline != 0)
        xml.empty("u");
    xml.value("rFont", font.name.empty() ? std::string("Arial") : font.name);
    xml.end();
}

// Where a comment's box lies: its anchor, or for a comment without one, the place a spreadsheet gives a
// new comment, beside its cell.
model::Anchor boxOf(const model::Comment& comment)
{
    if (comment.anchor)
        return *comment.anchor;
    const int row = std::max(comment.row - 1, 0);
    return {comment.column + 1, 15 * 1024 / 64, row, 10 * 256 / 17, comment.column + 3, 15 * 1024 / 64, row + 4, 4 * 256 / 17};
}

std::string points(double pixels)
{
    return numberText(std::round(pixels * 0.75 * 100) / 100) + "pt";
}

} // namespace

std::string commentsPart(const model::Sheet& sheet)
{
    std::map<std::string, int> authors;
    std::vector<const std::string*> order;
    for (const model::Comment& comment : sheet.comments) {
        if (authors.emplace(comment.author, static_cast<int>(order.size())).second)
            order.push_back(&comment.author);
    }
    XmlPart xml("comments", {{"", MainNamespace}});
    xml.start("authors");
    for (const std::string* author : order)
        xml.text("author", *author);
    xml.end();
    xml.start("commentList");
    for (const model::Comment& comment : sheet.comments) {
        xml.start("comment");
        xml.attribute("ref", model::cellAddress(comment.row, comment.column));
        xml.attribute("authorId", authors.at(comment.author));
        xml.start("text");
        for (const model::TextRun& run : comment.text) {
            xml.start("r");
            if (run.font)
                writeRunProperties(xml, *run.font);
            xml.start("t");
            xml.attribute("xml:space", "preserve");
            xml.characters(run.text);
            xml.end();
            xml.end();
        }
        xml.end();
        xml.end();
    }
    xml.end();
    return xml.finish();
}

std::string vmlDrawingPart(const model::Sheet& sheet, int drawing)
{
    XmlPart xml("xml", {{"v", "urn:schemas-microsoft-com:vml"},
                        {"o", "urn:schemas-microsoft-com:office:office"},
                        {"x", "urn:schemas-microsoft-com:office:excel"}});
    xml.start("o:shapelayout");
    xml.attribute("v:ext", "edit");
    xml.empty("o:idmap");
    xml.attribute("v:ext", "edit");
    xml.attribute("data", drawing);
    xml.end();
    xml.start("v:shapetype");
    // VML names its shapes in the form that the package's texts use as an escape, and takes it as it is.
    xml.attribute("id", QStringLiteral("_x0000_t202"));
    xml.attribute("coordsize", "21600,21600");
    xml.attribute("o:spt", "202");
    xml.attribute("path", "m,l,21600r21600,l21600,xe");
    xml.empty("v:stroke");
    xml.attribute("joinstyle", "miter");
    xml.empty("v:path");
    xml.attribute("gradientshapeok", "t");
    xml.attribute("o:connecttype", "rect");
    xml.end();

    const layout::SheetGeometry geometry(sheet, DefaultDigitWidth);
    int shape = drawing * ShapesPerDrawing;
    for (const model::Comment& comment : sheet.comments) {
        const model::Anchor box = boxOf(comment);
        const auto columnOffset = [&](int column, int dx) {
            return std::lround(geometry.columnWidth(column) * std::clamp(dx, 0, 1024) / 1024.0);
        };
        const auto rowOffset = [&](int row, int dy) {
            return std::lround(geometry.rowHeight(row) * std::clamp(dy, 0, 256) / 256.0);
        };
        const QRectF area = geometry.anchorRect(box, 0, 0);
        xml.start("v:shape");
        xml.attribute("id", QStringLiteral("_x0000_s") + QString::number(++shape));
        xml.attribute("type", QStringLiteral("#_x0000_t202"));
        xml.attribute("style", "position:absolute;margin-left:" + points(area.left()) + ";margin-top:" + points(area.top()) +
                                   ";width:" + points(area.width()) + ";height:" + points(area.height()) +
                                   ";z-index:" + std::to_string(shape - drawing * ShapesPerDrawing) +
                                   (comment.visible ? ";visibility:visible" : ";visibility:hidden"));
        xml.attribute("fillcolor", "#ffffe1");
        xml.attribute("o:insetmode", "auto");
        xml.empty("v:fill");
        xml.attribute("color2", "#ffffe1");
        xml.empty("v:shadow");
        xml.attribute("on", "t");
        xml.attribute("color", "black");
        xml.attribute("obscured", "t");
        xml.empty("v:path");
        xml.attribute("o:connecttype", "none");
        xml.start("v:textbox");
        xml.attribute("style", "mso-direction-alt:auto");
        xml.empty("div");
        xml.attribute("style", "text-align:left");
        xml.end();
        xml.start("x:ClientData");
        xml.attribute("ObjectType", "Note");
        xml.empty("x:MoveWithCells");
        xml.empty("x:SizeWithCells");
        xml.text("x:Anchor", std::to_string(box.col1) + ", " + std::to_string(columnOffset(box.col1, box.dx1)) + ", " +
                                 std::to_string(box.row1) + ", " + std::to_string(rowOffset(box.row1, box.dy1)) + ", " +
                                 std::to_string(box.col2) + ", " + std::to_string(columnOffset(box.col2, box.dx2)) + ", " +
                                 std::to_string(box.row2) + ", " + std::to_string(rowOffset(box.row2, box.dy2)));
        xml.text("x:AutoFill", "False");
        xml.text("x:Row", std::to_string(comment.row));
        xml.text("x:Column", std::to_string(comment.column));
        if (comment.visible)
            xml.empty("x:Visible");
        xml.end();
        xml.end();
    }
    return xml.finish();
}

} // namespace sheet::xlsx
