#include "sheet/xlsx/WorksheetPart.h"

#include "sheet/biff/MergedCells.h"
#include "sheet/biff/SheetFilter.h"
#include "sheet/biff/SheetSettings.h"
#include "sheet/model/A1Notation.h"
#include "sheet/xlsx/FormulaElements.h"
#include "sheet/xlsx/DataValidations.h"
#include "sheet/xlsx/SheetSettingsXml.h"
#include "sheet/xlsx/XmlPart.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

namespace sheet::xlsx {
namespace {

constexpr std::uint16_t CustomDefaultHeight = 0x0001;
constexpr int TwipsPerPoint = 20;

void writeFormat(XmlPart& xml, const model::Sheet& sheet)
{
    xml.empty("sheetFormatPr");
    if (sheet.defaultColumnWidth != 8)
        xml.attribute("baseColWidth", sheet.defaultColumnWidth);
    if (sheet.standardWidth.value_or(0) > 0)
        xml.attribute("defaultColWidth", *sheet.standardWidth / 256.0);
    xml.attribute("defaultRowHeight", static_cast<double>(sheet.defaultRowHeight) / TwipsPerPoint);
    if (sheet.defaultRowFlags & CustomDefaultHeight)
        xml.attribute("customHeight", 1);
    if (sheet.defaultRowsHidden)
        xml.attribute("zeroHeight", 1);
}

void writeColumns(XmlPart& xml, const model::Sheet& sheet, const StyleTable& styles)
{
    if (sheet.columns.empty())
        return;
    xml.start("cols");
    for (const model::ColumnInfo& info : sheet.columns) {
        xml.empty("col");
        xml.attribute("min", info.first + 1);
        xml.attribute("max", info.last + 1);
        xml.attribute("width", info.width / 256.0);
        if (styles.style(info.xf) != 0)
            xml.attribute("style", styles.style(info.xf));
        if (info.hidden())
            xml.attribute("hidden", 1);
        if (info.options & model::ColumnInfo::UserSetWidth)
            xml.attribute("customWidth", 1);
    }
    xml.end();
}

void startRow(XmlPart& xml, int row, const model::RowInfo* info, const StyleTable& styles)
{
    xml.start("row");
    xml.attribute("r", row + 1);
    if (!info)
        return;
    if (info->xf) {
        xml.attribute("s", styles.style(*info->xf));
        xml.attribute("customFormat", 1);
    }
    xml.attribute("ht", static_cast<double>(info->height) / TwipsPerPoint);
    if (info->customHeight)
        xml.attribute("customHeight", 1);
    if (info->hidden)
        xml.attribute("hidden", 1);
}

void writeCell(XmlPart& xml, const model::Workbook& workbook, const model::CellAddress& at, const model::Cell& cell,
               const WorksheetContext& context)
{
    const CellValue value = workbook.value(cell);
    const std::optional<formula::CellFormula> formula =
        cell.hasFormula() && context.formulas ? context.formulas->at(at) : std::nullopt;
    const bool isEmpty = std::holds_alternative<std::monostate>(value) && !formula;
    if (isEmpty)
        xml.empty("c");
    else
        xml.start("c");
    xml.attribute("r", model::cellAddress(at.row, at.column));
    if (const int style = context.styles.style(cell.xf))
        xml.attribute("s", style);
    if (isEmpty)
        return;
    if (formula) {
        writeFormulaCell(xml, *formula, value);
        xml.end();
        return;
    }
    if (const double* number = std::get_if<double>(&value); number && !std::isfinite(*number)) {
        // Not a number and the infinities have no place in the format: they are the error they stand for.
        xml.attribute("t", "e");
        xml.text("v", model::errorText(ErrorCode::Number));
    } else if (number) {
        xml.text("v", numberText(*number));
    } else if (const std::string* text = std::get_if<std::string>(&value)) {
        xml.attribute("t", "s");
        const bool rich = cell.kind() == model::Cell::Kind::SharedText && cell.textIndex() < workbook.sharedStrings.size()
                          && !workbook.sharedStrings[cell.textIndex()].runs.empty();
        xml.text("v", std::to_string(rich ? context.strings.richIndex(cell.textIndex()) : context.strings.index(*text)));
    } else if (const bool* logical = std::get_if<bool>(&value)) {
        xml.attribute("t", "b");
        xml.text("v", *logical ? "1" : "0");
    } else {
        xml.attribute("t", "e");
        xml.text("v", model::errorText(std::get<ErrorCode>(value)));
    }
    xml.end();
}

// The rows in order, each with its cells: a row is written when it has cells or a row record.
void writeSheetData(XmlPart& xml, const model::Workbook& workbook, const model::Sheet& sheet,
                    const WorksheetContext& context)
{
    xml.start("sheetData");
    auto info = sheet.rows.begin();
    auto cell = sheet.cells.begin();
    while (info != sheet.rows.end() || cell != sheet.cells.end()) {
        const int infoRow = info != sheet.rows.end() ? info->first : std::numeric_limits<int>::max();
        const int cellRow = cell != sheet.cells.end() ? cell->first.row : std::numeric_limits<int>::max();
        const int row = std::min(infoRow, cellRow);
        startRow(xml, row, infoRow == row ? &info->second : nullptr, context.styles);
        // A blank cell of the default format says nothing that its absence does not.
        for (; cell != sheet.cells.end() && cell->first.row == row; ++cell)
            if (!cell->second.isEmpty() || cell->second.hasFormula() || context.styles.style(cell->second.xf) != 0)
                writeCell(xml, workbook, cell->first, cell->second, context);
        xml.end();
        if (infoRow == row)
            ++info;
    }
    xml.end();
}

void writeMergedCells(XmlPart& xml, const model::Sheet& sheet)
{
    const std::vector<model::CellRange> areas = biff::mergedCells(sheet);
    if (areas.empty())
        return;
    xml.start("mergeCells");
    xml.attribute("count", static_cast<long long>(areas.size()));
    for (const model::CellRange& area : areas) {
        xml.empty("mergeCell");
        xml.attribute("ref", model::rangeAddress(area));
    }
    xml.end();
}

} // namespace

std::string worksheetPart(const model::Workbook& workbook, const model::Sheet& sheet, const WorksheetContext& context)
{
    XmlPart xml("worksheet", {{"", "http://schemas.openxmlformats.org/spreadsheetml/2006/main"},
                              {"r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"}});
    const biff::SheetSettings settings = biff::readSheetSettings(workbook, sheet);
    writeSheetProperties(xml, settings);
    xml.empty("dimension");
    xml.attribute("ref", model::rangeAddress(sheet.usedRange().value_or(model::CellRange{})));
    writeSheetView(xml, settings, context.active);
    writeFormat(xml, sheet);
    writeColumns(xml, sheet, context.styles);
    writeSheetData(xml, workbook, sheet, context);
    writeSheetProtection(xml, settings);
    if (const auto filter = biff::readSheetFilter(workbook, context.sheetIndex)) {
        xml.empty("autoFilter");
        xml.attribute("ref", model::rangeAddress(filter->range));
    }
    writeMergedCells(xml, sheet);
    if (context.differentialStyles && context.conditionalPriority)
        writeConditionalFormats(xml, biff::readConditionalFormats(workbook, sheet), *context.differentialStyles,
                                *context.conditionalPriority, context.formulas);
    writeDataValidations(xml, biff::readValidations(workbook, sheet), context.formulas);
    if (context.hyperlinks)
        writeHyperlinks(xml, *context.hyperlinks);
    writePageSetup(xml, settings);
    if (context.hasDrawing) {
        xml.empty("drawing");
        xml.attribute("r:id", "rId1");
    }
    if (!context.legacyDrawing.empty()) {
        xml.empty("legacyDrawing");
        xml.attribute("r:id", context.legacyDrawing);
    }
    return xml.finish();
}

} // namespace sheet::xlsx
