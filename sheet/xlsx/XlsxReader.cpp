#include "sheet/xlsx/XlsxPackage.h"

#include "sheet/Errors.h"
#include "sheet/xlsx/ChartXmlReader.h"
#include "sheet/xlsx/CommentsReader.h"
#include "sheet/xlsx/DrawingXmlReader.h"
#include "sheet/xlsx/PackageRelations.h"
#include "sheet/xlsx/PaletteColours.h"
#include "sheet/xlsx/SharedStringsReader.h"
#include "sheet/xlsx/SheetXmlReader.h"
#include "sheet/xlsx/StylesReader.h"
#include "sheet/xlsx/WorkbookXmlReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace sheet::xlsx {
namespace {

constexpr int ChartObject = 5;
constexpr std::uint64_t MaxPackageBytes = 4ull << 30; // the parts unpacked, all together

bool startsWith(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> prefix)
{
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// A compound file that holds an "EncryptedPackage" stream: an encrypted package.
bool isEncryptedPackage(const std::vector<std::uint8_t>& bytes)
{
    static constexpr char16_t name[] = u"EncryptedPackage";
    std::array<std::uint8_t, 32> pattern{};
    for (std::size_t k = 0; k < 16; ++k)
        pattern[2 * k] = static_cast<std::uint8_t>(name[k]);
    return std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end()) != bytes.end();
}

void refuseWhatIsNoZip(const std::vector<std::uint8_t>& bytes)
{
    if (startsWith(bytes, {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1})) {
        if (isEncryptedPackage(bytes))
            throw FormatError("the workbook is an encrypted package, which cannot be read");
        throw FormatError("the file is a compound document (an Excel 97-2003 workbook?), not a SpreadsheetML package");
    }
    if (!startsWith(bytes, {'P', 'K'}))
        throw FormatError("the file is not a zip archive, so it is no SpreadsheetML package");
}

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class PackageReader {
public:
    explicit PackageReader(std::vector<std::uint8_t> bytes) : zip_(std::move(bytes)) {}

    XlsxPackage read()
    {
        XlsxPackage package;
        readParts(package);
        const std::vector<PackageRelationship> root = readRelationships(zip_, "");
        const PackageRelationship* office = relationshipOfType(root, "officeDocument");
        if (!office || !zip_.contains(office->target))
            throw FormatError("the zip archive is no spreadsheet package: it names no workbook part");
        package.workbookPart = zip_.spelling(office->target);
        const std::string type = lowered(readContentTypes(zip_).of(package.workbookPart));
        if (type.find("spreadsheetml") == std::string::npos && type.find("ms-excel") == std::string::npos)
            throw FormatError("the zip archive is no spreadsheet package: its main part is of the type \"" + type + "\"");
        package.isTemplate = type.find("template") != std::string::npos;
        package.hasMacros = type.find("macroenabled") != std::string::npos;

        model::Workbook& workbook = package.workbook;
        const WorkbookXml book = readWorkbookPart(zip_, package.workbookPart);
        package.date1904 = book.date1904;
        package.definedNames = book.definedNames;
        const std::vector<PackageRelationship> relationships = readRelationships(zip_, package.workbookPart);
        const std::string stylesPart = targetOf(relationships, "styles");
        const std::string themePart = targetOf(relationships, "theme");
        package.stylesPart = stylesPart;
        theme_ = readThemeColours(zip_, themePart);

        PaletteColours colours(workbook.palette, theme_);
        const std::vector<model::Xf> xfs = readStyles(zip_, stylesPart, colours, workbook);
        package.packageXfCount = xfs.size();
        arrangeXfs(workbook, xfs);
        readSharedStrings(zip_, targetOf(relationships, "sharedStrings"), colours, workbook);

        std::vector<std::string> names;
        for (const WorkbookSheet& sheet : book.sheets)
            names.push_back(sheet.name);
        workbook.sheets.resize(book.sheets.size());
        package.sheets.resize(book.sheets.size());
        for (std::size_t k = 0; k < book.sheets.size(); ++k) {
            model::Sheet& sheet = workbook.sheets[k];
            sheet.name = book.sheets[k].name;
            sheet.visible = book.sheets[k].visible;
            const PackageRelationship* target = relationshipWithId(relationships, book.sheets[k].relationship);
            if (!target || !zip_.contains(target->target)) {
                sheet.kind = model::SheetKind::Other;
                continue;
            }
            const std::string part = zip_.spelling(target->target);
            if (target->type == "worksheet") {
                package.sheets[k].part = part;
                readSheet(package, sheet, package.sheets[k], names);
            } else if (target->type == "chartsheet") {
                sheet.kind = model::SheetKind::Chart;
            } else if (target->type == "macrosheet") {
                sheet.kind = model::SheetKind::Macro;
            } else {
                sheet.kind = model::SheetKind::Other;
            }
        }
        if (workbook.sheets.empty())
            throw FormatError("the workbook part lists no sheets");
        workbook.activeSheet = std::clamp(book.activeSheet, 0, static_cast<int>(workbook.sheets.size()) - 1);
        workbook.readXfCount = workbook.xfs.size();
        return package;
    }

private:
    void readParts(XlsxPackage& package)
    {
        std::uint64_t total = 0;
        for (const std::string& name : zip_.names()) {
            if (!name.empty() && name.back() == '/')
                continue;
            total += zip_.size(name);
            if (total > MaxPackageBytes)
                throw FormatError("the package unpacks to more than 4 GB, more than the engine reads");
            package.parts.push_back({name, zip_.read(name), zip_.stored(name)});
        }
    }

    std::string targetOf(const std::vector<PackageRelationship>& relationships, const std::string& type) const
    {
        const PackageRelationship* relationship = relationshipOfType(relationships, type);
        return relationship && zip_.contains(relationship->target) ? zip_.spelling(relationship->target) : std::string();
    }

    // The package's cell formats as the workbook keeps them (see modelXfIndex).
    static void arrangeXfs(model::Workbook& workbook, const std::vector<model::Xf>& xfs)
    {
        const std::size_t count = modelXfCount(xfs.size());
        workbook.xfs.resize(count);
        for (std::size_t k = 0; k < count; ++k)
            workbook.xfs[k] = xfs[static_cast<std::size_t>(packageXfIndex(static_cast<int>(k), xfs.size()))];
    }

    void readSheet(XlsxPackage& package, model::Sheet& sheet, XlsxSheet& xlsx, const std::vector<std::string>& names)
    {
        const WorksheetLinks links = readWorksheet(zip_, xlsx.part, package.date1904, package.packageXfCount,
                                                   package.workbook, sheet, xlsx);
        const std::vector<PackageRelationship> relationships = readRelationships(zip_, xlsx.part);
        if (const PackageRelationship* drawing = relationshipWithId(relationships, links.drawing);
            drawing && zip_.contains(drawing->target)) {
            const std::string drawingPart = zip_.spelling(drawing->target);
            const std::vector<PackageRelationship> drawingRelationships = readRelationships(zip_, drawingPart);
            for (const PlacedChart& placed : readDrawingPart(zip_, drawingPart, sheet)) {
                const PackageRelationship* chart = relationshipWithId(drawingRelationships, placed.relationship);
                if (!chart || !zip_.contains(chart->target))
                    continue;
                const std::string chartPart = zip_.spelling(chart->target);
                model::DrawingObject object;
                object.anchor = placed.anchor;
                object.objectType = ChartObject;
                object.shapeId = static_cast<int>(sheet.drawings.size()) + 1025;
                object.chartIndex = static_cast<int>(sheet.charts.size());
                sheet.charts.push_back(readChartPart(zip_, chartPart, names, theme_));
                xlsx.chartParts.push_back(chartPart);
                sheet.drawings.push_back(object);
            }
        }
        if (const PackageRelationship* comments = relationshipOfType(relationships, "comments");
            comments && zip_.contains(comments->target))
            sheet.comments = readCommentsPart(zip_, zip_.spelling(comments->target));
    }

    zip::ZipReader zip_;
    std::vector<std::uint32_t> theme_;
};

} // namespace

XlsxPackage readXlsxPackage(std::vector<std::uint8_t> bytes)
{
    refuseWhatIsNoZip(bytes);
    return PackageReader(std::move(bytes)).read();
}

} // namespace sheet::xlsx
