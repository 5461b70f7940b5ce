#pragma once

#include "sheet/biff/FontRuns.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/model/Record.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

// The records of a chart substream, read as typed fields from their bytes with the CONTINUE records merged.
// A chart is taken as far as its records go: a field that lies past the end of a short record reads as zero.
namespace sheet::biff::chart {

// The blocks of a chart's records: a BEGIN record opens a block that belongs to the record before it (a
// SERIES, a FRAME, a TEXT ...), and an END record closes the innermost one.
class Blocks {
public:
    // The record type the innermost open block belongs to, 0 outside every block.
    std::uint16_t innermost() const { return owners_.empty() ? 0 : owners_.back(); }
    // The record type the block around the innermost one belongs to, 0 when there is none.
    std::uint16_t enclosing() const { return owners_.size() < 2 ? 0 : owners_[owners_.size() - 2]; }
    std::size_t depth() const { return owners_.size(); }

    void open(std::uint16_t owner) { owners_.push_back(owner); }
    void close()
    {
        if (!owners_.empty())
            owners_.pop_back();
    }

private:
    std::vector<std::uint16_t> owners_;
};

// Walks a chart's records in order: `visit(record, blocks)` for each record other than BEGIN and END, and
// `closing(blocks)` for each END, before the block it closes leaves `blocks`.
template <typename Visit, typename Closing>
void walk(std::span<const model::Record> records, Visit visit, Closing closing)
{
    Blocks blocks;
    std::uint16_t previous = 0;
    for (const model::Record& record : records) {
        if (record.type == rt::ChartBegin) {
            blocks.open(previous);
        } else if (record.type == rt::ChartEnd) {
            closing(std::as_const(blocks));
            blocks.close();
        } else {
            visit(record, std::as_const(blocks));
        }
        previous = record.type;
    }
}

// A colour as a chart record gives it: red, green and blue of its own, and a palette index that takes
// their place when it names a palette entry (8 to 63).
struct Colour {
    std::uint32_t rgb = 0; // 0xRRGGBB
    unsigned paletteIndex = 0;
};

// PIE: the chart group draws pies.
struct Pie {
    unsigned firstSliceAngle = 0; // degrees
    unsigned donutHolePercent = 0;
    bool leaderLines = false;
};
Pie readPie(const model::Record& record);

// CHART3D: the chart is drawn in three dimensions.
struct Chart3d {
    unsigned rotation = 0; // degrees
    int elevation = 0;     // degrees
    unsigned heightPercent = 0;
    unsigned distance = 0; // the strength of the perspective, 0 to 100
    unsigned depthPercent = 100;
    bool perspective = false;
};
Chart3d readChart3d(const model::Record& record);

// AREAFORMAT: how an area (a slice, a frame's inside) is filled.
struct AreaFormat {
    Colour foreground;
    unsigned pattern = 0; // 0 paints nothing
    bool automatic = false;
};
AreaFormat readAreaFormat(const model::Record& record);

// LINEFORMAT: how a line (a frame's border) is drawn.
struct LineFormat {
    static constexpr unsigned NoLine = 5;

    Colour colour;
    unsigned style = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none, 6-8 dark to light grey
    int weight = 0;      // -1 hairline, 0 narrow, 1 medium, 2 wide
    bool automatic = false;
};
LineFormat readLineFormat(const model::Record& record);

// POS: where a chart part lies, in the units its modes give.
struct Pos {
    static constexpr unsigned ParentMode = 2; // 1/4000 of the chart area, the last two as width and height

    unsigned topLeftMode = 0;
    unsigned bottomRightMode = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
Pos readPos(const model::Record& record);

// LEGEND: where the legend stands.
struct Legend {
    unsigned placement = 0; // 0 bottom, 1 corner, 2 top, 3 right, 4 left, 7 not docked
};
Legend readLegend(const model::Record& record);

// SHTPROPS: whether the plot area is always placed automatically.
bool alwaysAutoPlotArea(const model::Record& shtProps);

// TEXT: a text of the chart (the title, a data label ...); its colour is its own unless automatic.
struct Text {
    std::uint32_t rgb = 0; // 0xRRGGBB
    bool automaticColour = false;
};
Text readText(const model::Record& record);

// FONTX: the workbook font a text takes.
unsigned fontIndex(const model::Record& fontX);

// OBJECTLINK: what a text belongs to.
inline constexpr unsigned TitleLink = 1;
inline constexpr unsigned ValueAxisTitleLink = 2;
inline constexpr unsigned CategoryAxisTitleLink = 3;
inline constexpr unsigned DataLabelLink = 4;
inline constexpr unsigned SeriesAxisTitleLink = 7;
unsigned linkedObject(const model::Record& objectLink);

// SERIESTEXT: the characters of a text.
std::u16string readSeriesText(const model::Record& record);

// ALRUNS: where the characters of a text take another font.
std::vector<FontRun> readTextRuns(const model::Record& alRuns);

// DATALABEXTCONTENTS: the separator between the parts of a data label, when the record holds one.
std::optional<std::u16string> dataLabelSeparator(const model::Record& record);

// DATAFORMAT: which point of a series the formats in its block apply to.
inline constexpr unsigned WholeSeries = 0xFFFF;
unsigned dataPoint(const model::Record& dataFormat);

// PIEFORMAT: how far a slice stands out, in percent of the radius.
unsigned explodePercent(const model::Record& pieFormat);

// ATTACHEDLABEL: what the data labels show.
struct LabelContents {
    bool value = false;
    bool percent = false;
    bool category = false;
    bool bubbleSize = false;
    bool seriesName = false;
};
LabelContents readAttachedLabel(const model::Record& record);

// MARKERFORMAT: the mark of a point.
struct MarkerFormat {
    Colour foreground;
    Colour background;
    unsigned shape = 0; // 0 none, 1 square, 2 diamond, 3 triangle, 4 X, 5 star, 6 dot, 7 dash, 8 circle, 9 plus
    bool automatic = false;
    unsigned sizeTwips = 0;
};
MarkerFormat readMarkerFormat(const model::Record& record);

// The chart group types and their flags: BAR (column or bar), LINE, AREA, SCATTER and BOPPOP.
struct Bar {
    int overlap = 0;
    unsigned gap = 150;
    bool horizontal = false;
    bool stacked = false;
    bool percent = false;
};
Bar readBar(const model::Record& record);
// LINE and AREA: stacked and 100 % stacked.
struct Stacking {
    bool stacked = false;
    bool percent = false;
};
Stacking readStacking(const model::Record& lineOrArea);
// SCATTER: whether it draws bubbles.
bool drawsBubbles(const model::Record& scatter);
// SURFACE: whether the surface is filled rather than drawn as a wireframe.
bool fillsSurface(const model::Record& surface);
// CATSERRANGE: whether the category (or series) axis runs from its end to its start.
bool reversedCategories(const model::Record& catSerRange);
// CHART: the chart's size in points.
struct Size {
    double width = 0, height = 0;
};
Size readChartSize(const model::Record& chart);
// BOPPOP: 1 a pie of a pie, 2 a bar of a pie.
unsigned secondaryPieKind(const model::Record& bopPop);
// CHARTFORMAT: whether each point of a single series takes a colour of its own.
bool variedColours(const model::Record& chartFormat);
// SERTOCRT: the chart group (in the order of the CHARTFORMAT records) a series belongs to.
unsigned chartGroupOf(const model::Record& serToCrt);
// AXISPARENT: 0 for the primary axes, 1 for the secondary ones.
unsigned axisSet(const model::Record& axisParent);
// CRTLINE: 0 drop lines, 1 high-low lines, 2 series lines, 3 leader lines.
unsigned chartLineKind(const model::Record& crtLine);

// AXIS: 0 the category axis, 1 the value axis, 2 the series axis.
unsigned axisKind(const model::Record& axis);
// VALUERANGE: the scale of a value axis; a bound that is automatic is left out.
struct ValueRange {
    std::optional<double> minimum, maximum, majorUnit, minorUnit;
    bool logarithmic = false;
    bool reversed = false;
};
ValueRange readValueRange(const model::Record& record);
// AXISLINEFORMAT: which line the LINEFORMAT after it draws: 0 the axis, 1 major gridlines, 2 minor ones.
unsigned axisLine(const model::Record& axisLineFormat);
// IFMT: the number format (its index among the workbook's formats) of an axis' or a label's numbers.
unsigned numberFormatIndex(const model::Record& iFmt);

// SIINDEX: what the cached NUMBER and LABEL records after it hold: 1 values, 2 categories, 3 bubble sizes.
unsigned cachedPart(const model::Record& siIndex);
// A cached point (NUMBER or LABEL in a chart): its point, its series and its value.
struct CachedPoint {
    unsigned point = 0;
    unsigned series = 0;
    double number = 0;
    std::u16string text;
};
CachedPoint readCachedNumber(const model::Record& number);
CachedPoint readCachedLabel(const model::Record& label);

// BRAI: where a series takes its name, its values or its categories from.
enum class SeriesPart : std::uint8_t { Name = 0, Values = 1, Categories = 2, Sizes = 3 };
struct Brai {
    std::uint8_t id = 0;  // a SeriesPart
    bool refersToCells = false;
    std::span<const std::uint8_t> formula;
};
// Nothing when the record is too short for its fields or for the formula it claims.
std::optional<Brai> readBrai(const model::Record& record);

} // namespace sheet::biff::chart
