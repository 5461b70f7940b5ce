// Prints the values of every cell of a SpreadsheetML package, one line each: the sheet's name, the row
// and column from 1, and the value (numbers with 15 significant digits, TRUE/FALSE, error texts), tab
// apart. A package that is refused prints its reason and ends with 2.
#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"
#include "sheet/xlsx/XlsxPackage.h"

#include <cstdio>
#include <iostream>
#include <variant>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: xlsx_cell_values FILE\n";
        return 1;
    }
    try {
        const sheet::xlsx::XlsxPackage package = sheet::xlsx::readXlsxPackage(sheet::io::readFileBytes(argv[1]));
        const sheet::model::Workbook& workbook = package.workbook;
        for (const sheet::model::Sheet& sheet : workbook.sheets) {
            for (const auto& [at, cell] : sheet.cells) {
                const sheet::CellValue value = workbook.value(cell);
                std::string text;
                if (const double* number = std::get_if<double>(&value)) {
                    char buffer[32];
                    std::snprintf(buffer, sizeof buffer, "%.15g", *number);
                    text = buffer;
                } else if (const std::string* string = std::get_if<std::string>(&value)) {
                    text = *string;
                } else if (const bool* logical = std::get_if<bool>(&value)) {
                    text = *logical ? "TRUE" : "FALSE";
                } else if (const sheet::ErrorCode* error = std::get_if<sheet::ErrorCode>(&value)) {
                    text = sheet::model::errorText(*error);
                } else {
                    continue;
                }
                std::string escaped;
                for (char c : text)
                    escaped += c == '\n' ? std::string("\\n") : c == '\t' ? std::string("\\t") : c == '\r' ? std::string("\\r") : std::string(1, c);
                std::cout << sheet.name << '\t' << at.row + 1 << '\t' << at.column + 1 << '\t' << escaped << '\n';
            }
        }
    } catch (const sheet::Error& error) {
        std::cout << "refused: " << error.what() << '\n';
        return 2;
    }
    return 0;
}
