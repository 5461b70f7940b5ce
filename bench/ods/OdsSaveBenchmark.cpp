// Saving the filled chart template as an OpenDocument spreadsheet: the sample list and 10,000 entries.
#include "sheet/ods/FilledTemplate.h"

#include "sheet/ods/OdsFile.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

void saveAsOds(benchmark::State& state)
{
    std::vector<ods_testing::Entry> entries = ods_testing::sampleEntries();
    for (int k = static_cast<int>(entries.size()); k < state.range(0); ++k)
        entries.emplace_back("Asset number " + std::to_string(k), std::to_string(1000 + 37 * k));
    const sheet::model::Workbook workbook = ods_testing::filledTemplate(entries);
    const std::string target =
        (std::filesystem::temp_directory_path() / ("ods-bench-" + std::to_string(::getpid()) + ".ods")).string();
    for (auto _ : state)
        sheet::ods::saveOdsFile(workbook, target, sheet::biff::SaveTarget::SharedFolder);
    std::remove(target.c_str());
}

BENCHMARK(saveAsOds)->Arg(6)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
