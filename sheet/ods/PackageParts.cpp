#include "sheet/ods/PackageParts.h"

#include "sheet/ods/ViewSettings.h"
#include "sheet/ods/XmlPart.h"

namespace sheet::ods {
namespace {

void configItem(QXmlStreamWriter& xml, const char* name, const char* type, const QString& value)
{
    xml.writeStartElement("config:config-item");
    xml.writeAttribute("config:name", name);
    xml.writeAttribute("config:type", type);
    xml.writeCharacters(value);
    xml.writeEndElement();
}

QString boolean(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

void fileEntry(QXmlStreamWriter& xml, const QString& path, const char* mediaType)
{
    emptyElement(xml, "manifest:file-entry", {{"manifest:full-path", path}, {"manifest:media-type", mediaType}});
}

} // namespace

std::string metaPart()
{
    XmlPart part("office:document-meta", {Namespace::Office, Namespace::Meta});
    QXmlStreamWriter& xml = part.xml();
    xml.writeStartElement("office:meta");
    xml.writeTextElement("meta:generator", "Tortelet Studio");
    xml.writeEndElement();
    return part.finish();
}

std::string settingsPart(const model::Workbook& workbook, const SheetNames& names)
{
    XmlPart part("office:document-settings", {Namespace::Office, Namespace::Config});
    QXmlStreamWriter& xml = part.xml();
    xml.writeStartElement("office:settings");
    xml.writeStartElement("config:config-item-set");
    xml.writeAttribute("config:name", "ooo:view-settings");
    xml.writeStartElement("config:config-item-map-indexed");
    xml.writeAttribute("config:name", "Views");
    xml.writeStartElement("config:config-item-map-entry");
    configItem(xml, "ViewId", "string", QStringLiteral("view1"));
    xml.writeStartElement("config:config-item-map-named");
    xml.writeAttribute("config:name", "Tables");
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        const model::Sheet& sheet = workbook.sheets[k];
        xml.writeStartElement("config:config-item-map-entry");
        xml.writeAttribute("config:name", QString::fromStdString(names[k]));
        configItem(xml, "ShowGrid", "boolean", boolean(sheet.showGridlines));
        writeTableViewSettings(xml, biff::readSheetSettings(workbook, sheet));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    const std::size_t active = static_cast<std::size_t>(workbook.activeSheet);
    if (active < workbook.sheets.size()) {
        configItem(xml, "ActiveTable", "string", QString::fromStdString(names[active]));
        configItem(xml, "ShowGrid", "boolean", boolean(workbook.sheets[active].showGridlines));
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    return part.finish();
}

std::string stylesPart(const CellStyles& styles, const ConditionalFormats& conditional, const PageStyles& pages,
                       bool arrowheads)
{
    XmlPart part("office:document-styles", {Namespace::Office, Namespace::Style, Namespace::Text, Namespace::Table,
                                            Namespace::Fo, Namespace::Svg, Namespace::Number});
    QXmlStreamWriter& xml = part.xml();
    styles.writeFontFaces(xml);
    if (arrowheads)
        xml.writeNamespace("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0", "draw");
    xml.writeStartElement("office:styles");
    if (arrowheads) {
        // The arrowhead that the lines of the sheets' drawings end in.
        xml.writeStartElement("draw:marker");
        xml.writeAttribute("draw:name", "Arrow");
        xml.writeAttribute("svg:viewBox", "0 0 20 30");
        xml.writeAttribute("svg:d", "M10 0l-10 30h20z");
        xml.writeEndElement();
    }
    styles.writeDataStyles(xml);
    styles.writeDefaultStyle(xml);
    conditional.writeStyles(xml);
    xml.writeEndElement();
    xml.writeStartElement("office:automatic-styles");
    pages.writeLayouts(xml);
    xml.writeEndElement();
    xml.writeStartElement("office:master-styles");
    pages.writeMasterPages(xml);
    xml.writeEndElement();
    return part.finish();
}

std::string manifestPart(const std::vector<ChartObject>& charts, const std::vector<PictureFile>& pictures)
{
    XmlPart part("manifest:manifest", {Namespace::Manifest}, "manifest:version");
    QXmlStreamWriter& xml = part.xml();
    xml.writeStartElement("manifest:file-entry");
    xml.writeAttribute("manifest:full-path", "/");
    xml.writeAttribute("manifest:version", "1.3");
    xml.writeAttribute("manifest:media-type", "application/vnd.oasis.opendocument.spreadsheet");
    xml.writeEndElement();
    for (const char* name : {"content.xml", "styles.xml", "meta.xml", "settings.xml"})
        fileEntry(xml, QString::fromLatin1(name), "text/xml");
    for (const ChartObject& chart : charts) {
        const QString folder = QString::fromStdString(chart.folder);
        fileEntry(xml, folder + QStringLiteral("/"), "application/vnd.oasis.opendocument.chart");
        fileEntry(xml, folder + QStringLiteral("/content.xml"), "text/xml");
        fileEntry(xml, folder + QStringLiteral("/styles.xml"), "text/xml");
    }
    for (const PictureFile& picture : pictures)
        fileEntry(xml, QString::fromStdString(picture.path), picture.mediaType.c_str());
    return part.finish();
}

} // namespace sheet::ods
