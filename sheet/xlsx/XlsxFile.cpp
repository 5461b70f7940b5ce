#include "sheet/xlsx/XlsxFile.h"

#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"
#include "sheet/model/SheetNames.h"
#include "sheet/xlsx/ChartPart.h"
#include "sheet/xlsx/ChartSheetPart.h"
#include "sheet/xlsx/CommentsPart.h"
#include "sheet/xlsx/DocumentProperties.h"
#include "sheet/xlsx/DrawingPart.h"
#include "sheet/xlsx/FormulaElements.h"
#include "sheet/xlsx/Hyperlinks.h"
#include "sheet/xlsx/ShapeXml.h"
#include "sheet/xlsx/SharedStrings.h"
#include "sheet/xlsx/SheetSettingsXml.h"
#include "sheet/xlsx/StyleTable.h"
#include "sheet/xlsx/Unsupported.h"
#include "sheet/xlsx/WorksheetPart.h"
#include "sheet/xlsx/XmlPart.h"

#include <algorithm>
#include <map>
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

constexpr const char* CoreProperties = "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";

// A relationship of a part: its target and its type, as the last word of an office document's types
// ("worksheet", "chart") or in full.
struct Relationship {
    std::string target;
    std::string type;
    bool external = false; // outside the package, as a hyperlink's target
};

std::string relationshipsPart(const std::vector<Relationship>& relationships)
{
    XmlPart xml("Relationships", {{"", PackageRelationships}});
    int id = 1;
    for (const Relationship& relationship : relationships) {
        xml.empty("Relationship");
        xml.attribute("Id", "rId" + std::to_string(id++));
        const bool full = relationship.type.starts_with("http:");
        xml.attribute("Type", full ? relationship.type : std::string(RelationshipNamespace) + "/" + relationship.type);
        xml.attribute("Target", relationship.target);
        if (relationship.external)
            xml.attribute("TargetMode", "External");
    }
    return xml.finish();
}

// A part named in [Content_Types].xml, with its content type after "application/vnd.openxmlformats-officedocument."
// or in full.
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
        const bool full = part.type.find('/') != std::string::npos;
        xml.attribute("ContentType", full ? part.type : ContentTypePrefix + part.type);
    }
    return xml.finish();
}

// The sheet the workbook opens on; the first when the workbook names none of its sheets.
int activeSheet(const model::Workbook& workbook)
{
    const int active = workbook.activeSheet;
    return active >= 0 && static_cast<std::size_t>(active) < workbook.sheets.size() ? active : 0;
}

std::string workbookPart(const model::Workbook& workbook, const SheetNames& names, const formula::WorkbookLinks& links,
                         std::size_t externalLinks, int firstExternalLink)
{
    XmlPart xml("workbook", {{"", MainNamespace}, {"r", RelationshipNamespace}});
    writeWorkbookProtection(xml, biff::readWorkbookProtection(workbook));
    xml.start("bookViews");
    xml.empty("workbookView");
    xml.attribute("activeTab", activeSheet(workbook));
    xml.end();
    xml.start("sheets");
    for (std::size_t k = 0; k < workbook.sheets.size(); ++k) {
        const model::Sheet& sheet = workbook.sheets[k];
        xml.empty("sheet");
        xml.attribute("name", names[k]);
        xml.attribute("sheetId", static_cast<int>(k + 1));
        if (!sheet.visible)
            xml.attribute("state", "hidden");
        xml.attribute("r:id", "rId" + std::to_string(k + 1));
    }
    xml.end();
    writeExternalReferences(xml, externalLinks, firstExternalLink);
    writeDefinedNames(xml, links);
    writeCalculation(xml, workbook);
    return xml.finish();
}

class PackageWriter {
public:
    explicit PackageWriter(const model::Workbook& workbook)
        : workbook_(workbook), names_(model::writtenSheetNames(workbook)), styles_(workbook),
          links_(formula::readWorkbookLinks(workbook, names_)), strings_(workbook)
    {
    }

    std::vector<zip::ZipEntry> parts()
    {
        if (workbook_.sheets.empty())
            throw FormatError("the workbook has no sheets, and a .xlsx workbook needs one");
        std::vector<Relationship> workbookRelationships;
        for (std::size_t k = 0; k < workbook_.sheets.size(); ++k) {
            const model::Sheet& sheet = workbook_.sheets[k];
            if (sheet.kind == model::SheetKind::Chart && !sheet.charts.empty()) {
                workbookRelationships.push_back(addChartSheet(sheet, k));
                continue;
            }
            if (sheet.kind != model::SheetKind::Worksheet)
                refuseSheet(sheet);
            if (const std::optional<std::size_t> unplaced = sheet.unplacedChart())
                refuseUnplacedChart(sheet, static_cast<int>(*unplaced) + 1, workbook_.biff != 8);
            const std::string name = "sheet" + std::to_string(k + 1) + ".xml";
            std::vector<Relationship> sheetRelationships;
            const bool hasDrawing = addDrawing(sheet, sheetRelationships);
            const std::string legacyDrawing = addComments(sheet, sheetRelationships);
            const SheetHyperlinks hyperlinks = linksOf(sheet, sheetRelationships);
            if (!sheetRelationships.empty())
                add("xl/worksheets/_rels/" + name + ".rels", relationshipsPart(sheetRelationships));
            const formula::SheetFormulas formulas(sheet, static_cast<int>(k), links_, formula::Grammar::A1);
            const WorksheetContext context{styles_,      strings_,  static_cast<int>(k) == activeSheet(workbook_),
                                           hasDrawing,   &formulas, static_cast<int>(k),
                                           &hyperlinks,  &differentialStyles_, &conditionalPriority_,
                                           legacyDrawing};
            add("xl/worksheets/" + name, worksheetPart(workbook_, sheet, context),
                "spreadsheetml.worksheet+xml");
            workbookRelationships.push_back({"worksheets/" + name, "worksheet"});
        }
        workbookRelationships.push_back({"styles.xml", "styles"});
        add("xl/styles.xml", styles_.part(differentialStyles_), "spreadsheetml.styles+xml");
        workbookRelationships.push_back({"sharedStrings.xml", "sharedStrings"});
        add("xl/sharedStrings.xml", strings_.part(), "spreadsheetml.sharedStrings+xml");
        const std::vector<ExternalLinkPart> externalLinks = externalLinkParts(links_);
        const int firstExternalLink = static_cast<int>(workbookRelationships.size()) + 1;
        for (const ExternalLinkPart& link : externalLinks) {
            add("xl/externalLinks/" + link.name, link.part, "spreadsheetml.externalLink+xml");
            add("xl/externalLinks/_rels/" + link.name + ".rels", link.relationships);
            workbookRelationships.push_back({"externalLinks/" + link.name, "externalLink"});
        }
        add("xl/workbook.xml", workbookPart(workbook_, names_, links_, externalLinks.size(), firstExternalLink),
            "spreadsheetml.sheet.main+xml");
        add("xl/_rels/workbook.xml.rels", relationshipsPart(workbookRelationships));

        std::vector<zip::ZipEntry> package;
        add("docProps/core.xml", corePropertiesPart(), "application/vnd.openxmlformats-package.core-properties+xml");
        add("docProps/app.xml", extendedPropertiesPart(), "extended-properties+xml");
        package.push_back({"[Content_Types].xml", contentTypesPart(types_)});
        package.push_back({"_rels/.rels", relationshipsPart({{"xl/workbook.xml", "officeDocument"},
                                                             {"docProps/core.xml", CoreProperties},
                                                             {"docProps/app.xml", "extended-properties"}})});
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

    // The sheet's hyperlinks, those that lead out of the workbook with a relationship each.
    static SheetHyperlinks linksOf(const model::Sheet& sheet, std::vector<Relationship>& sheetRelationships)
    {
        SheetHyperlinks hyperlinks{biff::readHyperlinks(sheet), {}};
        for (const biff::Hyperlink& link : hyperlinks.links) {
            if (link.target.empty()) {
                hyperlinks.relationships.emplace_back();
                continue;
            }
            sheetRelationships.push_back({link.target, "hyperlink", true});
            hyperlinks.relationships.push_back("rId" + std::to_string(sheetRelationships.size()));
        }
        return hyperlinks;
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
    // first; false when the sheet has none. The AutoFilter's arrows are written with the sheet's filter,
    // the boxes of its comments with the comments.
    bool addDrawing(const model::Sheet& sheet, std::vector<Relationship>& sheetRelationships)
    {
        std::vector<AnchoredChart> anchored;
        std::vector<AnchoredShape> shapes;
        std::vector<Relationship> drawingRelationships;
        for (const model::DrawingObject& object : sheet.drawings) {
            // A comment's box is written with its comment; one of no comment is named in a warning.
            if (object.filterArrow || object.objectType == CommentObject)
                continue;
            const bool isChart = object.objectType == ChartObject && object.chartIndex >= 0 &&
                                 static_cast<std::size_t>(object.chartIndex) < sheet.charts.size();
            if (!isChart) {
                if (!drawable(object))
                    refuseDrawing(sheet, object);
                shapes.push_back({&object, shapeName(object, static_cast<int>(shapes.size()) + 1), {}});
                continue;
            }
            const model::Chart& chart = sheet.charts[static_cast<std::size_t>(object.chartIndex)];
            const int number = static_cast<int>(anchored.size()) + 1;
            if (!chart.knownType())
                refuseChart(sheet, number);
            const std::string name = "chart" + std::to_string(++charts_) + ".xml";
            add("xl/charts/" + name, chartPart(workbook_, names_, chart), "drawingml.chart+xml");
            drawingRelationships.push_back({"../charts/" + name, "chart"});
            anchored.push_back({object.anchor, "Chart " + std::to_string(number)});
        }
        // The images follow the charts among the drawing's relationships.
        for (AnchoredShape& shape : shapes) {
            if (model::figureOf(*shape.object) != model::Figure::Picture)
                continue;
            drawingRelationships.push_back({"../media/" + mediaName(shape.object->picture), "image"});
            shape.image = "rId" + std::to_string(drawingRelationships.size());
        }
        if (anchored.empty() && shapes.empty())
            return false;
        const std::string name = "drawing" + std::to_string(++drawings_) + ".xml";
        add("xl/drawings/" + name, drawingPart(workbook_, sheet, anchored, shapes), "drawing+xml");
        add("xl/drawings/_rels/" + name + ".rels", relationshipsPart(drawingRelationships));
        sheetRelationships.push_back({"../drawings/" + name, "drawing"});
        return true;
    }

    // A chart sheet with its drawing and chart; the workbook's relationship to it.
    Relationship addChartSheet(const model::Sheet& sheet, std::size_t index)
    {
        const model::Chart& chart = sheet.charts.front();
        if (!chart.knownType())
            refuseChart(sheet, 1);
        const std::string name = "sheet" + std::to_string(index + 1) + ".xml";
        const std::string chartName = "chart" + std::to_string(++charts_) + ".xml";
        add("xl/charts/" + chartName, chartPart(workbook_, names_, chart), "drawingml.chart+xml");
        const std::string drawing = "drawing" + std::to_string(++drawings_) + ".xml";
        add("xl/drawings/" + drawing, chartSheetDrawingPart(chart), "drawing+xml");
        add("xl/drawings/_rels/" + drawing + ".rels", relationshipsPart({{"../charts/" + chartName, "chart"}}));
        add("xl/chartsheets/" + name, chartSheetPart(static_cast<int>(index) == activeSheet(workbook_)),
            "spreadsheetml.chartsheet+xml");
        add("xl/chartsheets/_rels/" + name + ".rels", relationshipsPart({{"../drawings/" + drawing, "drawing"}}));
        return {"chartsheets/" + name, "chartsheet"};
    }

    // A picture or shape the drawing part can hold: a picture needs its image.
    bool drawable(const model::DrawingObject& object) const
    {
        const model::Figure figure = model::figureOf(object);
        if (figure != model::Figure::Picture)
            return figure != model::Figure::None;
        return workbook_.hasPicture(object.picture);
    }

    // The name of a picture of the store in the package's media, written there the first time a sheet
    // shows it: each picture is kept once, however many sheets show it.
    std::string mediaName(int index)
    {
        const auto found = media_.find(index);
        if (found != media_.end())
            return found->second;
        const model::Picture& picture = workbook_.pictures[static_cast<std::size_t>(index)];
        const std::string name = "image" + std::to_string(media_.size() + 1) + "." + picture.extension;
        add("xl/media/" + name, std::string(picture.bytes.begin(), picture.bytes.end()), picture.mediaType.c_str());
        media_.emplace(index, name);
        return name;
    }

    const model::Workbook& workbook_;
    const SheetNames names_;
    StyleTable styles_;
    formula::WorkbookLinks links_;
    SharedStrings strings_;
    DifferentialStyles differentialStyles_;
    int conditionalPriority_ = 0;
    std::vector<zip::ZipEntry> parts_;
    std::vector<TypedPart> types_;
    int charts_ = 0;
    int drawings_ = 0;
    int commentParts_ = 0;
    std::map<int, std::string> media_; // the pictures of the store written so far, by index
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
