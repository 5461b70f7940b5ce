// Saving the filled chart template as an Excel workbook (.xlsx): the package's parts written from the
// model and zipped, then the file written through a temporary file and a rename.
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"
#include "sheet/xlsx/XlsxFile.h"

#include "TemplateEntries.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int OpenXmlWorkbook = 51;

void saveXlsx(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    const std::string target =
        (std::filesystem::temp_directory_path() / ("xlsx-bench-" + std::to_string(::getpid()) + ".xlsx")).string();
    sheet::Application excel;
    excel.setNumberLocale(sheet::NumberLocale{U'.', U','});
    sheet::Workbook& book = excel.workbooks().Open(TORTELET_CHART_TEMPLATE);
    engine_bench::writeEntries(book, entries);
    for (auto _ : state)
        book.SaveAs(target, OpenXmlWorkbook);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(target));
    book.Close();
    std::remove(target.c_str());
    state.SetComplexityN(entries);
}

// The parts and the zip archive in memory, without the file.
void xlsxBytes(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    sheet::Application excel;
    excel.setNumberLocale(sheet::NumberLocale{U'.', U','});
    sheet::Workbook& book = excel.workbooks().Open(TORTELET_CHART_TEMPLATE);
    engine_bench::writeEntries(book, entries);
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::xlsx::xlsxBytes(book.model()));
    book.Close();
}

BENCHMARK(saveXlsx)->Arg(6)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(xlsxBytes)->Arg(6)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
