#include "sheet/biff/SliceColours.h"

#include "sheet/biff/PointFormats.h"

#include <algorithm>
#include <array>
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

// The new slices of a chart that came without records (from a package): each takes the look of the
// slice before it in a colour of the sequence, as its own point format in the model.
void colourModelSlices(model::Chart& chart, std::size_t series, unsigned firstAdded)
{
    model::ChartSeries& target = chart.series.at(series);
    if (!target.values)
        return;
    const bool ownFills = std::any_of(target.points.begin(), target.points.end(), [](const auto& point) {
        return point.second.fill.kind == model::ChartFill::Kind::Solid;
    });
    if (!ownFills)
        return; // the points take their colours from the reader
    const model::CellRange& range = target.values->range;
    const auto points = static_cast<unsigned>((range.lastRow - range.firstRow + 1) * (range.lastColumn - range.firstColumn + 1));
    const auto shownFill = [&](unsigned point) -> std::optional<std::uint32_t> {
        const model::PointFormat format = chart.pointFormat(series, point);
        return format.fill.kind == model::ChartFill::Kind::Solid ? std::optional(format.fill.colour) : std::nullopt;
    };
    for (unsigned point = firstAdded; point < points; ++point) {
        if (target.points.contains(point))
            continue;
        const std::optional<std::uint32_t> before = point > 0 ? shownFill(point - 1) : std::nullopt;
        const std::optional<std::uint32_t> first = shownFill(0);
        for (std::size_t k = 0; k < SliceSequence.size(); ++k) {
            const std::uint32_t candidate = SliceSequence[(point + k) % SliceSequence.size()];
            if (candidate != before && candidate != first) {
                model::PointFormat look = chart.pointFormat(series, point > 0 ? point - 1 : 0);
                look.fill = {model::ChartFill::Kind::Solid, candidate};
                target.points[point] = look;
                break;
            }
        }
    }
}

} // namespace

void colourAddedSlices(model::Workbook& workbook)
{
    for (model::Sheet& owner : workbook.sheets) {
        for (model::Chart& chart : owner.charts) {
            const std::map<std::size_t, unsigned> added = std::move(chart.addedPoints);
            chart.addedPoints.clear();
            if (chart.type() != model::ChartType::Pie && chart.type() != model::ChartType::Doughnut)
                continue;
            for (const auto& [series, firstAdded] : added) {
                if (chart.records.empty()) {
                    colourModelSlices(chart, series, firstAdded);
                    continue;
                }
                const std::optional<model::RangeReference>& values = chart.series.at(series).values;
                if (!values)
                    continue;
                const auto points = static_cast<unsigned>(values->range.lastRow - values->range.firstRow + 1);
                const PointFormats formats(chart, series);
                if (!formats.seriesFill())
                    continue;
                std::map<unsigned, std::uint32_t> chosen;
                const auto shownFill = [&](unsigned point) -> std::optional<std::uint32_t> {
                    if (const auto found = chosen.find(point); found != chosen.end())
                        return found->second;
                    const std::optional<chart::Colour> fill = formats.fill(point);
                    return fill ? std::optional(shown(workbook.palette, *fill)) : std::nullopt;
                };
                std::vector<std::pair<unsigned, chart::Colour>> fills;
                for (unsigned point = firstAdded; point < points; ++point) {
                    if (formats.hasOwnFormat(point))
                        continue;
                    const std::optional<std::uint32_t> before = point > 0 ? shownFill(point - 1) : std::nullopt;
                    const std::optional<std::uint32_t> first = shownFill(0);
                    for (std::size_t k = 0; k < SliceSequence.size(); ++k) {
                        const chart::Colour candidate
                            = nearestEntry(workbook.palette, SliceSequence[(point + k) % SliceSequence.size()]);
                        if (candidate.rgb != before && candidate.rgb != first) {
                            fills.emplace_back(point, candidate);
                            chosen[point] = candidate.rgb;
                            break;
                        }
                    }
                }
                addPointFills(owner, chart, series, fills);
            }
        }
    }
}

} // namespace sheet::biff
