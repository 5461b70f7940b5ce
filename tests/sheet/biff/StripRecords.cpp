// tortelet-strip-records IN OUT: writes the .xls workbook IN again as OUT from its model alone, as a
// workbook read from another format is written; for the tests in which other programs read the result.
#include "RecordsStripped.h"

#include "sheet/Errors.h"
#include "sheet/biff/WorkbookFile.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: tortelet-strip-records IN OUT\n";
        return 2;
    }
    try {
        sheet::biff::WorkbookFile file =
            sheet::biff::newWorkbookFile(sheet::test::withoutRecords(sheet::biff::openWorkbookFile(argv[1]).workbook));
        sheet::biff::saveWorkbookFile(file, argv[2], sheet::biff::SaveTarget::ChosenFile);
    } catch (const sheet::Error& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
