#include "sheet/xlsx/ChartSheetPart.h"

#include "sheet/xlsx/XmlPart.h"

#include <cmath>

namespace sheet::xlsx {
namespace {

constexpr double EmuPerPoint = 12700;
// The size a chart sheet's chart takes when it gives none: 682 by 495 points, a landscape page.
constexpr long long DefaultWidth = 8662000;
constexpr long long DefaultHeight = 6286500;

} // namespace

std::string chartSheetPart(bool selected)
{
    XmlPart xml("chartsheet", {{"", "http://schemas.openxmlformats.org/spreadsheetml/2006/main"},
                               {"r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"}});
    xml.start("sheetViews");
    xml.empty("sheetView");
    if (selected)
        xml.attribute("tabSelected", 1);
    xml.attribute("zoomToFit", 1);
    xml.attribute("workbookViewId", 0);
    xml.end();
    xml.empty("pageMargins");
    xml.attribute("left", 0.7);
    xml.attribute("right", 0.7);
    xml.attribute("top", 0.75);
    xml.attribute("bottom", 0.75);
    xml.attribute("header", 0.3);
    xml.attribute("footer", 0.3);
    xml.empty("drawing");
    xml.attribute("r:id", "rId1");
    return xml.finish();
}

std::string chartSheetDrawingPart(const model::Chart& chart)
{
    XmlPart xml("xdr:wsDr", {{"xdr", "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing"},
                             {"a", "http://schemas.openxmlformats.org/drawingml/2006/main"},
                             {"c", "http://schemas.openxmlformats.org/drawingml/2006/chart"},
                             {"r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"}});
    const long long width = chart.size ? std::llround(chart.size->width * EmuPerPoint) : DefaultWidth;
    const long long height = chart.size ? std::llround(chart.size->height * EmuPerPoint) : DefaultHeight;
    xml.start("xdr:absoluteAnchor");
    xml.empty("xdr:pos");
    xml.attribute("x", 0);
    xml.attribute("y", 0);
    xml.empty("xdr:ext");
    xml.attribute("cx", width);
    xml.attribute("cy", height);
    xml.start("xdr:graphicFrame");
    xml.attribute("macro", "");
    xml.start("xdr:nvGraphicFramePr");
    xml.empty("xdr:cNvPr");
    xml.attribute("id", 2);
    xml.attribute("name", "Chart 1");
    xml.start("xdr:cNvGraphicFramePr");
    xml.empty("a:graphicFrameLocks");
    xml.attribute("noGrp", 1);
    xml.end();
    xml.end();
    xml.start("xdr:xfrm");
    xml.empty("a:off");
    xml.attribute("x", 0);
    xml.attribute("y", 0);
    xml.empty("a:ext");
    xml.attribute("cx", width);
    xml.attribute("cy", height);
    xml.end();
    xml.start("a:graphic");
    xml.start("a:graphicData");
    xml.attribute("uri", "http://schemas.openxmlformats.org/drawingml/2006/chart");
    xml.empty("c:chart");
    xml.attribute("r:id", "rId1");
    xml.end();
    xml.end();
    xml.end();
    xml.empty("xdr:clientData");
    xml.end();
    return xml.finish();
}

} // namespace sheet::xlsx
