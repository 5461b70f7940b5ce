// The build's use of the engine: open the chart template, empty its data rows, write one label,
// amount and number format per entry from row 4, and save the workbook.
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include "TemplateEntries.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

void openFillSave(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    const std::string target =
        (std::filesystem::temp_directory_path() / ("engine-bench-" + std::to_string(::getpid()) + ".xls")).string();
    sheet::Application excel;
    excel.setNumberLocale(sheet::NumberLocale{U'.', U','});
    for (auto _ : state) {
        sheet::Workbook& book = excel.workbooks().Open(TORTELET_CHART_TEMPLATE);
        engine_bench::writeEntries(book, entries);
        book.SaveAs(target, 56);
        book.Close();
    }
    std::remove(target.c_str());
    state.SetComplexityN(entries);
}

BENCHMARK(openFillSave)->Arg(6)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
