// Finishes the chart template that LibreOffice authored headless: hides the gridlines, gives the
// sample amounts their exact accounting format code and sets the exact widths of columns A and B,
// all through the engine so that everything else stays as LibreOffice wrote it.
//   tortelet-finish-template RAW.xlt FINISHED.xlt

#include "sheet/Errors.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include <iostream>

namespace {

constexpr const char* SampleAmountFormat = R"(_("$"* #,##0_);_("$"* \(#,##0\);_("$"* "-"??_);_(@_))";
constexpr int ColumnAWidth = 3904;  // 15.25 characters
constexpr int ColumnBWidth = 2656;  // 10.375 characters
constexpr int SaveAsExcel97 = 56;

void finish(const std::string& rawPath, const std::string& finishedPath)
{
    sheet::Application application;
    sheet::Workbook& workbook = application.workbooks().Open(rawPath);
    sheet::Worksheet& sheet = workbook.ActiveSheet();
    if (sheet.Name() != "Assets")
        throw sheet::FormatError("the active sheet is \"" + sheet.Name() + "\", not \"Assets\"");
    sheet.setShowGridlines(false);
    for (int row = 4; row <= 9; ++row)
        sheet.Cells(row, 2).setNumberFormat(SampleAmountFormat);
    sheet.setColumnWidth(1, ColumnAWidth);
    sheet.setColumnWidth(2, ColumnBWidth);
    workbook.SaveAs(finishedPath, SaveAsExcel97);
    workbook.Close();
    application.Quit();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "Usage: tortelet-finish-template RAW.xlt FINISHED.xlt\n";
        return 2;
    }
    try {
        finish(argv[1], argv[2]);
    } catch (const sheet::Error& error) {
        std::cerr << "tortelet-finish-template: " << argv[1] << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
