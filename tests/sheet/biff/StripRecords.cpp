// tortelet-strip-records IN OUT [TYPE]: writes the .xls workbook IN again as OUT from its model alone, as a
// workbook read from another format is written, its first chart made a chart of TYPE (a number of
// model::ChartType) when one is given; for the tests in which other programs read the result.
#include "RecordsStripped.h"

#include "sheet/Errors.h"
#include "sheet/biff/WorkbookFile.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: tortelet-strip-records IN OUT [TYPE]\n";
        return 2;
    }
    try {
        sheet::model::Workbook workbook = sheet::test::withoutRecords(sheet::biff::openWorkbookFile(argv[1]).workbook);
        if (argc == 4)
            sheet::test::redrawFirstChartAs(workbook, static_cast<sheet::model::ChartType>(std::stoi(argv[3])));
        sheet::biff::WorkbookFile file = sheet::biff::newWorkbookFile(std::move(workbook));
        sheet::biff::saveWorkbookFile(file, argv[2], sheet::biff::SaveTarget::ChosenFile);
    } catch (const sheet::Error& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
