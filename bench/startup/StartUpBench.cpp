// The main window's start-up with a long stored list: from the window's construction, which restores
// the list and reports a stored entry without an amount, to the first paint of the shown window.

#include "app/Form1.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// One stored entry of `characters` characters: without a separator (the description of its
// failure quotes it whole), or as a label with an amount.
void startUp(benchmark::State& state, bool withAmount)
{
    const auto characters = static_cast<qsizetype>(state.range(0));
    for (auto _ : state) {
        testing_support::ScriptedPlatform scripted;
        scripted.settings.values[QStringLiteral("Assets")] =
            QString(characters, QLatin1Char('x')) + (withAmount ? QStringLiteral("||SEP1||5||SEP2||") : QString());
        app::Form1 form(scripted.platform(), [] {});
        form.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(scripted.messages.shown.size());
    }
}

void BM_StartUpWithAStoredEntryWithoutAmount(benchmark::State& state) { startUp(state, false); }
void BM_StartUpWithAStoredLabel(benchmark::State& state) { startUp(state, true); }

BENCHMARK(BM_StartUpWithAStoredEntryWithoutAmount)->Arg(1 << 10)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StartUpWithAStoredLabel)->Arg(1 << 10)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
