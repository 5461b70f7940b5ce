#include "WorkbookDump.h"

#include "sheet/format/NumberFormat.h"
#include "sheet/model/A1Notation.h"
#include "sheet/model/Workbook.h"

#include <cctype>
#include <charconv>
#include <unordered_map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace tools {

namespace {

using namespace sheet::model;

void appendEscaped(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

std::string escaped(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    appendEscaped(result, text);
    return result;
}

std::string numberText(double value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
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

struct ValueText {
    const char* kind;
    std::string raw;
};

ValueText valueText(const CellValue& value)
{
    if (const auto* number = std::get_if<double>(&value))
        return {"number", numberText(*number)};
    if (const auto* text = std::get_if<std::string>(&value))
        return {"text", *text};
    if (const auto* logical = std::get_if<bool>(&value))
        return {"logical", *logical ? "TRUE" : "FALSE"};
    return {"error", errorText(std::get<ErrorCode>(value))};
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
        return found->second;
    }

private:
    const Workbook& workbook_;
    std::unordered_map<int, Format> formats_;
};

// The value as its number format shows it; numbers and texts only, other values as they are.
std::string shownText(const CellValue& value, const sheet::format::NumberFormat* format, const std::string& raw)
{
    try {
        if (format) {
            if (const auto* number = std::get_if<double>(&value))
                return format->format(*number).text();
            if (const auto* text = std::get_if<std::string>(&value))
                return format->format(*text).text();
        }
    } catch (const std::exception&) {
        // A value the formatter cannot show: the listing still shows the stored value.
    }
    return raw;
}

// The listing of millions of cells is built in a buffer that goes to the stream in large pieces.
void writeCells(const Workbook& workbook, const Sheet& sheet, FormatCache& formats, std::ostream& output)
{
    constexpr std::size_t Piece = 1 << 20;
    std::string buffer;
    buffer.reserve(Piece + 4096);
    for (const auto& [address, cell] : sheet.cells) {
        if (cell.isEmpty())
            continue;
        const CellValue held = workbook.value(cell);
        const ValueText value = valueText(held);
        const FormatCache::Format& format = formats.of(cell.xf);
        buffer += "cell\t";
        buffer += cellAddress(address.row, address.column);
        buffer += '\t';
        if (cell.hasFormula())
            buffer += "formula:";
        buffer += value.kind;
        buffer += '\t';
        appendEscaped(buffer, value.raw);
        buffer += '\t';
        buffer += format.escapedCode;
        buffer += '\t';
        appendEscaped(buffer, shownText(held, format.format.get(), value.raw));
        buffer += '\n';
        if (buffer.size() >= Piece) {
            output.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    }
    output.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

void writeCharts(const Workbook& workbook, const Sheet& sheet, std::ostream& output)
{
    int chartNumber = 0;
    for (const Chart& chart : sheet.charts) {
        output << "chart\t" << ++chartNumber << '\t' << (chart.type == ChartType::Pie ? "pie" : "other") << '\t'
               << (chart.threeD ? "3-D" : "2-D") << '\n';
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
