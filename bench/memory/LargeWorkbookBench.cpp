// Peak memory and time of tortelet-sheet's commands on a workbook of about 100 MB, on an entries file
// of about 63 MB and on the two dense workbooks (MULRK and MULBLANK records), all made here. Each run is a child process, so its peak resident set
// (getrusage) is its own; the counters give it in MB next to the input's size.
#include "Commands.h"
#include "DenseWorkbook.h"

#include "sheet/biff/WorkbookFile.h"
#include "sheet/model/Workbook.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int Rows = 65536;
constexpr int NumberColumns = 88;

fs::path folder()
{
    return fs::temp_directory_path() / ("tortelet-memory-bench-" + std::to_string(::getpid()));
}

// Runs `work` in a child process; returns the child's peak resident set in bytes, or -1 when it failed.
double peakOfChild(const std::function<void()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work();
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return static_cast<double>(usage.ru_maxrss) * 1024;
}

// The chart template with a label in column A and numbers in the next columns of every row.
const std::string& largeWorkbook()
{
    static const std::string path = [] {
        fs::create_directories(folder());
        const std::string made = (folder() / "large.xls").string();
        peakOfChild([&] {
            sheet::biff::WorkbookFile file = sheet::biff::openWorkbookFile(TORTELET_CHART_TEMPLATE);
            sheet::model::Sheet& sheet = file.workbook.sheets[0];
            for (int row = 20; row < Rows; ++row) {
                file.workbook.setValue(sheet.cells[{row, 0}], "Item " + std::to_string(row));
                for (int column = 1; column <= NumberColumns; ++column)
                    sheet.cells[{row, column}].setNumber(row * 1.25 + column);
            }
            sheet.modified = true;
            sheet::biff::saveWorkbookFile(file, made);
        });
        return made;
    }();
    return path;
}

const std::string& largeEntries()
{
    static const std::string path = [] {
        fs::create_directories(folder());
        const std::string made = (folder() / "entries.txt").string();
        std::ofstream file(made, std::ios::binary);
        const std::string label(950, 'L');
        for (int entry = 0; entry < 65533; ++entry)
            file << label << entry << '\t' << 1000 + entry << '\n';
        return made;
    }();
    return path;
}

const std::string& denseWorkbook(bench::DenseCells cells)
{
    static const std::string mulRk = (folder() / "mulrk.xls").string();
    static const std::string mulBlank = (folder() / "mulblank.xls").string();
    const std::string& path = cells == bench::DenseCells::MulRk ? mulRk : mulBlank;
    if (!fs::exists(path)) {
        fs::create_directories(folder());
        bench::writeDenseWorkbook(cells, path);
    }
    return path;
}

const std::string& fewEntries()
{
    static const std::string path = [] {
        fs::create_directories(folder());
        const std::string made = (folder() / "few-entries.txt").string();
        std::ofstream(made, std::ios::binary) << "Savings\t1000\nShares\t2500\n";
        return made;
    }();
    return path;
}

void run(benchmark::State& state, const tools::Command& command, const tools::Arguments& arguments,
         const std::string& input)
{
    double peak = 0;
    for (auto _ : state) {
        peak = peakOfChild([&] {
            std::ofstream discard("/dev/null");
            command.run(arguments, discard);
        });
        if (peak < 0)
            state.SkipWithError("the command failed");
    }
    state.counters["input_MB"] = static_cast<double>(fs::file_size(input)) / (1 << 20);
    state.counters["peak_MB"] = peak / (1 << 20);
}

void dumpLargeWorkbook(benchmark::State& state)
{
    run(state, tools::dumpCommand(), {largeWorkbook()}, largeWorkbook());
}

void fillLargeWorkbook(benchmark::State& state)
{
    run(state, tools::fillCommand(), {largeWorkbook(), (folder() / "filled.xls").string()}, largeWorkbook());
}

void renderLargeWorkbook(benchmark::State& state)
{
    run(state, tools::renderCommand(), {largeWorkbook(), (folder() / "picture.png").string(), "--range", "A1:O40"},
        largeWorkbook());
}

void fillLargeEntries(benchmark::State& state)
{
    run(state, tools::fillCommand(), {TORTELET_CHART_TEMPLATE, (folder() / "entries.xls").string(), largeEntries()},
        largeEntries());
}

// The dense workbooks must keep to 4 times their size plus 50 MB like any other.
void dumpDense(benchmark::State& state, bench::DenseCells cells)
{
    run(state, tools::dumpCommand(), {denseWorkbook(cells)}, denseWorkbook(cells));
}

void fillDense(benchmark::State& state, bench::DenseCells cells)
{
    run(state, tools::fillCommand(), {denseWorkbook(cells), (folder() / "dense-filled.xls").string(), fewEntries()},
        denseWorkbook(cells));
}

void renderDense(benchmark::State& state, bench::DenseCells cells)
{
    run(state, tools::renderCommand(), {denseWorkbook(cells), (folder() / "dense.png").string(), "--range", "A1:O40"},
        denseWorkbook(cells));
}

BENCHMARK_CAPTURE(dumpDense, mulRk, bench::DenseCells::MulRk)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(fillDense, mulRk, bench::DenseCells::MulRk)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(renderDense, mulRk, bench::DenseCells::MulRk)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(dumpDense, mulBlank, bench::DenseCells::MulBlank)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(fillDense, mulBlank, bench::DenseCells::MulBlank)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(renderDense, mulBlank, bench::DenseCells::MulBlank)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(dumpLargeWorkbook)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(fillLargeWorkbook)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(renderLargeWorkbook)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(fillLargeEntries)->Unit(benchmark::kSecond)->Iterations(1);

// The files go with the benchmark process.
const struct Cleanup {
    ~Cleanup()
    {
        std::error_code ignored;
        fs::remove_all(folder(), ignored);
    }
} cleanup;

}  // namespace
