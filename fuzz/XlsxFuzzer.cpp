// Reads any bytes as a SpreadsheetML package, fills the active sheet as the chart build does, writes the
// changed package and reads it back. A damaged input must end in a FormatError; anything else (another
// exception, a crash, a hang) is a finding.
#include "sheet/Errors.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/xlsx/XlsxPackage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const sheet::xlsx::XlsxPackage package = sheet::xlsx::readXlsxPackage({data, data + size});
        sheet::model::Workbook workbook = package.workbook;
        const int active = workbook.activeWorksheet();
        if (active >= 0) {
            for (int row = 3; row < 12; ++row) {
                sheet::edit::writeCellText(workbook, active, row, 0, "fuzz", sheet::NumberLocale{});
                sheet::edit::writeCellText(workbook, active, row, 1, "12.5", sheet::NumberLocale{});
                sheet::edit::setCellNumberFormat(workbook, active, row, 1, "0.00");
            }
        }
        const std::vector<sheet::zip::ZipEntry> parts = sheet::xlsx::changedXlsxParts(package, workbook);
        sheet::xlsx::readXlsxPackage(sheet::zip::zipArchive(parts));
    } catch (const sheet::FormatError&) {
    } catch (const sheet::PartialRangeError&) {
    }
    return 0;
}
