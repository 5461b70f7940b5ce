// Listing a plain workbook from the model, as `tortelet-sheet dump` prints it: a line for each cell
// with its value as stored and as its number format shows it. The listing goes to a stream that
// only counts it.
#include "WorkbookDump.h"

#include "sheet/biff/WorkbookFile.h"

#include "SpeedWorkbooks.h"

#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

namespace {

class CountingBuffer : public std::streambuf {
public:
    std::streamsize count = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize size) override
    {
        count += size;
        return size;
    }
    int_type overflow(int_type c) override
    {
        ++count;
        return traits_type::not_eof(c);
    }
};

void listWorkbook(benchmark::State& state)
{
    const std::string path = engine_bench::speedWorkbook(state);
    if (path.empty())
        return;
    const sheet::biff::WorkbookFile file = sheet::biff::openWorkbookFile(path);
    CountingBuffer counted;
    std::ostream listing(&counted);
    for (auto _ : state)
        tools::writeWorkbookDump(file.workbook, "A1", listing);
    state.counters["listing_MB"] = static_cast<double>(counted.count) / static_cast<double>(state.iterations()) / 1e6;
    engine_bench::countFileBytes(state, path);
}

BENCHMARK(listWorkbook)->Arg(1)->Arg(4)->Arg(15)->Unit(benchmark::kMillisecond);

}  // namespace
