// Filling the chart template as LibreOffice saved it (.ods): reading the package, writing the entries as
// the chart build does and making the changed package, for the sample list and for 1,000 entries.
#include "sheet/edit/CellEditing.h"
#include "sheet/ods/OdsPackage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The template, or the package that TORTELET_ODS_FILE names (for measuring a large one).
std::vector<std::uint8_t> templateBytes()
{
    const char* other = std::getenv("TORTELET_ODS_FILE");
    std::ifstream in(other ? other : TORTELET_ODS_TEMPLATE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> filledPackage(const std::vector<std::uint8_t>& bytes, int count)
{
    const sheet::ods::OdsPackage package = sheet::ods::readOdsPackage(bytes);
    sheet::model::Workbook workbook = package.workbook;
    const int sheet = workbook.activeWorksheet();
    const sheet::NumberLocale locale{U'.', U','};
    for (int row = 3; row < 9; ++row)
        for (int column : {0, 1})
            sheet::edit::writeCellText(workbook, sheet, row, column, "", locale);
    for (int k = 0; k < count; ++k) {
        sheet::edit::writeCellText(workbook, sheet, 3 + k, 0, "Asset number " + std::to_string(k), locale);
        sheet::edit::writeCellText(workbook, sheet, 3 + k, 1, std::to_string(1000 + 37 * k), locale);
        sheet::edit::setCellNumberFormat(workbook, sheet, 3 + k, 1, R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))");
    }
    return sheet::ods::changedOdsBytes(package, workbook);
}

void fillOdsTemplate(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = templateBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(filledPackage(bytes, static_cast<int>(state.range(0))));
}

// Reading alone, the package's parts and its workbook.
void readOdsTemplate(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = templateBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::ods::readOdsPackage(bytes));
}

BENCHMARK(fillOdsTemplate)->Arg(6)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(readOdsTemplate)->Unit(benchmark::kMillisecond);

} // namespace
