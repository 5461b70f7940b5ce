// The build's use of the engine: open the chart template, empty its data rows, write one label,
// amount and number format per entry from row 4, and save the workbook.
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* Accounting = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";

void openFillSave(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    const std::string target =
        (std::filesystem::temp_directory_path() / ("engine-bench-" + std::to_string(::getpid()) + ".xls")).string();
    sheet::Application excel;
    excel.setNumberLocale(sheet::NumberLocale{U'.', U','});
    for (auto _ : state) {
        sheet::Workbook& book = excel.workbooks().Open(TORTELET_CHART_TEMPLATE);
        sheet::Worksheet& sheet = book.ActiveSheet();
        for (int row = 4; row <= 9; ++row) {
            sheet.Cells(row, 1).setValue("");
            sheet.Cells(row, 2).setValue("");
        }
        for (int i = 0; i < entries; ++i) {
            sheet.Cells(4 + i, 1).setValue("Asset number " + std::to_string(i));
            sheet.Cells(4 + i, 2).setValue(std::to_string(1000 + 37 * i));
            sheet.Cells(4 + i, 2).setNumberFormat(Accounting);
        }
        book.SaveAs(target, 56);
        book.Close();
    }
    std::remove(target.c_str());
    state.SetComplexityN(entries);
}

BENCHMARK(openFillSave)->Arg(6)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
