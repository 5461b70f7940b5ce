#include "chart/BuildHost.h"
#include "chart/ChartBuild.h"
#include "common/PointerState.h"
#include "platform/QtPlatform.h"
#include "preview/Form2.h"
#include "support/Controls.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>
#include <array>
#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

// The moments a build passes on its way, as the main window sees them.
enum Mark { Started, ListRead, FilledPointer, ReopenedPointer, ReadyPointer, Delivered, Hidden, Stored, MarkCount };

// A main window that notes when the build reaches it and hands the picture to the real preview window.
class TimedHost final : public chart::BuildHost {
public:
    explicit TimedHost(platform::Platform platform, int entries) : entries_(entries)
    {
        preview_ = std::make_unique<preview::Form2>(platform, [this] { mainWindow_.show(); }, [] {});
    }

    std::array<Clock::time_point, MarkCount> marks{};
    preview::Form2& preview() { return *preview_; }

    common::PointerState& pointer() override
    {
        constexpr std::array<Mark, 4> pointerMarks{MarkCount, FilledPointer, ReopenedPointer, ReadyPointer};
        if (pointerCalls_ < pointerMarks.size() && pointerMarks[pointerCalls_] != MarkCount)
            marks[pointerMarks[pointerCalls_]] = Clock::now();
        ++pointerCalls_;
        return pointer_;
    }
    int entryCount() override
    {
        marks[countCalls_++ == 0 ? ListRead : Stored] = Clock::now();
        return entries_;
    }
    QString entryLabel(int position) override { return QStringLiteral("Asset %1").arg(position); }
    QString entryAmount(int position) override { return QString::number(position * 250 + 1000); }
    QString amountLocale() override { return {}; }
    void deliverPicture(const platform::Picture& picture) override { preview_->setPicture(picture); }
    void setPreviewWorkbook(const QString& path) override { preview_->setScratchWorkbook(path); }
    void showPreview() override
    {
        preview_->show();
        marks[Delivered] = Clock::now();
    }
    void hideMainWindow() override
    {
        mainWindow_.hide();
        marks[Hidden] = Clock::now();
    }

    void start()
    {
        pointerCalls_ = 0;
        countCalls_ = 0;
        marks[Started] = Clock::now();
    }

private:
    int entries_;
    QWidget mainWindow_;
    common::PointerState pointer_{mainWindow_};
    std::unique_ptr<preview::Form2> preview_;
    std::size_t pointerCalls_ = 0;
    int countCalls_ = 0;
};

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The whole build: the template written and filled, the scratch workbook saved and reopened, the
// picture copied through the clipboard and its file, the preview shown and the list stored; then
// "< Back" removes the scratch workbook for the next round. The time runs until the preview is painted.
void WholeBuild(benchmark::State& state)
{
    QTemporaryDir temp;
    QTemporaryDir runtime;
    qputenv("TEMP", QFile::encodeName(temp.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    testing_support::ScriptedPlatform scripted;
    platform::QtClipboard clipboard;
    platform::QtRandomness random;
    const platform::Platform platform{scripted.messages, scripted.inputs, scripted.saveDialog, scripted.settings,
                                      clipboard,         scripted.launcher, random,           scripted.clock,
                                      scripted.pictureDialogs, scripted.openDialog};
    TimedHost host(platform, static_cast<int>(state.range(0)));
    chart::ChartBuild build(platform, host);
    std::array<double, MarkCount> shares{};
    for (auto _ : state) {
        host.start();
        build.run();
        // The person sees the preview once it has been painted.
        benchmark::DoNotOptimize(host.preview().grab());
        const Clock::time_point finished = Clock::now();
        state.PauseTiming();
        for (int mark = Started; mark < MarkCount; ++mark)
            shares[static_cast<size_t>(mark)] +=
                millisecondsBetween(host.marks[static_cast<size_t>(mark)],
                                    mark + 1 < MarkCount ? host.marks[static_cast<size_t>(mark + 1)] : finished);
        testing_support::control<QPushButton>(host.preview(), "PushButton8")->click();
        state.ResumeTiming();
    }
    if (!scripted.messages.shown.empty())
        state.SkipWithError(scripted.messages.shown.front().text.toStdString().c_str());
    const char* names[MarkCount] = {"ms_template_open_clear", "ms_fill",         "ms_save_reopen",
                                    "ms_copy_picture",        "ms_load_deliver", "ms_hide",
                                    "ms_delete_picture",      "ms_store_list"};
    for (int mark = Started; mark < MarkCount; ++mark)
        state.counters[names[mark]] =
            benchmark::Counter(shares[static_cast<size_t>(mark)], benchmark::Counter::kAvgIterations);
    qunsetenv("TEMP");
}

BENCHMARK(WholeBuild)->Arg(6)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
