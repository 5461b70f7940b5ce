#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace engine_bench {

// The plain workbooks of about 1, 4 and 15 MB (a label and 29 numbers a row) that
// bench/speed/make-speed-workbooks.py makes into the folder named by TORTELET_SPEED_WORKBOOKS; the
// argument of a benchmark is the size in MB. Empty, and the benchmark skipped, when the file is missing.
inline std::string speedWorkbook(benchmark::State& state)
{
    const char* folder = std::getenv("TORTELET_SPEED_WORKBOOKS");
    const std::filesystem::path path = std::filesystem::path(folder ? folder : "") /
                                       ("speed-" + std::to_string(state.range(0)) + "mb.xls");
    if (!folder || !std::filesystem::is_regular_file(path)) {
        state.SkipWithError("no workbook: make them with bench/speed/make-speed-workbooks.py FOLDER and set "
                            "TORTELET_SPEED_WORKBOOKS=FOLDER");
        return {};
    }
    return path.string();
}

// Counts the bytes of each run as the file's size, so that the rate is in bytes of workbook a second.
inline void countFileBytes(benchmark::State& state, const std::string& path)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

}  // namespace engine_bench
