// Saving the filled chart template as an OpenDocument spreadsheet: the sample list and 10,000 entries.
#include "sheet/ods/FilledTemplate.h"

#include "sheet/ods/OdsFile.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

sheet::model::Workbook filledWithEntries(int count)
{
    std::vector<ods_testing::Entry> entries = ods_testing::sampleEntries();
    for (int k = static_cast<int>(entries.size()); k < count; ++k)
        entries.emplace_back("Asset number " + std::to_string(k), std::to_string(1000 + 37 * k));
    return ods_testing::filledTemplate(entries);
}

// The package's bytes alone, without the disk: the file is written and synced in saveAsOds.
void makeOdsBytes(benchmark::State& state)
{
    const sheet::model::Workbook workbook = filledWithEntries(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::ods::odsBytes(workbook));
}

void saveAsOds(benchmark::State& state)
{
    const sheet::model::Workbook workbook = filledWithEntries(static_cast<int>(state.range(0)));
    const std::string target =
        (std::filesystem::temp_directory_path() / ("ods-bench-" + std::to_string(::getpid()) + ".ods")).string();
    for (auto _ : state)
        sheet::ods::saveOdsFile(workbook, target, sheet::biff::SaveTarget::SharedFolder);
    std::remove(target.c_str());
}

BENCHMARK(makeOdsBytes)->Arg(6)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(saveAsOds)->Arg(6)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
