#include "sheet/ods/ChangedChart.h"

#include "sheet/ods/CellAddresses.h"
#include "sheet/ods/Lengths.h"
#include "sheet/ods/RangeAddressText.h"
#include "sheet/ods/TagScanner.h"

#include <QString>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace sheet::ods {
namespace {

// The colours LibreOffice gives the points of a chart, in order.
constexpr std::array<model::Rgb, 12> PointColours = {0x004586, 0xFF420E, 0xFFD320, 0x579D1C, 0x7E0021, 0x83CAFF,
                                                     0x314004, 0xAECF00, 0x4B1F6F, 0xFF950E, 0xC5000B, 0x0084D1};
constexpr unsigned MaxPoints = 32000;

std::string colourText(model::Rgb colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

std::optional<std::string> rangeText(const std::optional<model::RangeReference>& reference, const std::vector<std::string>& sheetNames)
{
    if (!reference || reference->sheet < 0 || static_cast<std::size_t>(reference->sheet) >= sheetNames.size())
        return std::nullopt;
    return odfRangeAddress(sheetNames[static_cast<std::size_t>(reference->sheet)], reference->range);
}

unsigned pointCount(const model::ChartSeries& series)
{
    if (!series.values)
        return 0;
    const model::CellRange& r = series.values->range;
    const long cells = static_cast<long>(r.lastRow - r.firstRow + 1) * (r.lastColumn - r.firstColumn + 1);
    return static_cast<unsigned>(std::clamp<long>(cells, 0, MaxPoints));
}

std::vector<const model::Cell*> cellsOf(const model::Workbook& workbook, const std::optional<model::RangeReference>& reference)
{
    std::vector<const model::Cell*> cells;
    if (!reference || reference->sheet < 0 || static_cast<std::size_t>(reference->sheet) >= workbook.sheets.size())
        return cells;
    const model::Sheet& sheet = workbook.sheets[static_cast<std::size_t>(reference->sheet)];
    const model::CellRange& r = reference->range;
    for (int row = r.firstRow; row <= r.lastRow && cells.size() < MaxPoints; ++row)
        for (int column = r.firstColumn; column <= r.lastColumn; ++column)
            cells.push_back(sheet.cell(row, column));
    return cells;
}

std::string shownText(const model::Workbook& workbook, const model::Cell* cell)
{
    if (!cell)
        return {};
    const CellValue value = workbook.value(*cell);
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* number = std::get_if<double>(&value))
        return decimal(*number);
    if (const auto* logical = std::get_if<bool>(&value))
        return *logical ? "TRUE" : "FALSE";
    return {};
}

std::optional<model::Rgb> solidFill(const model::Chart& chart, std::size_t series, unsigned point)
{
    const model::PointFormat format = chart.pointFormat(series, point);
    if (format.fill.kind == model::ChartFill::Kind::Solid)
        return format.fill.colour;
    return std::nullopt;
}

class ChartContentWriter {
public:
    ChartContentWriter(const std::string& content, const model::Chart& before, const model::Chart& after,
                       const model::Workbook& workbook, const std::vector<std::string>& sheetNames)
        : content_(content), before_(before), after_(after), workbook_(workbook), sheetNames_(sheetNames)
    {
    }

    std::string write()
    {
        collect();
        planPoints();
        TagScanner scanner(content_);
        std::size_t series = 0;
        while (const std::optional<Tag> tag = scanner.next()) {
            const std::string_view text = tag->text(content_);
            if (tag->name == "office:automatic-styles" && tag->kind == Tag::Kind::End) {
                replace(*tag, newStyles_ + std::string(text));
            } else if (tag->name == "chart:plot-area" && tag->kind != Tag::Kind::End) {
                if (auto ranges = tagAttribute(text, "table:cell-range-address"))
                    replace(*tag, withAttribute(text, "table:cell-range-address", grownPlotRanges(*ranges)));
            } else if (tag->name == "chart:categories" && tag->kind != Tag::Kind::End && !after_.series.empty()) {
                if (auto categories = rangeText(after_.series.front().categories, sheetNames_))
                    replace(*tag, withAttribute(text, "table:cell-range-address", *categories));
            } else if (tag->name == "chart:series" && tag->kind != Tag::Kind::End) {
                current_ = series++;
                std::string start(text);
                if (current_ < after_.series.size()) {
                    const model::ChartSeries& grown = after_.series[current_];
                    if (auto values = rangeText(grown.values, sheetNames_))
                        start = withAttribute(start, "chart:values-cell-range-address", *values);
                    if (auto name = rangeText(grown.name, sheetNames_))
                        start = withAttribute(start, "chart:label-cell-address", *name);
                }
                if (tag->kind == Tag::Kind::Empty) {
                    start.erase(start.size() - 2, 1);
                    replace(*tag, start + addedPoints(current_) + "</chart:series>");
                } else {
                    replace(*tag, start);
                }
            } else if (tag->name == "chart:series" && tag->kind == Tag::Kind::End) {
                replace(*tag, addedPoints(current_) + std::string(text));
            } else if (tag->name == "table:table" && tag->kind != Tag::Kind::End
                       && tagAttribute(text, "table:name").value_or("") == "local-table") {
                const std::size_t end = scanner.elementEnd(*tag);
                replaceUpTo(*tag, end, localTable());
                scanner.seek(end);
            }
        }
        out_.append(content_, copied_, std::string::npos);
        return std::move(out_);
    }

private:
    void replace(const Tag& tag, const std::string& text) { replaceUpTo(tag, tag.end, text); }

    void replaceUpTo(const Tag& tag, std::size_t end, const std::string& text)
    {
        out_.append(content_, copied_, tag.begin - copied_);
        out_ += text;
        copied_ = end;
    }

    // The automatic styles by name and the data points each series has.
    void collect()
    {
        TagScanner scanner(content_);
        bool inStyles = false;
        std::size_t series = 0;
        while (const std::optional<Tag> tag = scanner.next()) {
            const std::string_view text = tag->text(content_);
            if (tag->name == "office:automatic-styles") {
                inStyles = tag->kind == Tag::Kind::Start;
            } else if (inStyles && tag->name == "style:style" && tag->kind != Tag::Kind::End) {
                const std::size_t end = scanner.elementEnd(*tag);
                if (auto name = tagAttribute(text, "style:name"))
                    styles_[*name] = content_.substr(tag->begin, end - tag->begin);
                scanner.seek(end);
            } else if (tag->name == "chart:series" && tag->kind != Tag::Kind::End) {
                current_ = series++;
                points_[current_] = 0;
            } else if (tag->name == "chart:data-point" && tag->kind != Tag::Kind::End) {
                const unsigned repeated = static_cast<unsigned>(std::clamp(std::atoi(tagAttribute(text, "chart:repeated").value_or("1").c_str()), 1, 1 << 20));
                points_[current_] += repeated;
                if (auto style = tagAttribute(text, "chart:style-name"))
                    lastPointStyle_[current_] = *style;
            }
        }
        for (const auto& [name, style] : styles_)
            used_.insert(name);
    }

    std::string freshName()
    {
        for (int k = 1;; ++k) {
            std::string name = "chAdded" + std::to_string(k);
            if (used_.insert(name).second)
                return name;
        }
    }

    // The style of an added point in a colour: the last point's style in that colour, or a plain fill.
    std::string styleIn(std::size_t series, model::Rgb colour)
    {
        const auto key = std::make_pair(series, colour);
        if (const auto found = colourStyles_.find(key); found != colourStyles_.end())
            return found->second;
        const std::string name = freshName();
        const auto pattern = styles_.find(lastPointStyle_[series]);
        if (pattern == styles_.end()) {
            newStyles_ += "<style:style style:name=\"" + name + "\" style:family=\"chart\"><style:graphic-properties draw:fill=\"solid\" draw:fill-color=\""
                + colourText(colour) + "\"/></style:style>";
        } else {
            const std::string& raw = pattern->second;
            TagScanner scanner(raw);
            std::string style;
            std::size_t copied = 0;
            bool filled = false;
            while (const std::optional<Tag> tag = scanner.next()) {
                std::string text(tag->text(raw));
                if (tag->name == "style:style" && tag->kind != Tag::Kind::End)
                    text = withAttribute(text, "style:name", name);
                else if (tag->name == "style:graphic-properties" && tag->kind != Tag::Kind::End) {
                    text = withAttribute(withAttribute(text, "draw:fill", "solid"), "draw:fill-color", colourText(colour));
                    filled = true;
                } else if (tag->name == "style:style" && tag->kind == Tag::Kind::End && !filled)
                    text = "<style:graphic-properties draw:fill=\"solid\" draw:fill-color=\"" + colourText(colour) + "\"/>" + text;
                style.append(raw, copied, tag->begin - copied);
                style += text;
                copied = tag->end;
            }
            style.append(raw, copied, std::string::npos);
            newStyles_ += style;
        }
        return colourStyles_[key] = name;
    }

    // Chooses the colours of the added points and writes their styles.
    void planPoints()
    {
        for (std::size_t series = 0; series < after_.series.size() && after_.drawsPies(); ++series) {
            // The points the fill noted, or else (when they were taken for colouring already) those beyond
            // the points the series had.
            const unsigned count = pointCount(after_.series[series]);
            const unsigned had = series < before_.series.size() ? pointCount(before_.series[series]) : 0;
            const auto noted = after_.addedPoints.find(series);
            const unsigned firstAdded = noted != after_.addedPoints.end() ? noted->second : had;
            if (firstAdded >= count)
                continue;
            const unsigned existing = points_.count(series) ? points_[series] : 0;
            std::string points;
            if (existing < firstAdded && firstAdded < count)
                points += "<chart:data-point" + std::string(firstAdded - existing > 1 ? " chart:repeated=\"" + std::to_string(firstAdded - existing) + "\"" : "") + "/>";
            const std::optional<model::Rgb> firstFill = solidFill(before_, series, 0);
            const model::Rgb none = 0xFF000000; // no colour a point can have
            const model::Rgb first = firstFill.value_or(none);
            model::Rgb previous = firstAdded > 0 ? solidFill(before_, series, firstAdded - 1).value_or(none) : none;
            for (unsigned point = std::max(existing, firstAdded); point < count; ++point) {
                model::Rgb chosen = PointColours[point % PointColours.size()];
                for (std::size_t k = 0; k < PointColours.size(); ++k) {
                    const model::Rgb candidate = PointColours[(point + k) % PointColours.size()];
                    if (candidate == previous || (point + 1 == count && candidate == first && point > 0))
                        continue;
                    chosen = candidate;
                    break;
                }
                points += "<chart:data-point chart:style-name=\"" + styleIn(series, chosen) + "\"/>";
                previous = chosen;
            }
            added_[series] = std::move(points);
        }
    }

    std::string addedPoints(std::size_t series) const
    {
        const auto found = added_.find(series);
        return found == added_.end() ? std::string() : found->second;
    }

    // The plot area's ranges, each that ended where the first series' values did ending where they end now.
    std::string grownPlotRanges(const std::string& ranges) const
    {
        if (before_.series.empty() || after_.series.empty() || !before_.series.front().values || !after_.series.front().values)
            return ranges;
        const int oldLast = before_.series.front().values->range.lastRow;
        const int newLast = after_.series.front().values->range.lastRow;
        const std::optional<std::vector<RangeAddress>> addresses = rangeAddresses(QString::fromStdString(ranges));
        if (!addresses)
            return ranges;
        std::string text;
        for (RangeAddress address : *addresses) {
            if (address.range.lastRow == oldLast)
                address.range.lastRow = newLast;
            text += (text.empty() ? "" : " ") + odfRangeAddress(address.sheet, address.range);
        }
        return text;
    }

    std::string localTable() const
    {
        const std::size_t columns = after_.series.size();
        std::string table = "<table:table table:name=\"local-table\"><table:table-header-columns><table:table-column/></table:table-header-columns>"
                            "<table:table-columns><table:table-column";
        if (columns > 1)
            table += " table:number-columns-repeated=\"" + std::to_string(columns) + "\"";
        table += "/></table:table-columns><table:table-header-rows><table:table-row><table:table-cell><text:p/></table:table-cell>";
        std::vector<std::vector<const model::Cell*>> values;
        std::size_t rows = 0;
        for (const model::ChartSeries& series : after_.series) {
            const std::vector<const model::Cell*> names = cellsOf(workbook_, series.name);
            const std::string name = names.empty() ? series.nameText : shownText(workbook_, names.front());
            table += "<table:table-cell office:value-type=\"string\"><text:p>" + escaped(name) + "</text:p>";
            if (auto range = rangeText(series.name, sheetNames_))
                table += "<draw:g><svg:desc>" + escaped(*range) + "</svg:desc></draw:g>";
            table += "</table:table-cell>";
            values.push_back(cellsOf(workbook_, series.values));
            rows = std::max(rows, values.back().size());
        }
        table += "</table:table-row></table:table-header-rows><table:table-rows>";
        const std::vector<const model::Cell*> categories = after_.series.empty() ? std::vector<const model::Cell*>()
                                                                                 : cellsOf(workbook_, after_.series.front().categories);
        for (std::size_t row = 0; row < rows; ++row) {
            table += "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>"
                + escaped(shownText(workbook_, row < categories.size() ? categories[row] : nullptr)) + "</text:p>";
            if (row == 0 && !after_.series.empty())
                if (auto range = rangeText(after_.series.front().categories, sheetNames_))
                    table += "<draw:g><svg:desc>" + escaped(*range) + "</svg:desc></draw:g>";
            table += "</table:table-cell>";
            for (std::size_t s = 0; s < columns; ++s) {
                const model::Cell* cell = row < values[s].size() ? values[s][row] : nullptr;
                const std::optional<double> number = cell ? cell->number() : std::nullopt;
                if (number && std::isfinite(*number))
                    table += "<table:table-cell office:value-type=\"float\" office:value=\"" + decimal(*number) + "\"><text:p>" + decimal(*number) + "</text:p>";
                else
                    table += "<table:table-cell office:value-type=\"float\" office:value=\"NaN\"><text:p>1.#NAN</text:p>";
                if (row == 0)
                    if (auto range = rangeText(after_.series[s].values, sheetNames_))
                        table += "<draw:g><svg:desc>" + escaped(*range) + "</svg:desc></draw:g>";
                table += "</table:table-cell>";
            }
            table += "</table:table-row>";
        }
        return table + "</table:table-rows></table:table>";
    }

    const std::string& content_;
    const model::Chart& before_;
    const model::Chart& after_;
    const model::Workbook& workbook_;
    const std::vector<std::string>& sheetNames_;
    std::string out_;
    std::size_t copied_ = 0;
    std::size_t current_ = 0;
    std::map<std::string, std::string> styles_;
    std::set<std::string> used_;
    std::map<std::size_t, unsigned> points_;
    std::map<std::size_t, std::string> lastPointStyle_;
    std::map<std::pair<std::size_t, model::Rgb>, std::string> colourStyles_;
    std::map<std::size_t, std::string> added_;
    std::string newStyles_;
};

} // namespace

std::string changedChartContent(const std::string& content, const model::Chart& before, const model::Chart& after,
                                const model::Workbook& workbook, const std::vector<std::string>& sheetNames)
{
    return ChartContentWriter(content, before, after, workbook, sheetNames).write();
}

std::string chartRangeList(const model::Chart& chart, const std::vector<std::string>& sheetNames)
{
    std::string list;
    for (const model::ChartSeries& series : chart.series)
        for (const auto* reference : {&series.categories, &series.name, &series.values})
            if (auto text = rangeText(*reference, sheetNames))
                list += (list.empty() ? "" : " ") + *text;
    return list;
}

} // namespace sheet::ods
