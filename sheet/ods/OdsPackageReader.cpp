#include "sheet/ods/OdsPackage.h"

#include "sheet/Errors.h"
#include "sheet/ods/ChartObjectReader.h"
#include "sheet/ods/DocumentReader.h"
#include "sheet/ods/PackageFormulas.h"
#include "sheet/ods/TagScanner.h"
#include "sheet/zip/ZipReader.h"

#include <algorithm>

namespace sheet::ods {
namespace {

constexpr std::string_view SpreadsheetType = "application/vnd.oasis.opendocument.spreadsheet";
constexpr std::string_view TemplateType = "application/vnd.oasis.opendocument.spreadsheet-template";

// Whether the manifest says that some part is encrypted.
class ManifestCheck : public XmlHandler {
public:
    void start(const QXmlStreamReader& xml) override
    {
        if (isElement(xml, ns::Manifest, u"encryption-data"))
            encrypted = true;
    }
    void end(const QXmlStreamReader&) override {}
    bool encrypted = false;
};

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    return text;
}

bool looksLikeXml(const std::vector<std::uint8_t>& bytes)
{
    std::size_t at = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        at = 3;
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\n' || bytes[at] == '\r' || bytes[at] == '\t'))
        ++at;
    return at < bytes.size() && bytes[at] == '<';
}

void readFlat(OdsPackage& package, std::vector<std::uint8_t> bytes)
{
    package.flat = true;
    std::string document(bytes.begin(), bytes.end());
    std::vector<std::uint8_t>().swap(bytes);
    DocumentReader reader(package);
    readXmlBytes(document, reader, "the flat document");
    reader.finish();
    readPackageFormulas(package);
    TagScanner scanner(document);
    if (const std::optional<Tag> root = scanner.next())
        package.isTemplate = tagAttribute(root->text(document), "office:mimetype").value_or("") == TemplateType;
    // Frames in a flat document hold their charts inline, which the engine does not read.
    for (model::Sheet& sheet : package.workbook.sheets) {
        sheet.charts.clear();
        sheet.drawings.clear();
    }
    package.parts.push_back({"content.fods", std::move(document), false});
}

} // namespace

OdsPackage readOdsPackage(std::vector<std::uint8_t> bytes)
{
    OdsPackage package;
    if (bytes.size() < 4 || bytes[0] != 'P' || bytes[1] != 'K') {
        if (!looksLikeXml(bytes))
            throw FormatError("not an OpenDocument spreadsheet: the file is neither a zip package nor an XML document");
        readFlat(package, std::move(bytes));
        return package;
    }
    const zip::ZipReader zip(std::move(bytes));
    if (!zip.contains("content.xml"))
        throw FormatError("not an OpenDocument spreadsheet: the package has no content.xml");
    std::string type;
    if (zip.contains("mimetype"))
        type = std::string(trimmed(zip.read("mimetype", 1024)));
    if (!type.empty() && type != SpreadsheetType && type != TemplateType)
        throw FormatError("not an OpenDocument spreadsheet: the package is of the type \"" + type + "\"");
    package.isTemplate = type == TemplateType;
    if (zip.contains("META-INF/manifest.xml")) {
        ManifestCheck manifest;
        readXmlPart(zip, "META-INF/manifest.xml", manifest, "the manifest");
        if (manifest.encrypted)
            throw FormatError("the spreadsheet is encrypted with a password, which the engine cannot open");
    }
    for (const std::string& name : zip.names()) {
        if (!name.empty() && name.back() == '/') {
            package.parts.push_back({name, std::string(), zip.stored(name)});
            continue;
        }
        package.parts.push_back({name, zip.read(name), zip.stored(name)});
    }
    // The mimetype comes first and stored, as the format asks.
    const auto mimetype = std::find_if(package.parts.begin(), package.parts.end(), [](const zip::ZipEntry& e) { return e.name == "mimetype"; });
    if (mimetype != package.parts.end()) {
        mimetype->stored = true;
        std::rotate(package.parts.begin(), mimetype, mimetype + 1);
    }
    const auto part = [&package](std::string_view name) -> const std::string* {
        for (const zip::ZipEntry& entry : package.parts)
            if (entry.name == name)
                return &entry.bytes;
        return nullptr;
    };
    DocumentReader reader(package);
    if (const std::string* styles = part("styles.xml"))
        readXmlBytes(*styles, reader, "the styles part");
    readXmlBytes(*part(zip.spelling("content.xml")), reader, "the content part");
    if (const std::string* settings = part("settings.xml"))
        readXmlBytes(*settings, reader, "the settings part");
    reader.finish();
    readPackageFormulas(package);

    std::vector<std::string> sheetNames;
    for (const model::Sheet& sheet : package.workbook.sheets)
        sheetNames.push_back(sheet.name);
    for (const DocumentReader::PendingChart& pending : reader.pendingCharts()) {
        model::Sheet& sheet = package.workbook.sheets[static_cast<std::size_t>(pending.sheet)];
        if (!zip.contains(pending.folder + "/content.xml")) {
            // A frame that names no chart of the package keeps no drawing.
            sheet.charts[pending.chart] = model::Chart{};
            continue;
        }
        sheet.charts[pending.chart] = readChartObject(zip, zip.spelling(pending.folder + "/content.xml").substr(0, pending.folder.size()), sheetNames);
        package.charts.push_back({zip.spelling(pending.folder + "/content.xml").substr(0, pending.folder.size()), pending.sheet, pending.chart});
    }
    return package;
}

} // namespace sheet::ods
