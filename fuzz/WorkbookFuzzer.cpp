// Opens any bytes as a workbook, walks every sheet, cell and chart, edits a cell and saves, also as an
// Excel workbook (.xlsx). A damaged input, or one the .xlsx cannot hold, must end in a FormatError;
// anything else (another exception, a crash, a hang) is a finding.
#include "sheet/Errors.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/xlsx/XlsxFile.h"

#include <cstddef>
#include <cstdint>

namespace {

std::size_t walk(const sheet::model::Workbook& workbook)
{
    std::size_t seen = 0;
    for (const sheet::model::Sheet& sheet : workbook.sheets) {
        for (const auto& [at, cell] : sheet.cells)
            seen += workbook.formatCode(cell.xf).size() + static_cast<std::size_t>(at.column);
        for (const sheet::model::Chart& chart : sheet.charts)
            seen += chart.records.size() + chart.series.size();
        for (const sheet::model::DrawingObject& drawing : sheet.drawings)
            seen += static_cast<std::size_t>(drawing.anchor.col2);
        seen += static_cast<std::size_t>(sheet::edit::usedRange(sheet).lastRow);
    }
    return seen;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        sheet::biff::WorkbookFile file = sheet::biff::readWorkbookFile({data, size});
        walk(file.workbook);
        for (std::size_t s = 0; s < file.workbook.sheets.size(); ++s) {
            if (file.workbook.sheets[s].kind != sheet::model::SheetKind::Worksheet)
                continue;
            const int index = static_cast<int>(s);
            sheet::edit::writeCellText(file.workbook, index, 9, 0, "fuzz", sheet::NumberLocale{});
            sheet::edit::writeCellText(file.workbook, index, 9, 1, "12.5", sheet::NumberLocale{});
            sheet::edit::setCellNumberFormat(file.workbook, index, 9, 1, "0.00");
        }
        const sheet::biff::WorkbookFile again = sheet::biff::readWorkbookFile(sheet::biff::workbookFileBytes(file));
        walk(again.workbook);
        sheet::xlsx::xlsxBytes(again.workbook);
    } catch (const sheet::FormatError&) {
    } catch (const sheet::PartialRangeError&) {
    }
    return 0;
}
