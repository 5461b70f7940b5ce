#include "sheet/edit/CellEditing.h"

#include "sheet/Errors.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/edit/ChartRanges.h"
#include "sheet/edit/FormulaCells.h"
#include "sheet/input/TypedInput.h"
#include "sheet/text/Utf16.h"

#include <algorithm>

namespace sheet::edit {
namespace {

constexpr int RowCount = 65536;
constexpr int ColumnCount = 256;
constexpr std::size_t MaxTextLength = 32767;
constexpr int PercentFormat = 9;
constexpr int PercentWithDecimalsFormat = 10;
constexpr std::size_t UsedNumberFormatByte = 9;
constexpr std::uint8_t UsedNumberFormatBit = 0x04;

// Marks the sheet changed. Its cell table is written anew from its cells from now on, so the cell
// records it came with, which may be as large as the file, are let go.
void markChanged(model::Sheet& sheet)
{
    if (sheet.modified)
        return;
    sheet.modified = true;
    if (sheet.kind != model::SheetKind::Worksheet)
        return;
    biff::forEachSheetRecord(sheet.records, [&sheet](std::size_t i) {
        if (sheet.records[i].run)
            std::vector<std::uint8_t>().swap(sheet.records[i].bytes);
        return false;
    });
}

int addFormat(model::Workbook& workbook, const std::string& code)
{
    if (auto existing = workbook.formats.find(code))
        return *existing;
    int index = model::FirstCustomFormat;
    if (!workbook.formats.codes.empty())
        index = std::max(index, workbook.formats.codes.rbegin()->first + 1);
    if (index > 0xFFFF)
        throw ArgumentError("the workbook has no room for another number format");
    workbook.formats.codes[index] = code;
    workbook.addedFormats.push_back(index);
    workbook.modified = true;
    return index;
}

// An XF like `source` but with `formatIndex`: an existing one, or a new copy.
int xfWithFormat(model::Workbook& workbook, int source, int formatIndex)
{
    const model::Xf* base = workbook.xf(source);
    if (!base)
        throw FormatError("damaged workbook: a cell refers to a missing cell format (XF " + std::to_string(source) + ")");
    if (base->formatIndex == formatIndex)
        return source;
    model::Xf copy = *base;
    copy.formatIndex = formatIndex;
    copy.raw[2] = static_cast<std::uint8_t>(formatIndex);
    copy.raw[3] = static_cast<std::uint8_t>(formatIndex >> 8);
    copy.raw[UsedNumberFormatByte] |= UsedNumberFormatBit;
    for (std::size_t i = 0; i < workbook.xfs.size(); ++i)
        if (workbook.xfs[i].raw == copy.raw)
            return static_cast<int>(i);
    workbook.xfs.push_back(copy);
    workbook.modified = true;
    return static_cast<int>(workbook.xfs.size() - 1);
}

} // namespace

void checkPosition(int row, int column)
{
    if (row < 0 || row >= RowCount)
        throw ArgumentError("row " + std::to_string(row + 1) + " lies outside the sheet (rows 1 to 65536)");
    if (column < 0 || column >= ColumnCount)
        throw ArgumentError("column " + std::to_string(column + 1) + " lies outside the sheet (columns 1 to 256)");
}

model::Sheet& worksheet(model::Workbook& workbook, int sheetIndex)
{
    if (sheetIndex < 0 || static_cast<std::size_t>(sheetIndex) >= workbook.sheets.size())
        throw ArgumentError("the workbook has no sheet " + std::to_string(sheetIndex + 1));
    model::Sheet& sheet = workbook.sheets[static_cast<std::size_t>(sheetIndex)];
    if (sheet.kind != model::SheetKind::Worksheet)
        throw ArgumentError("the sheet \"" + sheet.name + "\" is not a worksheet");
    return sheet;
}

int cellXf(const model::Sheet& sheet, int row, int column)
{
    if (const model::Cell* cell = sheet.cell(row, column))
        return cell->xf;
    auto rowInfo = sheet.rows.find(row);
    if (rowInfo != sheet.rows.end() && rowInfo->second.xf)
        return *rowInfo->second.xf;
    for (const model::ColumnInfo& info : sheet.columns)
        if (column >= info.first && column <= info.last)
            return info.xf;
    return model::DefaultCellXf;
}

void writeCellText(model::Workbook& workbook, int sheetIndex, int row, int column, std::string_view text,
                   const NumberLocale& locale)
{
    checkPosition(row, column);
    model::Sheet& sheet = worksheet(workbook, sheetIndex);
    TypedInput input = readTypedInput(text, locale);
    // A text never has more UTF-16 units than UTF-8 bytes, so most texts need no counting.
    if (auto* string = std::get_if<std::string>(&input.value);
        string && string->size() > MaxTextLength && sheet::text::toUtf16(*string).size() > MaxTextLength)
        throw ArgumentError("the text is longer than a cell can hold (32,767 characters)");
    const model::CellAddress at{row, column};
    releaseFormulaCell(sheet, at);
    markChanged(sheet);
    if (std::holds_alternative<std::monostate>(input.value)) {
        if (sheet.cells.find(at) != sheet.cells.end()) {
            sheet.formulas.erase(at);
            model::Cell& cell = sheet.cells[at];
            workbook.setValue(cell, std::monostate{});
            cell.setHasFormula(false);
            if (cell.xf == model::DefaultCellXf)
                sheet.cells.erase(at);
        }
        extendChartRanges(workbook, sheetIndex, row, column);
        return;
    }
    const int xf = cellXf(sheet, row, column);
    model::Cell& cell = sheet.cells[at];
    workbook.setValue(cell, std::move(input.value));
    cell.setHasFormula(false);
    sheet.formulas.erase(at);
    cell.xf = xf;
    if (input.percent && workbook.formatCode(xf) == "General")
        cell.xf = xfWithFormat(workbook, xf, input.decimals ? PercentWithDecimalsFormat : PercentFormat);
    extendChartRanges(workbook, sheetIndex, row, column);
}

void setCellNumberFormat(model::Workbook& workbook, int sheetIndex, int row, int column, std::string_view code)
{
    checkPosition(row, column);
    model::Sheet& sheet = worksheet(workbook, sheetIndex);
    if (code.empty())
        throw ArgumentError("a number format cannot be empty");
    const std::string utf8 = text::toUtf8(text::toUtf16(code));
    if (text::toUtf16(utf8).size() > 255)
        throw ArgumentError("the number format is longer than 255 characters");
    const int formatIndex = addFormat(workbook, utf8);
    const model::CellAddress at{row, column};
    const model::Cell* found = sheet.cell(row, column);
    const int xf = xfWithFormat(workbook, found ? found->xf : cellXf(sheet, row, column), formatIndex);
    sheet.cells[at].xf = static_cast<std::uint16_t>(xf);
    markChanged(sheet);
}

model::CellRange usedRange(const model::Sheet& sheet) { return sheet.usedRange().value_or(model::CellRange{}); }

} // namespace sheet::edit
