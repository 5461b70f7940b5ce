#include "SampleWorkbook.h"

#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"
#include "sheet/automation/Workbooks.h"
#include "platform/QtPlatform.h"
#include "sheet/render/PictureEncoding.h"
#include "sheet/render/PictureExport.h"
#include "sheet/render/RangePicture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

using render_testing::Entry;

std::vector<Entry> manyEntries(int count)
{
    std::vector<Entry> entries;
    for (int k = 0; k < count; ++k)
        entries.push_back({"Entry " + std::to_string(k + 1), 1000.0 + k * 37.5});
    return entries;
}

void usedRangeOfTheTemplate(benchmark::State& state)
{
    const auto wb = render_testing::sampleWorkbook(render_testing::sampleEntries());
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::render::drawRange(wb, 0, {2, 0, 18, 1}));
}
BENCHMARK(usedRangeOfTheTemplate)->Unit(benchmark::kMillisecond);

void thousandRows(benchmark::State& state)
{
    const auto wb = render_testing::sampleWorkbook(manyEntries(1000));
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::render::drawRange(wb, 0, {2, 0, 1002, 1}));
}
BENCHMARK(thousandRows)->Unit(benchmark::kMillisecond);

// The pie of a thousand-entry list, labels and all, drawn on its own.
void pieOfAThousandSlices(benchmark::State& state)
{
    auto wb = render_testing::sampleWorkbook(manyEntries(1000));
    sheet::model::ChartSeries& series = wb.sheets[0].charts[0].series[0];
    series.values->range.lastRow = 1002;
    series.categories->range.lastRow = 1002;
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::render::drawRange(wb, 0, {2, 2, 25, 14}));
}
BENCHMARK(pieOfAThousandSlices)->Unit(benchmark::kMillisecond);

void wholeSheetWithTheChart(benchmark::State& state)
{
    const auto wb = render_testing::sampleWorkbook(render_testing::sampleEntries());
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::render::drawSheet(wb, 0));
}
BENCHMARK(wholeSheetWithTheChart)->Unit(benchmark::kMillisecond);

// What `tortelet-sheet render TEMPLATE OUT.png --sheet` does: open, draw, encode.
void renderSheetCommand(benchmark::State& state)
{
    for (auto _ : state) {
        sheet::Application application;
        sheet::Workbook& workbook = application.workbooks().Open(TORTELET_TEMPLATE);
        const QImage picture = sheet::render::drawSheet(workbook.model(), workbook.model().activeSheet);
        benchmark::DoNotOptimize(sheet::render::encodePicture(picture, "PNG"));
        application.Quit();
    }
}
BENCHMARK(renderSheetCommand)->Unit(benchmark::kMillisecond);

// What one zoom step to 4.0 costs the preview: the sample sheet's drawing played at four times its
// size into the part around the viewport that the preview keeps (twice the viewport either way).
void zoomStepAtFour(benchmark::State& state)
{
    const auto wb = render_testing::sampleWorkbook(render_testing::sampleEntries());
    const sheet::render::SheetDrawing drawing = sheet::render::recordSheet(wb, 0);
    constexpr double zoom = 4.0;
    const QSize kept(2 * 620, 2 * 493);
    for (auto _ : state) {
        QImage shown(kept, QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::white);
        QPainter painter(&shown);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(zoom, zoom);
        drawing.play(painter, QRectF(0, 0, kept.width() / zoom, kept.height() / zoom));
        painter.end();
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(zoomStepAtFour)->Unit(benchmark::kMillisecond);

void drawTemplateSheet(benchmark::State& state)
{
    sheet::Application application;
    sheet::Workbook& workbook = application.workbooks().Open(TORTELET_TEMPLATE);
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::render::drawSheet(workbook.model(), workbook.model().activeSheet));
    application.Quit();
}
BENCHMARK(drawTemplateSheet)->Unit(benchmark::kMillisecond);

// The sample chart as the preview holds it, and a thousand-entry one with every entry in its pie.
sheet::render::SheetDrawing sampleChart()
{
    return sheet::render::recordSheet(render_testing::sampleWorkbook(render_testing::sampleEntries()), 0);
}

sheet::render::SheetDrawing thousandEntryChart()
{
    auto wb = render_testing::sampleWorkbook(manyEntries(1000));
    sheet::model::ChartSeries& series = wb.sheets[0].charts[0].series[0];
    series.values->range.lastRow = 1002;
    series.categories->range.lastRow = 1002;
    return sheet::render::recordSheet(wb, 0);
}

// "Copy Picture" on a screen of pixel ratio 2, with the work that pasting brings: the formats are
// made when a program asks for them, and here one program asks for all three.
void copyPictureAtTwo(benchmark::State& state)
{
    const sheet::render::SheetDrawing drawing = sampleChart();
    platform::QtClipboard clipboard;
    for (auto _ : state) {
        clipboard.offerPicture(drawing, 2.0);
        const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
        benchmark::DoNotOptimize(offered->data(QStringLiteral("image/png")));
        benchmark::DoNotOptimize(offered->data(QStringLiteral("image/svg+xml")));
        benchmark::DoNotOptimize(offered->imageData());
    }
}
BENCHMARK(copyPictureAtTwo)->Unit(benchmark::kMillisecond);

// "Export Picture…" and `tortelet-sheet render`: the bytes of each file format.
void exportPicture(benchmark::State& state, sheet::render::SheetDrawing (*chart)(), sheet::render::PictureFormat format,
                   double scale)
{
    const sheet::render::SheetDrawing drawing = chart();
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet::render::exportPicture(drawing, format, scale));
    state.counters["height_px"] = drawing.size.height();
}
BENCHMARK_CAPTURE(exportPicture, sampleAsPngAtTwo, sampleChart, sheet::render::PictureFormat::Png, 2.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportPicture, thousandEntriesAsSvg, thousandEntryChart, sheet::render::PictureFormat::Svg, 1.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportPicture, thousandEntriesAsPdf, thousandEntryChart, sheet::render::PictureFormat::Pdf, 1.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
