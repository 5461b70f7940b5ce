#include "WorkbookDump.h"
#include "ListingBuffer.h"

#include "sheet/format/DecimalDigits.h"
#include "sheet/format/NumberFormat.h"
#include "sheet/model/A1Notation.h"
#include "sheet/model/Workbook.h"

#include <cctype>
#include <unordered_map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace tools {

namespace {

using namespace sheet::model;

// The text with tabs and line breaks written as \t, \n and \r.
std::string escaped(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\t': result += "\\t"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        default: result += c;
        }
    }
    return result;
}

std::string sheetPrefix(const std::string& name)
{
    bool plain = !name.empty();
    for (unsigned char c : name)
        plain = plain && (std::isalnum(c) || c == '_' || c == '.' || c >= 0x80);
    if (plain)
        return name + "!";
    std::string quoted = "'";
    for (char c : name)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'!";
}

std::string referenceText(const Workbook& workbook, const std::optional<RangeReference>& reference)
{
    if (!reference)
        return "none";
    const bool known = reference->sheet >= 0 && reference->sheet < static_cast<int>(workbook.sheets.size());
    return (known ? sheetPrefix(workbook.sheets[reference->sheet].name) : std::string()) +
           rangeAddress(reference->range);
}

const char* kindName(SheetKind kind)
{
    switch (kind) {
    case SheetKind::Worksheet: return "worksheet";
    case SheetKind::Chart: return "chart";
    case SheetKind::Macro: return "macro";
    case SheetKind::Other: break;
    }
    return "other";
}

// Each cell format's number format, its code escaped for the listing and read once; the format is
// nullptr for a code the formatter cannot read.
class FormatCache {
public:
    struct Format {
        std::string escapedCode;
        std::unique_ptr<const sheet::format::NumberFormat> format;
    };

    explicit FormatCache(const Workbook& workbook) : workbook_(workbook) {}

    const Format& of(int xf)
    {
        // The cells of a column or a row mostly share their format.
        if (last_ && xf == lastXf_)
            return *last_;
        auto found = formats_.find(xf);
        if (found == formats_.end()) {
            const std::string code = workbook_.formatCode(xf);
            Format format{escaped(code), nullptr};
            try {
                format.format = std::make_unique<const sheet::format::NumberFormat>(code);
            } catch (const std::exception&) {
                // The listing then shows the stored value.
            }
            found = formats_.emplace(xf, std::move(format)).first;
        }
        lastXf_ = xf;
        last_ = &found->second;
        return found->second;
    }

private:
    const Workbook& workbook_;
    std::unordered_map<int, Format> formats_;
    int lastXf_ = 0;
    const Format* last_ = nullptr;
};

// The value as its number format shows it, or `stored` when the format cannot show it: numbers and
// texts only, other values as they are.
template <typename Value>
void addShown(ListingBuffer& line, const Value& value, const sheet::format::NumberFormat* format,
              std::string_view stored)
{
    if (format) {
        try {
            thread_local std::string shown;
            shown.clear();
            format->appendText(shown, value);
            line.addEscaped(shown);
            return;
        } catch (const std::exception&) {
            // A value the formatter cannot show: the listing still shows the stored value.
        }
    }
    line.addEscaped(stored);
}

// A cell's line from its kind onwards: kind, value, format code and the value as the format shows it.
void addValue(ListingBuffer& line, const Workbook& workbook, const Cell& cell, const FormatCache::Format& format)
{
    const auto addFields = [&](std::string_view kind, std::string_view stored) {
        line.add(kind);
        line.add('\t');
        line.addEscaped(stored);
        line.add('\t');
        line.add(format.escapedCode);
        line.add('\t');
    };
    switch (cell.kind()) {
    case Cell::Kind::Number: {
        const double number = *cell.number();
        char buffer[32];
        const std::string_view stored(
            buffer, static_cast<std::size_t>(sheet::format::shortestText(buffer, buffer + sizeof buffer, number).ptr - buffer));
        addFields("number", stored);
        addShown(line, number, format.format.get(), stored);
        return;
    }
    case Cell::Kind::SharedText:
    case Cell::Kind::Text: {
        const CellValue held = workbook.value(cell);
        const std::string& text = std::get<std::string>(held);
        addFields("text", text);
        addShown(line, std::string_view(text), format.format.get(), text);
        return;
    }
    case Cell::Kind::Logical: {
        const char* stored = cell.logical() ? "TRUE" : "FALSE";
        addFields("logical", stored);
        line.add(stored);
        return;
    }
    case Cell::Kind::Error:
    case Cell::Kind::Empty: {
        const char* stored = errorText(cell.error());
        addFields("error", stored);
        line.add(stored);
        return;
    }
    }
}

void writeCells(const Workbook& workbook, const Sheet& sheet, FormatCache& formats, std::ostream& output)
{
    ListingBuffer listing(output);
    for (const auto& [address, cell] : sheet.cells) {
        if (cell.isEmpty())
            continue;
        listing.add("cell\t");
        listing.advance(writeCellAddress(listing.room(CellAddressSize), address.row, address.column));
        listing.add('\t');
        if (cell.hasFormula())
            listing.add("formula:");
        addValue(listing, workbook, cell, formats.of(cell.xf));
        listing.add('\n');
    }
    listing.flush();
}

bool isPie(const Chart& chart)
{
    return chart.type() == ChartType::Pie || chart.type() == ChartType::Doughnut;
}

void writeCharts(const Workbook& workbook, const Sheet& sheet, std::ostream& output)
{
    int chartNumber = 0;
    for (const Chart& chart : sheet.charts) {
        output << "chart\t" << ++chartNumber << '\t' << (isPie(chart) ? "pie" : "other") << '\t'
               << (chart.threeD() ? "3-D" : "2-D") << '\n';
        int seriesNumber = 0;
        for (const ChartSeries& series : chart.series)
            output << "series\t" << ++seriesNumber << "\tname=" << escaped(referenceText(workbook, series.name))
                   << "\tvalues=" << escaped(referenceText(workbook, series.values))
                   << "\tcategories=" << escaped(referenceText(workbook, series.categories)) << '\n';
    }
}

}  // namespace

void writeWorkbookDump(const Workbook& workbook, const std::string& activeUsedRange, std::ostream& output)
{
    FormatCache formats(workbook);
    int number = 0;
    for (const Sheet& sheet : workbook.sheets) {
        const bool active = number == workbook.activeSheet;
        output << "sheet\t" << ++number << '\t' << escaped(sheet.name) << '\t' << kindName(sheet.kind)
               << (active ? "\tactive" : "") << (sheet.visible ? "" : "\thidden") << '\n';
        if (number - 1 == workbook.activeWorksheet())
            output << "used\t" << activeUsedRange << '\n';
        writeCells(workbook, sheet, formats, output);
        writeCharts(workbook, sheet, output);
    }
}

}  // namespace tools
