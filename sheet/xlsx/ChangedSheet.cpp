#include "sheet/xlsx/ChangedSheet.h"

#include "sheet/model/A1Notation.h"
#include "sheet/xlsx/CellReferences.h"
#include "sheet/xlsx/XlsxPackage.h"
#include "sheet/xlsx/XmlPart.h"
#include "sheet/xlsx/XmlTags.h"

#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <variant>

namespace sheet::xlsx {
namespace {

bool sameCell(const model::Workbook& source, const model::Cell& a, const model::Workbook& workbook, const model::Cell& b)
{
    if (a.xf != b.xf || a.kind() != b.kind() || a.hasFormula() != b.hasFormula())
        return false;
    if (a.isText())
        return source.value(a) == workbook.value(b);
    return source.value(a) == workbook.value(b) || (a.number() && b.number() && std::isnan(*a.number()) && std::isnan(*b.number()));
}

bool sameRow(const model::RowInfo& a, const model::RowInfo& b)
{
    return a.height == b.height && a.hidden == b.hidden && a.customHeight == b.customHeight && a.xf == b.xf;
}

// The rows where the two sheets differ.
std::set<int> changedRows(const model::Workbook& source, const model::Sheet& before, const model::Workbook& workbook,
                          const model::Sheet& after)
{
    std::set<int> rows;
    auto a = before.cells.begin();
    auto b = after.cells.begin();
    while (a != before.cells.end() || b != after.cells.end()) {
        if (b == after.cells.end() || (a != before.cells.end() && a->first < b->first)) {
            rows.insert(a->first.row);
            ++a;
        } else if (a == before.cells.end() || b->first < a->first) {
            rows.insert(b->first.row);
            ++b;
        } else {
            if (!sameCell(source, a->second, workbook, b->second))
                rows.insert(a->first.row);
            ++a;
            ++b;
        }
    }
    for (const auto& [row, info] : after.rows) {
        const auto old = before.rows.find(row);
        if (old == before.rows.end() || !sameRow(old->second, info))
            rows.insert(row);
    }
    for (const auto& [row, info] : before.rows)
        if (!after.rows.contains(row))
            rows.insert(row);
    return rows;
}

class SheetRewriter {
public:
    SheetRewriter(std::string_view part, const model::Workbook& source, const model::Sheet& before,
                  const model::Workbook& workbook, const model::Sheet& after, std::size_t xfCount, std::set<int> rows)
        : part_(part), source_(source), before_(before), workbook_(workbook), after_(after), xfCount_(xfCount),
          pending_(std::move(rows))
    {
    }

    std::optional<std::string> rewrite()
    {
        XmlTagScanner scanner(part_);
        std::optional<XmlTag> sheetData;
        while ((sheetData = scanner.next()))
            if (sheetData->opens() && sheetData->localName() == "sheetData")
                break;
        if (!sheetData)
            return std::nullopt;
        prefix_ = std::string(sheetData->prefix());
        if (sheetData->kind == XmlTag::Kind::Empty) {
            out_.append(part_.substr(0, sheetData->begin));
            out_ += "<" + prefix_ + "sheetData>";
            writePendingBefore(std::numeric_limits<int>::max());
            out_ += "</" + prefix_ + "sheetData>";
            out_.append(part_.substr(sheetData->end));
            return std::move(out_);
        }
        std::size_t copied = 0;
        int row = -1;
        while (const std::optional<XmlTag> tag = scanner.next()) {
            if (tag->kind == XmlTag::Kind::End && tag->localName() == "sheetData") {
                out_.append(part_.substr(copied, tag->begin - copied));
                writePendingBefore(std::numeric_limits<int>::max());
                out_.append(part_.substr(tag->begin));
                return std::move(out_);
            }
            if (!tag->opens() || tag->localName() != "row")
                continue;
            const std::optional<std::string_view> r = tagAttribute(part_.substr(tag->begin, tag->end - tag->begin), "r");
            row = r ? std::atoi(std::string(*r).c_str()) - 1 : row + 1;
            const std::size_t end = scanner.elementEnd(*tag);
            out_.append(part_.substr(copied, tag->begin - copied));
            copied = tag->begin;
            writePendingBefore(row);
            if (pending_.erase(row)) {
                writeRow(row, &*tag, part_.substr(tag->begin, end - tag->begin));
                copied = end;
            }
        }
        return std::nullopt;
    }

private:
    void writePendingBefore(int row)
    {
        while (!pending_.empty() && *pending_.begin() < row) {
            const int pendingRow = *pending_.begin();
            pending_.erase(pending_.begin());
            writeRow(pendingRow, nullptr, {});
        }
    }

    // The cell elements of a row of the part, by column.
    std::map<int, std::string_view> cellElements(std::string_view row) const
    {
        std::map<int, std::string_view> cells;
        XmlTagScanner scanner(row);
        scanner.next(); // the row's own tag
        int column = -1;
        while (const std::optional<XmlTag> tag = scanner.next()) {
            if (!tag->opens() || tag->localName() != "c")
                continue;
            const std::string_view start = row.substr(tag->begin, tag->end - tag->begin);
            const std::optional<std::string_view> r = tagAttribute(start, "r");
            const std::optional<model::CellAddress> at = r ? parsedCell(*r) : std::nullopt;
            column = at ? at->column : column + 1;
            const std::size_t end = scanner.elementEnd(*tag);
            cells[column] = row.substr(tag->begin, end - tag->begin);
        }
        return cells;
    }

    void writeRow(int row, const XmlTag* tag, std::string_view original)
    {
        const auto info = after_.rows.find(row);
        const auto oldInfo = before_.rows.find(row);
        std::string start;
        if (tag) {
            start = withoutAttribute(original.substr(0, tag->end - tag->begin), "spans");
            if (start.ends_with("/>"))
                start = start.substr(0, start.size() - 2) + ">";
        } else {
            start = "<" + prefix_ + "row r=\"" + std::to_string(row + 1) + "\">";
        }
        const bool infoChanged = info != after_.rows.end() &&
                                 (oldInfo == before_.rows.end() || !sameRow(oldInfo->second, info->second));
        if (infoChanged) {
            const model::RowInfo& look = info->second;
            start = withAttribute(start, "ht", numberText(look.height / 20.0));
            start = look.customHeight ? withAttribute(start, "customHeight", "1") : withoutAttribute(start, "customHeight");
            start = look.hidden ? withAttribute(start, "hidden", "1") : withoutAttribute(start, "hidden");
            if (look.xf) {
                start = withAttribute(start, "s", std::to_string(packageXfIndex(*look.xf, xfCount_)));
                start = withAttribute(start, "customFormat", "1");
            }
        }
        out_ += start;
        const std::map<int, std::string_view> cells = tag ? cellElements(original) : std::map<int, std::string_view>{};
        // Cells beyond the columns the workbook holds were not read, and stay as they were.
        const auto beyond = cells.upper_bound(model::CellStore::Columns - 1);
        for (auto at = after_.cells.lower_bound({row, 0}); at != after_.cells.end() && at->first.row == row; ++at) {
            const int column = at->first.column;
            const model::Cell* old = before_.cell(row, column);
            const auto element = cells.find(column);
            if (old && element != cells.end() && sameCell(source_, *old, workbook_, at->second))
                out_.append(element->second);
            else
                writeCell(row, column, at->second);
        }
        for (auto at = beyond; at != cells.end(); ++at)
            out_.append(at->second);
        out_ += "</" + prefix_ + "row>";
    }

    void writeCell(int row, int column, const model::Cell& cell)
    {
        const int style = packageXfIndex(cell.xf, xfCount_);
        if (cell.isEmpty() && style == 0)
            return;
        out_ += "<" + prefix_ + "c r=\"" + model::cellAddress(row, column) + "\"";
        if (style != 0)
            out_ += " s=\"" + std::to_string(style) + "\"";
        const model::CellValue value = workbook_.value(cell);
        if (const double* number = std::get_if<double>(&value)) {
            out_ += "><" + prefix_ + "v>" + numberText(*number) + "</" + prefix_ + "v></" + prefix_ + "c>";
        } else if (const std::string* text = std::get_if<std::string>(&value)) {
            const bool spaced = !text->empty() && (text->front() == ' ' || text->back() == ' ' || text->find('\n') != std::string::npos);
            out_ += " t=\"inlineStr\"><" + prefix_ + "is><" + prefix_ + "t" + (spaced ? " xml:space=\"preserve\"" : "") + ">" +
                    xmlText(*text) + "</" + prefix_ + "t></" + prefix_ + "is></" + prefix_ + "c>";
        } else if (const bool* logical = std::get_if<bool>(&value)) {
            out_ += " t=\"b\"><" + prefix_ + "v>" + (*logical ? "1" : "0") + "</" + prefix_ + "v></" + prefix_ + "c>";
        } else if (const ErrorCode* error = std::get_if<ErrorCode>(&value)) {
            out_ += " t=\"e\"><" + prefix_ + "v>" + xmlText(model::errorText(*error)) + "</" + prefix_ + "v></" + prefix_ + "c>";
        } else {
            out_ += "/>";
        }
    }

    std::string_view part_;
    const model::Workbook& source_;
    const model::Sheet& before_;
    const model::Workbook& workbook_;
    const model::Sheet& after_;
    std::size_t xfCount_;
    std::set<int> pending_;
    std::string prefix_;
    std::string out_;
};

} // namespace

std::optional<std::string> changedWorksheet(std::string_view part, const model::Workbook& source,
                                            const model::Sheet& before, const model::Workbook& workbook,
                                            const model::Sheet& after, std::size_t packageXfCount)
{
    std::set<int> rows = changedRows(source, before, workbook, after);
    if (rows.empty())
        return std::nullopt;
    return SheetRewriter(part, source, before, workbook, after, packageXfCount, std::move(rows)).rewrite();
}

} // namespace sheet::xlsx
