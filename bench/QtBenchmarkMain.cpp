#include <QApplication>

#include <benchmark/benchmark.h>

// The main() of the benchmarks that need Qt's fonts or windows: an application on the offscreen
// platform unless another is asked for, then the benchmarks the command line selects.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
