#include "sheet/xlsx/DrawingPart.h"

#include "sheet/layout/SheetGeometry.h"
#include "sheet/xlsx/ShapeXml.h"
#include "sheet/xlsx/XmlPart.h"

#include <algorithm>
#include <cmath>

namespace sheet::xlsx {
namespace {

constexpr int EmuPerPixel = 9525;
constexpr int EmuPerTwip = 635;
// Readers take column widths in the widest digit of the default font, 7 pixels at 11 points.
constexpr int DefaultDigitWidth = 7;

// A corner of an anchor: its cell, and the offset into it that the sheet gives in 1/1024 of the
// column's width and 1/256 of the row's height, in EMU.
void writeCorner(XmlPart& xml, const char* name, const layout::SheetGeometry& geometry, const model::Sheet& sheet,
                 int column, int dx, int row, int dy)
{
    const double columnEmu = static_cast<double>(geometry.columnWidth(column)) * EmuPerPixel;
    const double rowEmu = static_cast<double>(sheet.rowHidden(row) ? 0 : sheet.rowHeight(row)) * EmuPerTwip;
    xml.start(name);
    xml.text("xdr:col", std::to_string(column));
    xml.text("xdr:colOff", std::to_string(std::lround(columnEmu * std::clamp(dx, 0, 1024) / 1024)));
    xml.text("xdr:row", std::to_string(row));
    xml.text("xdr:rowOff", std::to_string(std::lround(rowEmu * std::clamp(dy, 0, 256) / 256)));
    xml.end();
}

void startAnchor(XmlPart& xml, const layout::SheetGeometry& geometry, const model::Sheet& sheet, const model::Anchor& a)
{
    xml.start("xdr:twoCellAnchor");
    writeCorner(xml, "xdr:from", geometry, sheet, a.col1, a.dx1, a.row1, a.dy1);
    writeCorner(xml, "xdr:to", geometry, sheet, a.col2, a.dx2, a.row2, a.dy2);
}

} // namespace

std::string drawingPart(const model::Workbook& workbook, const model::Sheet& sheet, const std::vector<AnchoredChart>& charts,
                        const std::vector<AnchoredShape>& shapes)
{
    XmlPart xml("xdr:wsDr", {{"xdr", "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing"},
                             {"a", "http://schemas.openxmlformats.org/drawingml/2006/main"},
                             {"c", "http://schemas.openxmlformats.org/drawingml/2006/chart"},
                             {"r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"}});
    const layout::SheetGeometry geometry(sheet, DefaultDigitWidth);
    int id = 2;
    for (const AnchoredChart& chart : charts) {
        startAnchor(xml, geometry, sheet, chart.anchor);
        xml.start("xdr:graphicFrame");
        xml.attribute("macro", "");
        xml.start("xdr:nvGraphicFramePr");
        xml.empty("xdr:cNvPr");
        xml.attribute("id", id);
        xml.attribute("name", chart.name);
        xml.empty("xdr:cNvGraphicFramePr");
        xml.end();
        xml.start("xdr:xfrm");
        xml.empty("a:off");
        xml.attribute("x", 0);
        xml.attribute("y", 0);
        xml.empty("a:ext");
        xml.attribute("cx", 0);
        xml.attribute("cy", 0);
        xml.end();
        xml.start("a:graphic");
        xml.start("a:graphicData");
        xml.attribute("uri", "http://schemas.openxmlformats.org/drawingml/2006/chart");
        xml.empty("c:chart");
        xml.attribute("r:id", "rId" + std::to_string(id - 1));
        xml.end();
        xml.end();
        xml.end();
        xml.empty("xdr:clientData");
        xml.end();
        ++id;
    }
    for (const AnchoredShape& shape : shapes) {
        startAnchor(xml, geometry, sheet, shape.object->anchor);
        writeShape(xml, workbook, *shape.object, id++, shape.name, shape.image);
        xml.end();
    }
    return xml.finish();
}

} // namespace sheet::xlsx
