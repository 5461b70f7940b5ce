// Fills a SpreadsheetML template as the chart build does, with COUNT entries ("Asset 1", 1000; "Asset 2",
// 1037; ...) from row 4, and writes the changed package to OUT; for looking at the output with other
// programs.
#include "sheet/Errors.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/io/FileBytes.h"
#include "sheet/xlsx/XlsxPackage.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: xlsx_fill TEMPLATE COUNT OUT\n";
        return 1;
    }
    try {
        const sheet::xlsx::XlsxPackage package = sheet::xlsx::readXlsxPackage(sheet::io::readFileBytes(argv[1]));
        sheet::model::Workbook workbook = package.workbook;
        const sheet::NumberLocale locale{U'.', U','};
        const int sheet = workbook.activeWorksheet();
        for (int row = 3; row <= 8; ++row)
            for (int column = 0; column <= 1; ++column)
                sheet::edit::writeCellText(workbook, sheet, row, column, "", locale);
        for (int k = 0; k < std::stoi(argv[2]); ++k) {
            sheet::edit::writeCellText(workbook, sheet, 3 + k, 0, "Asset " + std::to_string(k + 1), locale);
            sheet::edit::writeCellText(workbook, sheet, 3 + k, 1, std::to_string(1000 + 37 * k), locale);
            sheet::edit::setCellNumberFormat(workbook, sheet, 3 + k, 1, R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))");
        }
        sheet::xlsx::saveChangedXlsx(package, workbook, argv[3], sheet::biff::SaveTarget::ChosenFile);
    } catch (const sheet::Error& error) {
        std::cerr << error.what() << '\n';
        return 2;
    }
    return 0;
}
