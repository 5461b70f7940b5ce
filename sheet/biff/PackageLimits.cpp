#include "sheet/biff/PackageLimits.h"

#include "sheet/Errors.h"
#include "sheet/biff/SheetConditionalFormats.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/SheetLinks.h"
#include "sheet/biff/SheetSettings.h"
#include "sheet/biff/SheetValidations.h"

#include <algorithm>


namespace sheet::biff {
namespace {

constexpr std::uint16_t CondFmt12 = 0x0879;
constexpr std::uint16_t AutoFilter = 0x009E;

std::string quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

std::string counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

void refuseWhatPackagesCannotHold(const WorkbookFile& file)
{
    for (const container::Entry& entry : file.container.root.children) {
        if (entry.name == u"ObjectPool" || (entry.isStorage() && entry.name.starts_with(u"MBD")))
            throw FormatError("the workbook holds embedded OLE objects, which cannot be written as .xlsx or .ods "
                              "yet: save it as an Excel 97-2003 workbook to keep them");
        if (entry.name == u"Ctls")
            throw FormatError("the workbook holds ActiveX controls, which cannot be written as .xlsx or .ods: save it "
                              "as an Excel 97-2003 workbook to keep them");
    }
    // A pivot table's drop-down arrows belong to it: the table is named, not its arrows.
    for (const model::Sheet& sheet : file.workbook.sheets)
        for (const model::Record& record : sheet.records)
            if (record.type == rt::SxView)
                throw FormatError("the sheet " + quoted(sheet.name) + " holds a pivot table, which cannot be written "
                                  "as .xlsx or .ods yet: save it as an Excel 97-2003 workbook to keep it");
}

std::vector<std::string> packageOmissions(const model::Workbook& workbook, bool openDocument, const RuleTokensCheck& writable)
{
    std::vector<std::string> omissions;
    if (workbook.hasMacros)
        omissions.push_back("the workbook holds macros (a VBA project), which an .xlsx or .ods workbook cannot hold: "
                            "it is written without them; save it as an Excel 97-2003 workbook to keep them");
    for (std::size_t index = 0; index < workbook.sheets.size(); ++index) {
        const model::Sheet& sheet = workbook.sheets[index];
        const auto formulaWritable = [&](const std::vector<std::uint8_t>& tokens, const std::vector<model::CellRange>& ranges) {
            return tokens.empty() || (!ranges.empty() && writable(index, tokens, {ranges.front().firstRow, ranges.front().firstColumn}));
        };
        // The packages write the rules of conditional formats whose formulas they can write; Excel
        // 2007's own rules (CONDFMT12) are left to the warning.
        std::size_t conditional = 0;
        bool criteria = false;
        for (const model::Record& record : sheet.records) {
            conditional += record.type == CondFmt12;
            criteria = criteria || record.type == AutoFilter;
        }
        for (const ConditionalFormat& format : readConditionalFormats(workbook, sheet))
            conditional += static_cast<std::size_t>(std::count_if(format.rules.begin(), format.rules.end(),
                [&](const ConditionalRule& rule) {
                    return !rule.written || !formulaWritable(rule.tokens1, format.ranges) ||
                           !formulaWritable(rule.tokens2, format.ranges);
                }));
        const std::string where = "the sheet " + quoted(sheet.name) + " has ";
        if (conditional > 0)
            omissions.push_back(where + counted(conditional, "rule", "rules") + " of conditional formats, which " +
                                (conditional == 1 ? "is" : "are") + " not written");
        // The packages write the rules whose formulas they can write.
        const std::vector<Validation> rules = readValidations(workbook, sheet);
        const auto left = static_cast<std::size_t>(std::count_if(rules.begin(), rules.end(), [&](const Validation& rule) {
            return !formulaWritable(rule.tokens1, rule.ranges) || !formulaWritable(rule.tokens2, rule.ranges);
        }));
        if (left > 0)
            omissions.push_back(where + counted(left, "rule", "rules") + " of data validation, which " +
                                (left == 1 ? "is" : "are") + " not written");
        if (criteria)
            omissions.push_back(where + "an AutoFilter with criteria, which are not written; the rows they hide stay hidden");
        for (const model::DrawingObject& object : sheet.drawings) {
            const bool orphanBox = object.objectType == model::DrawingObject::CommentBox &&
                                   std::none_of(sheet.comments.begin(), sheet.comments.end(), [&](const model::Comment& comment) {
                                       return comment.shapeId == object.shapeId;
                                   });
            if (orphanBox)
                omissions.push_back("the sheet " + quoted(sheet.name) + " holds the box of a comment (shape " +
                                    std::to_string(object.shapeId) + ") that no cell has; it is not written");
            if (object.runsMacro && !object.excel95)
                omissions.push_back("the sheet " + quoted(sheet.name) + " holds " + model::drawingKindName(object.objectType) +
                                    (object.name.empty() ? "" : " " + quoted(object.name)) +
                                    " that runs a macro; it is written without it");
        }
        if (openDocument) {
            // A link of .ods stands in a cell's text: a cell the sheet has no record of has none.
            std::size_t unplaced = 0;
            for (const Hyperlink& link : readHyperlinks(sheet)) {
                const auto first = sheet.cells.lower_bound({link.range.firstRow, link.range.firstColumn});
                bool placed = false;
                for (auto at = first; at != sheet.cells.end() && at->first.row <= link.range.lastRow && !placed; ++at)
                    placed = at->first.column >= link.range.firstColumn && at->first.column <= link.range.lastColumn;
                unplaced += !placed;
            }
            if (unplaced > 0)
                omissions.push_back(where + counted(unplaced, "hyperlink", "hyperlinks") +
                                    " on empty cells, which .ods cannot hold");
            const SheetSettings settings = readSheetSettings(workbook, sheet);
            if (settings.protectedContents && settings.passwordHash != 0)
                omissions.push_back("the sheet " + quoted(sheet.name) +
                                    " is protected with a password, which .ods cannot hold: it is written protected without one");
        }
    }
    return omissions;
}

} // namespace sheet::biff
