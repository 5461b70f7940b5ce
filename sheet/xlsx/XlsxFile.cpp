#include "sheet/xlsx/XlsxFile.h"

#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"
#include "sheet/xlsx/ChartPart.h"
#include "sheet/xlsx/CommentsPart.h"
#include "sheet/xlsx/DrawingPart.h"
#include "sheet/xlsx/SharedStrings.h"
#include "sheet/xlsx/StyleTable.h"
#include "sheet/xlsx/Unsupported.h"
#include "sheet/xlsx/WorksheetPart.h"
#include "sheet/xlsx/XmlPart.h"

#include <algorithm>
#include <utility>

namespace sheet::xlsx {
namespace {

constexpr const char* MainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* RelationshipNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* PackageRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* ContentTypes = "http://schemas.openxmlformats.org/package/2006/content-types";
constexpr const char* ContentTypePrefix = "application/vnd.openxmlformats-officedocument.";
constexpr int ChartObject = 5;
constexpr int CommentObject = 25;

// A relationship of a part: its target and its type's last word ("worksheet", "chart").
struct Relationship {
    std::string target;
    std::string type;
};

std::string relationshipsPart(const std::vector<Relationship>& relationships)
{
    XmlPart xml("Relationships", {{"", PackageRelationships}});
    int id = 1;
    for (const Relationship& relationship : relationships) {
        xml.empty("Relationship");
        xml.attribute("Id", "rId" + std::to_string(id++));
        xml.attribute("Type", std::string(RelationshipNamespace) + "/" + relationship.type);
        xml.attribute("Target", relationship.target);
    }
    return xml.finish();
}

// A part named in [Content_Types].xml, with its content type after "application/vnd.openxmlformats-officedocument.".
struct TypedPart {
    std::string name;
    std::string type;
};

std::string contentTypesPart(const std::vector<TypedPart>& parts)
{
    XmlPart xml("Types", {{"", ContentTypes}});
    xml.empty("Default");
    xml.attribute("Extension", "rels");
    xml.attribute("ContentType", "application/vnd.openxmlformats-package.relationships+xml");
    xml.empty("Default");
    xml.attribute("Extension", "xml");
    xml.attribute("ContentType", "application/xml");
    for (const TypedPart& part : parts) {
        xml.empty("Override");
        xml.attribute("PartName", "/" + part.name);
        xml.attribute("ContentType", ContentTypePrefix + part.type);
    }
    return xml.finish();
}

// The sheet the workbook opens on; the first when the workbook names none of its sheets.
int activeSheet(const model::Workbook& workbook)
{
    const int active = workbook.activeSheet;
    return active >= 0 && static_cast<std::size_t>(active) < workbook.sheets.size() ? active : 0;
}

std::string workbookPart(const model::Workbook& workbook)
{
    XmlPart xml("workbook", {{"", MainNamespace}, {"r", RelationshipNamespace}});
    xml.start("bookViews");
    xml.empty("workbookView");
    xml.attribute("activeTab", activeSheet(workbook));
    xml.end();
    xml.start("sheets");
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        const model::Sheet& sheet = workbook.sheets[k];
        xml.empty("sheet");
        xml.attribute("name", sheet.name);
        xml.attribute("sheetId", static_cast<int>(k + 1));
        if (!sheet.visible)
            xml.attribute("state", "hidden");
        xml.attribute("r:id", "rId" + std::to_string(k + 1));
    }
    xml.end();
    return xml.finish();
}

class PackageWriter {
public:
    explicit PackageWriter(const model::Workbook& workbook) : workbook_(workbook), styles_(workbook) {}

    std::vector<zip::ZipEntry> parts()
    {
        if (workbook_.sheets.empty())
            throw FormatError("the workbook has no sheets, and a .xlsx workbook needs one");
        std::vector<Relationship> workbookRelationships;
        for (std::size_t k = 0; k < workbook_.sheets.size(); ++k) {
            const model::Sheet& sheet = workbook_.sheets[k];
            if (sheet.kind != model::SheetKind::Worksheet)
                refuseSheet(sheet);
            if (const std::optional<std::size_t> unplaced = sheet.unplacedChart())
                refuseUnplacedChart(sheet, static_cast<int>(*unplaced) + 1, workbook_.biff != 8);
            const std::string name = "sheet" + std::to_string(k + 1) + ".xml";
            std::vector<Relationship> sheetRelationships;
            const bool hasDrawing = addDrawing(sheet, sheetRelationships);
            const std::string legacyDrawing = addComments(sheet, sheetRelationships);
            if (!sheetRelationships.empty())
                add("xl/worksheets/_rels/" + name + ".rels", relationshipsPart(sheetRelationships));
            const WorksheetContext context{styles_, strings_, static_cast<int>(k) == activeSheet(workbook_), hasDrawing,
                                           legacyDrawing};
            add("xl/worksheets/" + name, worksheetPart(workbook_, sheet, context),
                "spreadsheetml.worksheet+xml");
            workbookRelationships.push_back({"worksheets/" + name, "worksheet"});
        }
        workbookRelationships.push_back({"styles.xml", "styles"});
        add("xl/styles.xml", styles_.part(), "spreadsheetml.styles+xml");
        workbookRelationships.push_back({"sharedStrings.xml", "sharedStrings"});
        add("xl/sharedStrings.xml", strings_.part(), "spreadsheetml.sharedStrings+xml");
        add("xl/workbook.xml", workbookPart(workbook_), "spreadsheetml.sheet.main+xml");
        add("xl/_rels/workbook.xml.rels", relationshipsPart(workbookRelationships));

        std::vector<zip::ZipEntry> package;
        package.push_back({"[Content_Types].xml", contentTypesPart(types_)});
        package.push_back({"_rels/.rels", relationshipsPart({{"xl/workbook.xml", "officeDocument"}})});
        for (auto& part : parts_)
            package.push_back(std::move(part));
        return package;
    }

private:
    void add(std::string name, std::string bytes, const char* type = nullptr)
    {
        if (type)
            types_.push_back({name, type});
        parts_.push_back({std::move(name), std::move(bytes)});
    }

    // The sheet's comments as a comments part and the VML drawing that shows them, added to the sheet's
    // relationships; the VML drawing's relationship id, empty when the sheet has no comments.
    std::string addComments(const model::Sheet& sheet, std::vector<Relationship>& sheetRelationships)
    {
        if (sheet.comments.empty())
            return {};
        const int number = ++commentParts_;
        const std::string vml = "vmlDrawing" + std::to_string(number) + ".vml";
        add("xl/drawings/" + vml, vmlDrawingPart(sheet, number), "vmlDrawing");
        sheetRelationships.push_back({"../drawings/" + vml, "vmlDrawing"});
        const std::string id = "rId" + std::to_string(sheetRelationships.size());
        const std::string comments = "comments" + std::to_string(number) + ".xml";
        add("xl/" + comments, commentsPart(sheet), "spreadsheetml.comments+xml");
        sheetRelationships.push_back({"../" + comments, "comments"});
        return id;
    }

    // The sheet's charts as a drawing part with a chart part each, added to the sheet's relationships
    // first; false when the sheet has none. The boxes of its comments are written with the comments.
    bool addDrawing(const model::Sheet& sheet, std::vector<Relationship>& sheetRelationships)
    {
        std::vector<AnchoredChart> anchored;
        std::vector<Relationship> drawingRelationships;
        for (const model::DrawingObject& object : sheet.drawings) {
            if (isCommentBox(sheet, object))
                continue;
            const bool isChart = object.objectType == ChartObject && object.chartIndex >= 0 &&
                                 static_cast<std::size_t>(object.chartIndex) < sheet.charts.size();
            if (!isChart)
                refuseDrawing(sheet, object);
            const model::Chart& chart = sheet.charts[static_cast<std::size_t>(object.chartIndex)];
            const int number = static_cast<int>(anchored.size()) + 1;
            if (!chart.drawsPies())
                refuseChart(sheet, number, chart);
            const std::string name = "chart" + std::to_string(++charts_) + ".xml";
            add("xl/charts/" + name, chartPart(workbook_, chart), "drawingml.chart+xml");
            drawingRelationships.push_back({"../charts/" + name, "chart"});
            anchored.push_back({object.anchor, "Chart " + std::to_string(number)});
        }
        if (anchored.empty())
            return false;
        const std::string name = "drawing" + std::to_string(++drawings_) + ".xml";
        add("xl/drawings/" + name, drawingPart(sheet, anchored), "drawing+xml");
        add("xl/drawings/_rels/" + name + ".rels", relationshipsPart(drawingRelationships));
        sheetRelationships.push_back({"../drawings/" + name, "drawing"});
        return true;
    }

    static bool isCommentBox(const model::Sheet& sheet, const model::DrawingObject& object)
    {
        return object.objectType == CommentObject &&
               std::any_of(sheet.comments.begin(), sheet.comments.end(),
                           [&](const model::Comment& comment) { return comment.shapeId == object.shapeId; });
    }

    const model::Workbook& workbook_;
    StyleTable styles_;
    SharedStrings strings_;
    std::vector<zip::ZipEntry> parts_;
    std::vector<TypedPart> types_;
    int charts_ = 0;
    int drawings_ = 0;
    int commentParts_ = 0;
};

} // namespace

std::vector<zip::ZipEntry> xlsxParts(const model::Workbook& workbook)
{
    return PackageWriter(workbook).parts();
}

std::vector<std::uint8_t> xlsxBytes(const model::Workbook& workbook)
{
    return zip::zipArchive(xlsxParts(workbook));
}

void saveXlsxFile(const model::Workbook& workbook, const std::string& path, biff::SaveTarget target)
{
    const std::vector<std::uint8_t> bytes = xlsxBytes(workbook);
    if (target == biff::SaveTarget::ChosenFile)
        io::writeChosenFile(path, bytes);
    else
        io::writeFileAtomically(path, bytes);
}

} // namespace sheet::xlsx
