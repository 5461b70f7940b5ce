#include "sheet/biff/ChartPalette.h"

#include <algorithm>
#include <set>
#include <vector>

namespace sheet::biff {
namespace {

constexpr int FirstEntry = 8;
constexpr int LastEntry = 63;

class ColourList {
public:
    void fill(const model::ChartFill& fill)
    {
        if (fill.kind == model::ChartFill::Kind::Solid)
            add(fill.colour);
    }
    void line(const model::ChartLine& line)
    {
        if (line.kind == model::ChartLine::Kind::Solid)
            add(line.colour);
    }
    void text(const std::optional<model::ChartText>& text)
    {
        if (text && text->colour)
            add(*text->colour);
    }
    void point(const model::PointFormat& format)
    {
        fill(format.fill);
        line(format.line);
        if (format.marker && !format.marker->automaticColours) {
            add(format.marker->foreground);
            add(format.marker->background);
        }
    }
    void add(model::Rgb rgb)
    {
        if (std::find(colours_.begin(), colours_.end(), rgb) == colours_.end())
            colours_.push_back(rgb);
    }
    const std::vector<model::Rgb>& colours() const { return colours_; }

private:
    std::vector<model::Rgb> colours_; // in the order first met
};

ColourList chartColours(const model::Workbook& workbook)
{
    ColourList list;
    for (const model::Sheet& sheet : workbook.sheets) {
        for (const model::Chart& chart : sheet.charts) {
            for (const model::ChartSeries& series : chart.series) {
                list.point(series.format);
                for (const auto& [point, format] : series.points)
                    list.point(format);
            }
            for (const model::ChartArea* area : {&chart.chartArea, &chart.plotArea}) {
                list.fill(area->fill);
                list.line(area->border);
            }
            if (chart.legend) {
                list.fill(chart.legend->fill);
                list.line(chart.legend->border);
                if (chart.legend->text.colour)
                    list.add(*chart.legend->text.colour);
            }
            list.text(chart.title);
            if (chart.labelText.colour)
                list.add(*chart.labelText.colour);
            for (const model::ChartAxis& axis : chart.axes) {
                list.line(axis.line);
                if (axis.majorGridlines)
                    list.line(*axis.majorGridlines);
                if (axis.minorGridlines)
                    list.line(*axis.minorGridlines);
                list.text(axis.title);
            }
        }
    }
    return list;
}

std::set<int> usedEntries(const model::Workbook& workbook)
{
    std::set<int> used;
    for (const model::Xf& xf : workbook.xfs)
        for (int index : {xf.patternForeground, xf.patternBackground, xf.left.colorIndex, xf.right.colorIndex,
                          xf.top.colorIndex, xf.bottom.colorIndex})
            used.insert(index);
    for (const model::Font& font : workbook.fonts)
        used.insert(font.colorIndex);
    return used;
}

} // namespace

void addChartColours(model::Workbook& workbook)
{
    const ColourList list = chartColours(workbook);
    if (list.colours().empty())
        return;
    const std::set<int> used = usedEntries(workbook);
    std::set<int> taken;
    int next = LastEntry;
    for (model::Rgb rgb : list.colours()) {
        int present = 0;
        for (int index = FirstEntry; index <= LastEntry && !present; ++index)
            if (workbook.palette.rgb(index) == rgb)
                present = index;
        if (present) {
            taken.insert(present); // kept for this colour
            continue;
        }
        while (next >= FirstEntry && (used.contains(next) || taken.contains(next)))
            --next;
        if (next < FirstEntry)
            return;
        workbook.palette.colors[static_cast<std::size_t>(next - FirstEntry)] = rgb;
        taken.insert(next);
    }
}

} // namespace sheet::biff
