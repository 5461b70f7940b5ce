#include "sheet/biff/SliceColours.h"

#include "sheet/biff/PointFormats.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>
#include <map>
#include <cstdint>
#include <limits>
#include <optional>

namespace sheet::biff {
namespace {

constexpr std::array<std::uint32_t, 12> SliceSequence = {0x004586, 0xFF420E, 0xFFD320, 0x579D1C, 0x7E0021, 0x83CAFF,
                                                         0x314004, 0xAECF00, 0x4B1F6F, 0xFF950E, 0xC5000B, 0x0084D1};
constexpr int FirstPaletteEntry = 8;
constexpr int LastPaletteEntry = 63;

// The colour a chart record's colour shows: its palette entry when it names one, else its own.
std::uint32_t shown(const model::Palette& palette, const chart::Colour& colour)
{
    const int index = static_cast<int>(colour.paletteIndex);
    return index >= FirstPaletteEntry && index <= LastPaletteEntry ? palette.rgb(index) : colour.rgb;
}

long squaredDistance(std::uint32_t a, std::uint32_t b)
{
    long sum = 0;
    for (int shift : {16, 8, 0}) {
        const long d = static_cast<long>((a >> shift) & 0xFF) - static_cast<long>((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

// The palette entry nearest to a colour, as a chart record names it: readers take one or the other.
chart::Colour nearestEntry(const model::Palette& palette, std::uint32_t rgb)
{
    int best = FirstPaletteEntry;
    long bestDistance = std::numeric_limits<long>::max();
    for (int index = FirstPaletteEntry; index <= LastPaletteEntry; ++index) {
        const long distance = squaredDistance(palette.rgb(index), rgb);
        if (distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return {palette.rgb(best), static_cast<unsigned>(best)};
}

// The colours of the points from `firstAdded` to `points` that have no format of their own: the next of the
// sequence for each that neither the point before it nor the first point shows. `hasOwnFormat(point)` and
// `fill(point)` (the colour a point shows, nothing when it has no fixed one) describe the series. The
// colours are the palette's nearest, for a chart whose records name palette entries; without a palette,
// the sequence's own.
template <typename HasOwnFormat, typename Fill>
std::vector<std::pair<unsigned, chart::Colour>> addedColours(const model::Palette* palette, unsigned firstAdded,
                                                             unsigned points, HasOwnFormat hasOwnFormat, Fill fill)
{
    std::map<unsigned, std::uint32_t> chosen;
    const auto shownFill = [&](unsigned point) -> std::optional<std::uint32_t> {
        if (const auto found = chosen.find(point); found != chosen.end())
            return found->second;
        return fill(point);
    };
    std::vector<std::pair<unsigned, chart::Colour>> fills;
    for (unsigned point = firstAdded; point < points; ++point) {
        if (hasOwnFormat(point))
            continue;
        const std::optional<std::uint32_t> before = point > 0 ? shownFill(point - 1) : std::nullopt;
        const std::optional<std::uint32_t> first = shownFill(0);
        for (std::size_t k = 0; k < SliceSequence.size(); ++k) {
            const std::uint32_t rgb = SliceSequence[(point + k) % SliceSequence.size()];
            const chart::Colour candidate = palette ? nearestEntry(*palette, rgb) : chart::Colour{rgb, 0};
            if (candidate.rgb != before && candidate.rgb != first) {
                fills.emplace_back(point, candidate);
                chosen[point] = candidate.rgb;
                break;
            }
        }
    }
    return fills;
}

// The number of points of a series, from its values' area; nothing without one.
std::optional<unsigned> pointCount(const model::ChartSeries& series)
{
    if (!series.values)
        return std::nullopt;
    return static_cast<unsigned>(series.values->range.lastRow - series.values->range.firstRow + 1);
}

// Takes the points that a fill added to a chart's pies, forgetting them; nothing for a chart of another type.
std::map<std::size_t, unsigned> takeAddedPoints(model::Chart& chart)
{
    std::map<std::size_t, unsigned> added = std::move(chart.addedPoints);
    chart.addedPoints.clear();
    if (chart.type() != model::ChartType::Pie && chart.type() != model::ChartType::Doughnut)
        return {};
    return added;
}

// The new points of a chart that has no records (read from a package, or to be written from the model):
// each takes the look of the point before it in a colour of the sequence, as its own format in the model.
// A series whose points all take the reader's automatic colours is left as it is.
void colourModelChart(model::Chart& chart)
{
    for (const auto& added : takeAddedPoints(chart)) {
        const std::size_t index = added.first;
        const unsigned firstAdded = added.second;
        model::ChartSeries& series = chart.series.at(index);
        const std::optional<unsigned> points = pointCount(series);
        const auto solid = [](const model::PointFormat& format) { return format.fill.kind == model::ChartFill::Kind::Solid; };
        const bool fixedColours = solid(series.format) ||
                                  std::any_of(series.points.begin(), series.points.end(),
                                              [&](const auto& point) { return solid(point.second); });
        if (!points || !fixedColours)
            continue;
        const auto fills = addedColours(
            nullptr, firstAdded, *points, [&](unsigned point) { return series.points.contains(point); },
            [&](unsigned point) -> std::optional<std::uint32_t> {
                const model::ChartFill fill = chart.pointFormat(index, point).fill;
                return fill.kind == model::ChartFill::Kind::Solid ? std::optional(fill.colour) : std::nullopt;
            });
        for (const auto& [point, colour] : fills) {
            model::PointFormat format = chart.pointFormat(index, point > 0 ? point - 1 : 0);
            format.fill = {model::ChartFill::Kind::Solid, colour.rgb};
            series.points[point] = format;
        }
    }
}

} // namespace

void colourAddedSlices(model::Workbook& workbook)
{
    for (model::Sheet& owner : workbook.sheets) {
        for (model::Chart& chart : owner.charts) {
            if (chart.records.empty()) {
                colourModelChart(chart);
                continue;
            }
            for (const auto& [series, firstAdded] : takeAddedPoints(chart)) {
                const std::optional<unsigned> points = pointCount(chart.series.at(series));
                const PointFormats formats(chart, series);
                if (!points || !formats.seriesFill())
                    continue;
                const auto fills = addedColours(
                    &workbook.palette, firstAdded, *points, [&](unsigned point) { return formats.hasOwnFormat(point); },
                    [&](unsigned point) -> std::optional<std::uint32_t> {
                        const std::optional<chart::Colour> fill = formats.fill(point);
                        return fill ? std::optional(shown(workbook.palette, *fill)) : std::nullopt;
                    });
                addPointFills(owner, chart, series, fills);
            }
        }
    }
}

void colourAddedModelSlices(model::Workbook& workbook)
{
    for (model::Sheet& owner : workbook.sheets)
        for (model::Chart& chart : owner.charts)
            colourModelChart(chart);
}

} // namespace sheet::biff
