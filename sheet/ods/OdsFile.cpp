#include "sheet/ods/OdsFile.h"

#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"
#include "sheet/ods/CellStyles.h"
#include "sheet/ods/ChartObject.h"
#include "sheet/ods/Lengths.h"
#include "sheet/ods/PackageParts.h"
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

void writeSizeStyles(QXmlStreamWriter& xml, const std::vector<SheetTable>& tables)
{
    std::set<int> columnPixels, rowTwips;
    for (const SheetTable& table : tables)
        table.addSizes(columnPixels, rowTwips);
    for (int pixels : columnPixels) {
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", SheetTable::columnStyle(pixels));
        xml.writeAttribute("style:family", "table-column");
        emptyElement(xml, "style:table-column-properties", {{"style:column-width", QString::fromStdString(points(pixelPoints(pixels)))}});
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
    for (const char* name : {"ta1", "ta2"}) {
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", name);
        xml.writeAttribute("style:family", "table");
        emptyElement(xml, "style:table-properties", {{"table:display", name == std::string("ta1") ? "true" : "false"}});
        xml.writeEndElement();
    }
    // The frames of the charts: no line and no fill of their own.
    xml.writeStartElement("style:style");
    xml.writeAttribute("style:name", "gr1");
    xml.writeAttribute("style:family", "graphic");
    emptyElement(xml, "style:graphic-properties", {{"draw:stroke", "none"}, {"draw:fill", "none"}});
    xml.writeEndElement();
}

std::string contentPart(const CellStyles& styles, const std::vector<SheetTable>& tables)
{
    XmlPart part("office:document-content", {Namespace::Office, Namespace::Style, Namespace::Text, Namespace::Table,
                                             Namespace::Draw, Namespace::Fo, Namespace::XLink, Namespace::Number,
                                             Namespace::Svg, Namespace::Chart, Namespace::Dr3d});
    QXmlStreamWriter& xml = part.xml();
    styles.writeFontFaces(xml);
    xml.writeStartElement("office:automatic-styles");
    writeSizeStyles(xml, tables);
    styles.writeAutomaticStyles(xml);
    xml.writeEndElement();
    xml.writeStartElement("office:body");
    xml.writeStartElement("office:spreadsheet");
    for (const SheetTable& table : tables)
        table.write(xml);
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
    std::vector<SheetTable> tables;
    int charts = 0;
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        const model::Sheet& sheet = workbook.sheets[k];
        if (sheet.kind != model::SheetKind::Worksheet)
            throw FormatError("sheet \"" + sheet.name + "\" is " + kindName(sheet.kind)
                              + ", which cannot be saved in the OpenDocument format");
        if (const std::optional<std::size_t> unplaced = sheet.unplacedChart())
            refuseUnplacedChart(workbook, sheet, *unplaced);
        tables.emplace_back(workbook, static_cast<int>(k), styles, charts);
    }
    std::vector<ChartObject> objects;
    for (const SheetTable& table : tables)
        objects.insert(objects.end(), table.chartObjects().begin(), table.chartObjects().end());

    std::vector<zip::ZipEntry> entries;
    entries.push_back({"mimetype", "application/vnd.oasis.opendocument.spreadsheet", true});
    entries.push_back({"content.xml", contentPart(styles, tables)});
    entries.push_back({"styles.xml", stylesPart(styles)});
    entries.push_back({"meta.xml", metaPart()});
    entries.push_back({"settings.xml", settingsPart(workbook)});
    for (const ChartObject& object : objects) {
        entries.push_back({object.folder + "/content.xml", object.content});
        entries.push_back({object.folder + "/styles.xml", object.styles});
    }
    entries.push_back({"META-INF/manifest.xml", manifestPart(objects)});
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
