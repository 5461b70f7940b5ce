#include "sheet/xlsx/WorkbookXmlReader.h"

#include "sheet/Errors.h"
#include "sheet/xlsx/XmlStream.h"

namespace sheet::xlsx {

WorkbookXml readWorkbookPart(const zip::ZipReader& package, const std::string& part)
{
    constexpr std::size_t MaxSheets = 4096;
    WorkbookXml workbook;
    bool viewSeen = false;
    bool inName = false;
    QString text;
    readXmlPart(package, package.spelling(part), [&](const QXmlStreamReader& reader) {
        const QStringView name = reader.name();
        if (reader.isStartElement()) {
            if (name == u"sheet") {
                if (workbook.sheets.size() >= MaxSheets)
                    throw FormatError("the workbook lists more than " + std::to_string(MaxSheets) + " sheets");
                const QStringView state = attributeOf(reader, u"state");
                workbook.sheets.push_back({attributeText(reader, u"name"), relationshipId(reader),
                                           state != u"hidden" && state != u"veryHidden"});
            } else if (name == u"workbookPr") {
                workbook.date1904 = attributeFlag(reader, u"date1904", false);
            } else if (name == u"workbookView" && !viewSeen) {
                workbook.activeSheet = static_cast<int>(attributeNumber(reader, u"activeTab", 0));
                viewSeen = true;
            } else if (name == u"definedName") {
                XlsxDefinedName defined;
                defined.name = attributeText(reader, u"name");
                defined.sheet = static_cast<int>(attributeNumber(reader, u"localSheetId", -1));
                defined.hidden = attributeFlag(reader, u"hidden", false);
                workbook.definedNames.push_back(defined);
                inName = true;
                text.clear();
            }
        } else if (reader.isCharacters() && inName) {
            text += reader.text();
        } else if (reader.isEndElement() && name == u"definedName") {
            workbook.definedNames.back().formula = text.toStdString();
            inName = false;
        }
    });
    return workbook;
}

} // namespace sheet::xlsx
