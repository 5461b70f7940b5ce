#include "sheet/ods/OdsPackage.h"

#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"
#include "sheet/ods/ChangedChart.h"
#include "sheet/ods/ChangedContent.h"

namespace sheet::ods {
namespace {

constexpr std::string_view SpreadsheetType = "application/vnd.oasis.opendocument.spreadsheet";
constexpr std::string_view TemplateType = "application/vnd.oasis.opendocument.spreadsheet-template";

std::string replacedAll(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

bool sameRange(const std::optional<model::RangeReference>& a, const std::optional<model::RangeReference>& b)
{
    return a.has_value() == b.has_value() && (!a || (a->sheet == b->sheet && a->range == b->range));
}

// Whether a changed row of the sheet lies in one of the chart's ranges.
bool cellsChanged(const model::Chart& chart, const ChangedRows& rows, int sheet)
{
    for (const model::ChartSeries& series : chart.series)
        for (const auto* reference : {&series.values, &series.categories, &series.name})
            if (*reference && (*reference)->sheet == sheet) {
                const auto changed = rows.lower_bound((*reference)->range.firstRow);
                if (changed != rows.end() && changed->first <= (*reference)->range.lastRow)
                    return true;
            }
    return false;
}

bool grew(const model::Chart& before, const model::Chart& after)
{
    if (!after.addedPoints.empty() || before.series.size() != after.series.size())
        return true;
    for (std::size_t k = 0; k < before.series.size(); ++k) {
        const model::ChartSeries& a = before.series[k];
        const model::ChartSeries& b = after.series[k];
        if (!sameRange(a.values, b.values) || !sameRange(a.categories, b.categories) || !sameRange(a.name, b.name))
            return true;
    }
    return false;
}

} // namespace

std::vector<std::uint8_t> changedOdsBytes(const OdsPackage& source, const model::Workbook& workbook)
{
    ContentChange change;
    change.before = &source.workbook;
    change.after = &workbook;
    change.cellStyles = &source.cellStyles;
    change.rows = changedCells(source.workbook, workbook);

    std::vector<std::string> sheetNames;
    for (const model::Sheet& sheet : workbook.sheets)
        sheetNames.push_back(sheet.name);
    std::map<std::string, std::string> charts; // folder/content.xml -> its new content
    for (const ChartObjectSource& object : source.charts) {
        const auto sheet = static_cast<std::size_t>(object.sheet);
        if (sheet >= workbook.sheets.size() || object.chart >= workbook.sheets[sheet].charts.size())
            continue;
        const model::Chart& before = source.workbook.sheets[sheet].charts[object.chart];
        const model::Chart& after = workbook.sheets[sheet].charts[object.chart];
        bool changed = false;
        for (std::size_t k = 0; k < change.rows.size() && !changed; ++k)
            changed = cellsChanged(after, change.rows[k], static_cast<int>(k));
        if (grew(before, after)) {
            // The link to the object, as the frames may spell it.
            for (const std::string& link : {"./" + object.folder, object.folder, object.folder + "/", "./" + object.folder + "/"})
                change.chartRanges[link] = chartRangeList(after, sheetNames);
        } else if (!changed) {
            continue;
        }
        const std::string part = object.folder + "/content.xml";
        for (const zip::ZipEntry& entry : source.parts)
            if (entry.name == part)
                charts[part] = changedChartContent(entry.bytes, before, after, workbook, sheetNames);
    }

    std::vector<zip::ZipEntry> parts;
    parts.reserve(source.parts.size());
    for (const zip::ZipEntry& entry : source.parts) {
        if (source.flat) {
            std::string document = changedContent(entry.bytes, change);
            if (source.isTemplate)
                document = replacedAll(std::move(document), std::string("\"") + std::string(TemplateType) + "\"",
                                       std::string("\"") + std::string(SpreadsheetType) + "\"");
            return std::vector<std::uint8_t>(document.begin(), document.end());
        }
        if (entry.name == "content.xml") {
            parts.push_back({entry.name, changedContent(entry.bytes, change), entry.stored});
        } else if (const auto chart = charts.find(entry.name); chart != charts.end()) {
            parts.push_back({entry.name, chart->second, entry.stored});
        } else if (source.isTemplate && entry.name == "mimetype") {
            parts.push_back({entry.name, std::string(SpreadsheetType), true});
        } else if (source.isTemplate && entry.name == "META-INF/manifest.xml") {
            parts.push_back({entry.name, replacedAll(entry.bytes, std::string("\"") + std::string(TemplateType) + "\"",
                                                     std::string("\"") + std::string(SpreadsheetType) + "\""),
                             entry.stored});
        } else {
            parts.push_back(entry);
        }
    }
    return zip::zipArchive(parts);
}

void saveChangedOds(const OdsPackage& source, const model::Workbook& workbook, const std::string& path, biff::SaveTarget target)
{
    const std::vector<std::uint8_t> bytes = changedOdsBytes(source, workbook);
    if (target == biff::SaveTarget::ChosenFile)
        io::writeChosenFile(path, bytes);
    else
        io::writeFileAtomically(path, bytes);
}

} // namespace sheet::ods
