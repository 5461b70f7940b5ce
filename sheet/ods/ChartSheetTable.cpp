#include "sheet/ods/ChartSheetTable.h"

#include "sheet/ods/Lengths.h"
#include "sheet/ods/SheetTable.h"
#include "sheet/ods/XmlPart.h"

namespace sheet::ods {
namespace {

// A landscape page's printable area, which a chart sheet's chart fills unless it gives its size.
constexpr double DefaultWidth = 682;
constexpr double DefaultHeight = 495;

double widthOf(const model::Sheet& sheet)
{
    const model::Chart& chart = sheet.charts.front();
    return chart.size ? chart.size->width : DefaultWidth;
}

double heightOf(const model::Sheet& sheet)
{
    const model::Chart& chart = sheet.charts.front();
    return chart.size ? chart.size->height : DefaultHeight;
}

} // namespace

ChartSheetTable::ChartSheetTable(const model::Workbook& workbook, const SheetNames& names, int sheetIndex, int& charts)
    : name_(names.at(static_cast<std::size_t>(sheetIndex))), index_(static_cast<std::size_t>(sheetIndex)),
      width_(widthOf(workbook.sheets.at(index_))), height_(heightOf(workbook.sheets.at(index_))),
      object_(ods::chartObject(workbook, names, sheetIndex, workbook.sheets[index_].charts.front(), ++charts, width_,
                               height_))
{
}

void ChartSheetTable::write(QXmlStreamWriter& xml) const
{
    xml.writeStartElement("table:table");
    xml.writeAttribute("table:name", QString::fromStdString(name_));
    xml.writeAttribute("table:style-name", SheetTable::tableStyle(index_));
    xml.writeStartElement("table:shapes");
    xml.writeStartElement("draw:frame");
    xml.writeAttribute("draw:z-index", "0");
    xml.writeAttribute("draw:name", QStringLiteral("Chart ") + QString::fromStdString(object_.folder.substr(object_.folder.find(' ') + 1)));
    xml.writeAttribute("draw:style-name", "gr1");
    xml.writeAttribute("svg:width", QString::fromStdString(points(width_)));
    xml.writeAttribute("svg:height", QString::fromStdString(points(height_)));
    xml.writeAttribute("svg:x", "0pt");
    xml.writeAttribute("svg:y", "0pt");
    xml.writeStartElement("draw:object");
    xml.writeAttribute("draw:notify-on-update-of-ranges", QString::fromStdString(object_.ranges));
    xml.writeAttribute("xlink:href", QString::fromStdString("./" + object_.folder));
    xml.writeAttribute("xlink:type", "simple");
    xml.writeAttribute("xlink:show", "embed");
    xml.writeAttribute("xlink:actuate", "onLoad");
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    emptyElement(xml, "table:table-column", {});
    xml.writeStartElement("table:table-row");
    emptyElement(xml, "table:table-cell", {});
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace sheet::ods
