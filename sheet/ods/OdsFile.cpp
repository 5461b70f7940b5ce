#include "sheet/ods/OdsFile.h"

#include "sheet/Errors.h"
#include "sheet/formula/WorkbookLinks.h"
#include "sheet/biff/SheetFilter.h"
#include "sheet/io/FileBytes.h"
#include "sheet/model/SheetNames.h"
#include "sheet/ods/CellAddresses.h"
#include "sheet/ods/CellStyles.h"
#include "sheet/ods/DrawShapes.h"
#include "sheet/ods/ChartObject.h"
#include "sheet/ods/ChartSheetTable.h"
#include "sheet/ods/FormulaAttributes.h"
#include "sheet/ods/Lengths.h"
#include "sheet/ods/PackageParts.h"
#include "sheet/ods/PageStyles.h"
#include "sheet/ods/RichText.h"
#include "sheet/ods/SheetTable.h"
#include "sheet/ods/XmlPart.h"
#include "sheet/zip/ZipArchive.h"

#include <set>

namespace sheet::ods {
namespace {

const char* kindName(model::SheetKind kind)
{
    switch (kind) {
    case model::SheetKind::Chart: return "a chart sheet";
    case model::SheetKind::Macro: return "a macro sheet";
    default: break;
    }
    return "a sheet of a kind other than a worksheet";
}

void writeSizeStyles(QXmlStreamWriter& xml, const model::Workbook& workbook, const std::vector<SheetTable>& tables)
{
    std::set<int> columnWidths, rowTwips;
    for (const SheetTable& table : tables)
        table.addSizes(columnWidths, rowTwips);
    for (int width : columnWidths) {
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", SheetTable::columnStyle(width));
        xml.writeAttribute("style:family", "table-column");
        const QString points = QString::fromStdString(ods::points(columnPoints(workbook, width)));
        emptyElement(xml, "style:table-column-properties", {{"style:column-width", points}});
        xml.writeEndElement();
    }
    for (int twips : rowTwips) {
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", SheetTable::rowStyle(twips));
        xml.writeAttribute("style:family", "table-row");
        emptyElement(xml, "style:table-row-properties", {{"style:row-height", QString::fromStdString(points(twips / 20.0))},
                                                         {"style:use-optimal-row-height", "false"}});
        xml.writeEndElement();
    }
    // Each sheet's table style names its page and whether it is shown.
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", SheetTable::tableStyle(k));
        xml.writeAttribute("style:family", "table");
        xml.writeAttribute("style:master-page-name", PageStyles::masterPage(k));
        emptyElement(xml, "style:table-properties", {{"table:display", workbook.sheets[k].visible ? "true" : "false"}});
        xml.writeEndElement();
    }
    // The frames of the charts: no line and no fill of their own.
    xml.writeStartElement("style:style");
    xml.writeAttribute("style:name", "gr1");
    xml.writeAttribute("style:family", "graphic");
    emptyElement(xml, "style:graphic-properties", {{"draw:stroke", "none"}, {"draw:fill", "none"}});
    xml.writeEndElement();
}

// The sheets' AutoFilters, as the database ranges that show the filter's buttons.
void writeFilterRanges(QXmlStreamWriter& xml, const model::Workbook& workbook, const SheetNames& names)
{
    bool any = false;
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        const auto filter = biff::readSheetFilter(workbook, static_cast<int>(k));
        if (!filter)
            continue;
        if (!any)
            xml.writeStartElement("table:database-ranges");
        any = true;
        xml.writeStartElement("table:database-range");
        xml.writeAttribute("table:name", QStringLiteral("__Anonymous_Sheet_DB__") + QString::number(k));
        xml.writeAttribute("table:target-range-address", QString::fromStdString(odfRangeAddress(names[k], filter->range)));
        xml.writeAttribute("table:display-filter-buttons", "true");
        xml.writeEndElement();
    }
    if (any)
        xml.writeEndElement();
}

// The sheets' tables in the workbook's order: a worksheet's or a chart sheet's.
struct Tables {
    std::vector<SheetTable> worksheets;
    std::vector<ChartSheetTable> chartSheets;
    std::vector<std::pair<bool, std::size_t>> order; // a chart sheet, and its index in its list

    void write(QXmlStreamWriter& xml) const
    {
        for (const auto& [chartSheet, index] : order) {
            if (chartSheet)
                chartSheets[index].write(xml);
            else
                worksheets[index].write(xml);
        }
    }
};

std::string contentPart(const model::Workbook& workbook, const SheetNames& names, const CellStyles& styles,
                        const ContentValidations& validations, const Tables& tables,
                        const formula::WorkbookLinks& links, const DrawShapes& shapes)
{
    XmlPart part("office:document-content", {Namespace::Office, Namespace::Style, Namespace::Text, Namespace::Table,
                                             Namespace::Draw, Namespace::Fo, Namespace::XLink, Namespace::Number,
                                             Namespace::Svg, Namespace::Chart, Namespace::Dr3d,
                                             Namespace::CalcExt, Namespace::Of});
    QXmlStreamWriter& xml = part.xml();
    if (shapes.hasComments())
        xml.writeNamespace("http://purl.org/dc/elements/1.1/", "dc"); // of the comments' authors
    styles.writeFontFaces(xml);
    xml.writeStartElement("office:automatic-styles");
    writeSizeStyles(xml, workbook, tables.worksheets);
    styles.writeAutomaticStyles(xml);
    writeRunStyles(xml, workbook);
    shapes.writeStyles(xml);
    xml.writeEndElement();
    xml.writeStartElement("office:body");
    xml.writeStartElement("office:spreadsheet");
    const biff::WorkbookProtection protection = biff::readWorkbookProtection(workbook);
    if (protection.structure)
        xml.writeAttribute("table:structure-protected", "true");
    validations.write(xml, names);
    tables.write(xml);
    writeNamedExpressions(xml, links, -1);
    writeFilterRanges(xml, workbook, names);
    xml.writeEndElement();
    xml.writeEndElement();
    return part.finish();
}

} // namespace

std::vector<std::uint8_t> odsBytes(const model::Workbook& workbook)
{
    if (workbook.sheets.empty())
        throw FormatError("the workbook has no sheets; an OpenDocument spreadsheet needs one");
    const CellStyles styles(workbook);
    const SheetNames names = model::writtenSheetNames(workbook);
    const CellValues values(workbook);
    const formula::WorkbookLinks links = formula::readWorkbookLinks(workbook, names);
    const ConditionalFormats conditional(workbook, links);
    const ContentValidations validations(workbook, links);
    const DrawShapes shapes(workbook);
    Tables tables;
    int charts = 0;
    std::vector<ChartObject> objects;
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        const model::Sheet& sheet = workbook.sheets[k];
        if (sheet.kind == model::SheetKind::Chart && !sheet.charts.empty()) {
            tables.order.emplace_back(true, tables.chartSheets.size());
            tables.chartSheets.emplace_back(workbook, names, static_cast<int>(k), charts);
            objects.push_back(tables.chartSheets.back().chartObject());
            continue;
        }
        if (sheet.kind != model::SheetKind::Worksheet)
            throw FormatError("sheet \"" + sheet.name + "\" is " + kindName(sheet.kind)
                              + ", which cannot be saved in the OpenDocument format");
        if (const std::optional<std::size_t> unplaced = sheet.unplacedChart())
            refuseUnplacedChart(workbook, sheet, *unplaced);
        tables.order.emplace_back(false, tables.worksheets.size());
        tables.worksheets.emplace_back(workbook, names, static_cast<int>(k), styles, values, conditional, validations,
                                       charts, links, shapes);
        const std::vector<ChartObject>& own = tables.worksheets.back().chartObjects();
        objects.insert(objects.end(), own.begin(), own.end());
    }

    std::vector<zip::ZipEntry> entries;
    entries.push_back({"mimetype", "application/vnd.oasis.opendocument.spreadsheet", true});
    entries.push_back({"content.xml", contentPart(workbook, names, styles, validations, tables, links, shapes)});
    entries.push_back({"styles.xml", stylesPart(styles, conditional, PageStyles(workbook), shapes.hasArrowheads())});
    entries.push_back({"meta.xml", metaPart()});
    entries.push_back({"settings.xml", settingsPart(workbook, names)});
    for (const ChartObject& object : objects) {
        entries.push_back({object.folder + "/content.xml", object.content});
        entries.push_back({object.folder + "/styles.xml", object.styles});
    }
    for (const PictureFile& picture : shapes.files())
        entries.push_back({picture.path, std::string(picture.bytes->begin(), picture.bytes->end())});
    entries.push_back({"META-INF/manifest.xml", manifestPart(objects, shapes.files())});
    return zip::zipArchive(entries);
}

void saveOdsFile(const model::Workbook& workbook, const std::string& path, biff::SaveTarget target)
{
    const std::vector<std::uint8_t> bytes = odsBytes(workbook);
    if (target == biff::SaveTarget::ChosenFile)
        io::writeChosenFile(path, bytes);
    else
        io::writeFileAtomically(path, bytes);
}

} // namespace sheet::ods
