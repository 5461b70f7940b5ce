// Reading a plain workbook into the model: the compound file, the globals and the sheet's cell
// table, as `tortelet-sheet dump` reads it before it lists anything.
#include "sheet/biff/WorkbookFile.h"

#include "SpeedWorkbooks.h"

#include <benchmark/benchmark.h>

namespace {

void readWorkbook(benchmark::State& state)
{
    const std::string path = engine_bench::speedWorkbook(state);
    if (path.empty())
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::biff::openWorkbookFile(path));
    engine_bench::countFileBytes(state, path);
}

BENCHMARK(readWorkbook)->Arg(1)->Arg(4)->Arg(15)->Unit(benchmark::kMillisecond);

}  // namespace
