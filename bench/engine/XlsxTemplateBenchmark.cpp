// A SpreadsheetML template as the build would use it: read the package, empty the data rows, write one
// label, amount and number format per entry from row 4, and make the changed package's bytes. And
// reading a plain package of about 15 MB (bench/speed) into the model.
#include "sheet/edit/CellEditing.h"
#include "sheet/io/FileBytes.h"
#include "sheet/xlsx/XlsxPackage.h"
#include "sheet/zip/ZipArchive.h"

#include "SpeedWorkbooks.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

void fillXlsxTemplate(benchmark::State& state)
{
    constexpr const char* Accounting = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";
    const int entries = static_cast<int>(state.range(0));
    const std::vector<std::uint8_t> bytes = sheet::io::readFileBytes(TORTELET_XLSX_TEMPLATE);
    const sheet::NumberLocale locale{U'.', U','};
    for (auto _ : state) {
        const sheet::xlsx::XlsxPackage package = sheet::xlsx::readXlsxPackage(bytes);
        sheet::model::Workbook workbook = package.workbook;
        const int sheet = workbook.activeWorksheet();
        for (int row = 3; row <= 8; ++row) {
            sheet::edit::writeCellText(workbook, sheet, row, 0, "", locale);
            sheet::edit::writeCellText(workbook, sheet, row, 1, "", locale);
        }
        for (int i = 0; i < entries; ++i) {
            sheet::edit::writeCellText(workbook, sheet, 3 + i, 0, "Asset number " + std::to_string(i), locale);
            sheet::edit::writeCellText(workbook, sheet, 3 + i, 1, std::to_string(1000 + 37 * i), locale);
            sheet::edit::setCellNumberFormat(workbook, sheet, 3 + i, 1, Accounting);
        }
        benchmark::DoNotOptimize(sheet::zip::zipArchive(sheet::xlsx::changedXlsxParts(package, workbook)));
    }
    state.SetComplexityN(entries);
}

BENCHMARK(fillXlsxTemplate)->Arg(6)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity();

void readXlsxPackage(benchmark::State& state)
{
    std::string path = engine_bench::speedWorkbook(state);
    if (path.empty())
        return;
    path = std::filesystem::path(path).replace_extension(".xlsx").string();
    if (!std::filesystem::is_regular_file(path)) {
        state.SkipWithError("no .xlsx beside the speed workbook");
        return;
    }
    const std::vector<std::uint8_t> bytes = sheet::io::readFileBytes(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::xlsx::readXlsxPackage(bytes).workbook.sheets.size());
    engine_bench::countFileBytes(state, path);
}

BENCHMARK(readXlsxPackage)->Arg(15)->Unit(benchmark::kMillisecond);

} // namespace
