#include "sheet/ods/ChangedContent.h"

#include "sheet/ods/DataStyles.h"
#include "sheet/ods/Lengths.h"
#include "sheet/ods/TagScanner.h"

#include <QBuffer>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <set>

namespace sheet::ods {
namespace {

constexpr int Columns = model::CellStore::Columns;
constexpr std::string_view RowsRepeated = "table:number-rows-repeated";
constexpr std::string_view ColumnsRepeated = "table:number-columns-repeated";

int repeatOf(std::string_view tag, std::string_view name)
{
    const std::optional<std::string> value = tagAttribute(tag, name);
    if (!value)
        return 1;
    try {
        return std::clamp(std::stoi(*value), 1, 1 << 24);
    } catch (const std::exception&) {
        return 1;
    }
}

std::optional<std::string> repeatText(int count)
{
    return count > 1 ? std::optional(std::to_string(count)) : std::nullopt;
}

bool sameLook(const model::Xf& a, const model::Xf& b)
{
    const auto edge = [](const model::Border& x, const model::Border& y) { return x.style == y.style && x.colorIndex == y.colorIndex; };
    return a.fontIndex == b.fontIndex && a.horizontal == b.horizontal && a.vertical == b.vertical && a.wrap == b.wrap
        && a.rotation == b.rotation && a.indent == b.indent && a.fillPattern == b.fillPattern
        && a.patternForeground == b.patternForeground && edge(a.left, b.left) && edge(a.right, b.right)
        && edge(a.top, b.top) && edge(a.bottom, b.bottom);
}

// One paragraph of a cell's text, with runs of spaces and tabs as the format keeps them.
std::string paragraph(std::string_view line)
{
    std::string out = "<text:p>";
    std::size_t k = 0;
    while (k < line.size()) {
        if (line[k] == '\t') {
            out += "<text:tab/>";
            ++k;
            continue;
        }
        if (line[k] == ' ') {
            std::size_t end = k;
            while (end < line.size() && line[end] == ' ')
                ++end;
            std::size_t count = end - k;
            if (k > 0 && end < line.size()) {
                out += ' ';
                --count;
            }
            if (count == 1)
                out += "<text:s/>";
            else if (count > 1)
                out += "<text:s text:c=\"" + std::to_string(count) + "\"/>";
            k = end;
            continue;
        }
        std::size_t end = k;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        out += escaped(line.substr(k, end - k));
        k = end;
    }
    return out + "</text:p>";
}

class ContentWriter {
public:
    ContentWriter(const std::string& document, const ContentChange& change) : document_(document), change_(change) {}

    std::string write()
    {
        collectStyles();
        out_.reserve(document_.size() + document_.size() / 4);
        TagScanner scanner(document_);
        int table = -1;
        int tableDepth = 0;
        while (const std::optional<Tag> tag = scanner.next()) {
            if (tableDepth == 0) {
                if (tag->name == "office:automatic-styles" && tag->kind != Tag::Kind::End && !newStyles_.empty()) {
                    const std::size_t end = scanner.elementEnd(*tag);
                    copyTo(tag->kind == Tag::Kind::Empty ? tag->begin : end - std::string_view("</office:automatic-styles>").size());
                    if (tag->kind == Tag::Kind::Empty) {
                        out_ += "<office:automatic-styles>" + newStyles_ + "</office:automatic-styles>";
                        copied_ = end;
                    } else {
                        out_ += newStyles_;
                    }
                    scanner.seek(end);
                } else if (tag->name == "table:table" && tag->kind == Tag::Kind::Start) {
                    ++table;
                    tableDepth = 1;
                    row_ = 0;
                    lastRowEnd_ = tag->end;
                    rows_ = table < static_cast<int>(change_.rows.size()) ? &change_.rows[static_cast<std::size_t>(table)] : nullptr;
                    sheet_ = table;
                    if (!rows_ || rows_->empty()) {
                        scanner.seek(scanner.elementEnd(*tag));
                        tableDepth = 0;
                    }
                } else if (tag->name == "table:table" && tag->kind == Tag::Kind::Empty) {
                    ++table;
                }
                continue;
            }
            // Inside a table with changed rows: rows and the groups that hold them.
            if (tag->kind == Tag::Kind::End) {
                if (tag->name == "table:table") {
                    appendRowsAfterTheLast();
                    tableDepth = 0;
                }
                continue;
            }
            if (tag->name == "table:table-row") {
                const std::size_t end = scanner.elementEnd(*tag);
                rewriteRow(*tag, end);
                scanner.seek(end);
                lastRowEnd_ = end;
            } else if (tag->kind == Tag::Kind::Start && tag->name != "table:table-row-group" && tag->name != "table:table-rows"
                       && tag->name != "table:table-header-rows") {
                scanner.seek(scanner.elementEnd(*tag));
            }
        }
        copyTo(document_.size());
        if (!change_.chartRanges.empty())
            followChartRanges();
        return std::move(out_);
    }

private:
    const model::Sheet& after() const { return change_.after->sheets[static_cast<std::size_t>(sheet_)]; }
    const model::Sheet& before() const { return change_.before->sheets[static_cast<std::size_t>(sheet_)]; }

    void copyTo(std::size_t at)
    {
        if (at > copied_) {
            out_.append(document_, copied_, at - copied_);
            copied_ = at;
        }
    }

    // The automatic styles as they stand, and the style each cell format of the changed cells takes.
    void collectStyles()
    {
        TagScanner scanner(document_);
        bool inAutomatic = false;
        while (const std::optional<Tag> tag = scanner.next()) {
            if (tag->name == "office:automatic-styles")
                inAutomatic = tag->kind == Tag::Kind::Start;
            else if (tag->name == "office:body")
                break;
            else if (inAutomatic && tag->kind != Tag::Kind::End && (tag->name == "style:style" || tag->name.starts_with("number:"))) {
                const std::size_t end = scanner.elementEnd(*tag);
                if (const std::optional<std::string> name = tagAttribute(tag->text(document_), "style:name")) {
                    automatic_[*name] = document_.substr(tag->begin, end - tag->begin);
                    used_.insert(*name);
                }
                scanner.seek(end);
            } else if (tag->kind != Tag::Kind::End) {
                if (const std::optional<std::string> name = tagAttribute(tag->text(document_), "style:name"))
                    used_.insert(*name);
            }
        }
        for (std::size_t k = 0; k < change_.rows.size(); ++k) {
            const model::Sheet& sheet = change_.after->sheets[k];
            for (const auto& [row, columns] : change_.rows[k])
                for (int column : columns)
                    if (const model::Cell* cell = sheet.cell(row, column))
                        styleOf(cell->xf);
        }
    }

    std::string freshName(const std::string& stem)
    {
        for (int k = 1;; ++k) {
            std::string name = stem + std::to_string(k);
            if (used_.insert(name).second)
                return name;
        }
    }

    const std::vector<std::string>& sourceStyles() const { return *change_.cellStyles; }

    // The data style that shows a number format: the one a cell style of the package uses for it, or a new one.
    std::optional<std::string> dataStyleOf(int format)
    {
        if (format == 0)
            return std::nullopt;
        if (const auto found = dataStyles_.find(format); found != dataStyles_.end())
            return found->second;
        const model::Workbook& before = *change_.before;
        for (std::size_t k = 0; k < before.xfs.size() && k < sourceStyles().size(); ++k) {
            if (before.xfs[k].formatIndex != format || sourceStyles()[k].empty())
                continue;
            const auto raw = automatic_.find(sourceStyles()[k]);
            if (raw == automatic_.end())
                continue;
            TagScanner scanner(raw->second);
            if (const std::optional<Tag> start = scanner.next())
                if (auto name = tagAttribute(start->text(raw->second), "style:data-style-name"))
                    return dataStyles_[format] = *name;
        }
        const std::string name = freshName("N9");
        QByteArray buffer;
        {
            QXmlStreamWriter xml(&buffer);
            writeDataStyle(xml, name, change_.after->formats.code(format), change_.after->palette);
        }
        newStyles_ += buffer.toStdString();
        return dataStyles_[format] = name;
    }

    // The style of a cell format: the package's own where the format came from one, a new automatic style
    // made from the style it was copied from otherwise.
    const std::string& styleOf(int xf)
    {
        if (const auto found = styleNames_.find(xf); found != styleNames_.end())
            return found->second;
        const model::Workbook& before = *change_.before;
        const model::Workbook& after = *change_.after;
        if (static_cast<std::size_t>(xf) < sourceStyles().size() && static_cast<std::size_t>(xf) < before.xfs.size()
            && !sourceStyles()[static_cast<std::size_t>(xf)].empty())
            return styleNames_[xf] = sourceStyles()[static_cast<std::size_t>(xf)];
        const model::Xf* format = after.xf(xf);
        if (!format)
            return styleNames_[xf] = sourceStyles().size() > model::DefaultCellXf ? sourceStyles()[model::DefaultCellXf] : std::string("Default");
        std::string base = "Default";
        for (std::size_t k = 0; k < before.xfs.size() && k < sourceStyles().size(); ++k) {
            if (!sourceStyles()[k].empty() && sameLook(before.xfs[k], *format)) {
                base = sourceStyles()[k];
                break;
            }
        }
        const std::string name = freshName("ce9");
        const std::optional<std::string> data = dataStyleOf(format->formatIndex);
        const auto raw = automatic_.find(base);
        if (raw != automatic_.end()) {
            TagScanner scanner(raw->second);
            const std::optional<Tag> start = scanner.next();
            std::string tag = withAttribute(start->text(raw->second), "style:name", name);
            tag = withAttribute(tag, "style:data-style-name", data);
            newStyles_ += tag + raw->second.substr(start->end);
        } else {
            std::string tag = "<style:style style:name=\"" + name + "\" style:family=\"table-cell\"/>";
            tag = withAttribute(tag, "style:parent-style-name", base == "Default" || base.empty() ? std::string("Default") : base);
            tag = withAttribute(tag, "style:data-style-name", data);
            newStyles_ += tag;
        }
        return styleNames_[xf] = name;
    }

    std::string cellXml(int row, int column, std::string_view original)
    {
        const model::Cell* cell = after().cell(row, column);
        std::string tag = "<table:table-cell";
        for (const std::string_view keep : {"table:number-columns-spanned", "table:number-rows-spanned", "table:content-validation-name"})
            if (const std::optional<std::string> value = tagAttribute(original, keep))
                tag += " " + std::string(keep) + "=\"" + escaped(*value) + "\"";
        if (!cell)
            return tag + "/>";
        tag += " table:style-name=\"" + escaped(styleOf(cell->xf)) + "\"";
        const CellValue value = change_.after->value(*cell);
        if (const auto* number = std::get_if<double>(&value); number && std::isfinite(*number)) {
            const std::string text = decimal(*number);
            return tag + " office:value-type=\"float\" office:value=\"" + text + "\" calcext:value-type=\"float\"><text:p>" + text
                + "</text:p></table:table-cell>";
        }
        if (const auto* text = std::get_if<std::string>(&value)) {
            std::string paragraphs;
            std::size_t at = 0;
            while (true) {
                const std::size_t newline = text->find('\n', at);
                paragraphs += paragraph(std::string_view(*text).substr(at, newline == std::string::npos ? std::string::npos : newline - at));
                if (newline == std::string::npos)
                    break;
                at = newline + 1;
            }
            return tag + " office:value-type=\"string\" calcext:value-type=\"string\">" + paragraphs + "</table:table-cell>";
        }
        if (const auto* logical = std::get_if<bool>(&value))
            return tag + " office:value-type=\"boolean\" office:boolean-value=\"" + (*logical ? "true" : "false")
                + "\" calcext:value-type=\"boolean\"><text:p>" + (*logical ? "TRUE" : "FALSE") + "</text:p></table:table-cell>";
        if (const auto* error = std::get_if<ErrorCode>(&value)) {
            const std::string text = model::errorText(*error);
            return tag + " table:formula=\"of:=" + escaped(text) + "\" office:value-type=\"string\" office:string-value=\"\" calcext:value-type=\"error\"><text:p>"
                + escaped(text) + "</text:p></table:table-cell>";
        }
        if (const auto* number = std::get_if<double>(&value); number)
            return tag + " office:value-type=\"float\" office:value=\"0\" calcext:value-type=\"error\"><text:p>#NUM!</text:p></table:table-cell>";
        return tag + "/>";
    }

    // The start tag of a changed row: one row, the style of its height.
    std::string changedRowTag(std::string_view original, int row)
    {
        std::string tag = withAttribute(original, RowsRepeated, std::nullopt);
        if (tag.size() > 2 && tag[tag.size() - 2] == '/')
            tag.erase(tag.size() - 2, 1);
        if (after().rowHeight(row) != before().rowHeight(row)) {
            const auto style = rowStyles_.find(after().rowHeight(row));
            if (style != rowStyles_.end())
                tag = withAttribute(tag, "table:style-name", style->second);
        }
        const bool hidden = after().rowHidden(row);
        if (hidden != before().rowHidden(row))
            tag = withAttribute(tag, "table:visibility", hidden ? std::optional<std::string>("collapse") : std::nullopt);
        return tag;
    }

    void writeChangedRow(std::string_view rowText, const Tag& rowTag, int row)
    {
        const std::set<int>& columns = rows_->at(row);
        out_ += changedRowTag(rowTag.text(rowText), row);
        int column = 0;
        if (rowTag.kind == Tag::Kind::Start) {
            TagScanner cells(rowText);
            cells.seek(rowTag.end);
            while (const std::optional<Tag> cell = cells.next()) {
                if (cell->kind == Tag::Kind::End)
                    break;
                const std::size_t end = cells.elementEnd(*cell);
                cells.seek(end);
                const std::string_view start = cell->text(rowText);
                const std::string_view rest = rowText.substr(cell->end, end - cell->end);
                const int count = repeatOf(start, ColumnsRepeated);
                int at = column;
                while (at < column + count) {
                    if (columns.count(at)) {
                        out_ += cellXml(row, at, start);
                        ++at;
                        continue;
                    }
                    const auto next = columns.lower_bound(at);
                    const int stop = next == columns.end() ? column + count : std::min(column + count, *next);
                    out_ += withAttribute(start, ColumnsRepeated, repeatText(stop - at));
                    out_ += rest;
                    at = stop;
                }
                column = static_cast<int>(std::min<long>(static_cast<long>(column) + count, 1 << 24));
            }
        }
        for (auto at = columns.lower_bound(column); at != columns.end() && *at < Columns; ++at) {
            if (*at > column)
                out_ += "<table:table-cell" + std::string(*at - column > 1 ? " table:number-columns-repeated=\"" + std::to_string(*at - column) + "\"" : "") + "/>";
            out_ += cellXml(row, *at, {});
            column = *at + 1;
        }
        if (column == 0)
            out_ += "<table:table-cell/>";
        out_ += "</table:table-row>";
    }

    void rewriteRow(const Tag& tag, std::size_t end)
    {
        const std::string_view text = std::string_view(document_).substr(0, end);
        const int count = repeatOf(tag.text(document_), RowsRepeated);
        const int first = row_;
        row_ = static_cast<int>(std::min<long>(static_cast<long>(row_) + count, 1 << 24));
        if (const auto style = tagAttribute(tag.text(document_), "table:style-name"))
            rowStyles_.try_emplace(before().rowHeight(first), *style);
        auto changed = rows_->lower_bound(first);
        if (changed == rows_->end() || changed->first >= first + count)
            return;
        copyTo(tag.begin);
        const std::string_view rest = std::string_view(document_).substr(tag.end, end - tag.end);
        int at = first;
        while (at < first + count) {
            if (rows_->count(at)) {
                writeChangedRow(text, tag, at);
                ++at;
                continue;
            }
            const auto next = rows_->lower_bound(at);
            const int stop = next == rows_->end() ? first + count : std::min(first + count, next->first);
            out_ += withAttribute(tag.text(document_), RowsRepeated, repeatText(stop - at));
            out_ += rest;
            at = stop;
        }
        copied_ = end;
    }

    // Rows that the fill wrote below the last row the table had.
    void appendRowsAfterTheLast()
    {
        auto changed = rows_->lower_bound(row_);
        if (changed == rows_->end())
            return;
        copyTo(lastRowEnd_);
        const std::string plainText = "<table:table-row/>";
        for (; changed != rows_->end(); ++changed) {
            if (changed->first > row_)
                out_ += "<table:table-row" + std::string(changed->first - row_ > 1 ? " table:number-rows-repeated=\"" + std::to_string(changed->first - row_) + "\"" : "")
                    + "><table:table-cell/></table:table-row>";
            writeChangedRow(plainText, Tag{Tag::Kind::Empty, 0, plainText.size(), "table:table-row"}, changed->first);
            row_ = changed->first + 1;
        }
    }

    void followChartRanges()
    {
        const std::string source = std::move(out_);
        TagScanner scanner(source);
        std::string result;
        std::size_t copied = 0;
        while (const std::optional<Tag> tag = scanner.next()) {
            if (tag->name != "draw:object" || tag->kind == Tag::Kind::End)
                continue;
            const std::optional<std::string> link = tagAttribute(tag->text(source), "xlink:href");
            const auto found = link ? change_.chartRanges.find(*link) : change_.chartRanges.end();
            if (found == change_.chartRanges.end())
                continue;
            result.append(source, copied, tag->begin - copied);
            result += withAttribute(tag->text(source), "draw:notify-on-update-of-ranges", found->second);
            copied = tag->end;
        }
        result.append(source, copied, std::string::npos);
        out_ = std::move(result);
    }

    const std::string& document_;
    const ContentChange& change_;
    std::string out_;
    std::size_t copied_ = 0;
    std::map<std::string, std::string> automatic_;
    std::set<std::string> used_;
    std::map<int, std::string> styleNames_;
    std::map<int, std::string> dataStyles_;
    std::map<int, std::string> rowStyles_; // height in twips -> a row style of the table that gives it
    std::string newStyles_;
    const ChangedRows* rows_ = nullptr;
    int sheet_ = 0;
    int row_ = 0;
    std::size_t lastRowEnd_ = 0;
};

} // namespace

std::string changedContent(const std::string& document, const ContentChange& change)
{
    return ContentWriter(document, change).write();
}

} // namespace sheet::ods
