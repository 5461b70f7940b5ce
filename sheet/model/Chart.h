#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Font.h"
#include "sheet/model/Record.h"
#include "sheet/model/RichText.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A chart as every format knows it: its groups of series and their type, the series with where their
// data come from, the look of each point, the axes, the legend, the titles and the areas. The reader of
// a workbook fills it, the drawing and the writers read it. Where a chart lies is its sheet's business:
// the DrawingObject whose chartIndex names it gives its anchor, and a chart sheet's chart is the sheet's
// first chart.
namespace sheet::model {

// A reference of a chart to cells: the sheet (index into Workbook::sheets, -1 when unknown) and the cells.
struct RangeReference {
    int sheet = -1;
    CellRange range;
};

using Rgb = std::uint32_t; // 0xRRGGBB

// How an area is filled: as the reader of the chart likes, not at all, or in one colour.
struct ChartFill {
    enum class Kind { Automatic, None, Solid };
    Kind kind = Kind::Automatic;
    Rgb colour = 0;
    friend bool operator==(const ChartFill&, const ChartFill&) = default;
};

// How a line (a border, an axis, a gridline, a series' line) is drawn.
struct ChartLine {
    enum class Kind { Automatic, None, Solid };
    enum class Dash { Solid, Dash, Dot, DashDot, DashDotDot };
    Kind kind = Kind::Automatic;
    Rgb colour = 0;
    Dash dash = Dash::Solid;
    int weight = 0; // -1 hairline, 0 narrow, 1 medium, 2 wide
    friend bool operator==(const ChartLine&, const ChartLine&) = default;
};

// The mark of a point of a line, scatter or radar chart.
struct ChartMarker {
    enum class Shape { Automatic, None, Square, Diamond, Triangle, Cross, Star, Dot, Dash, Circle, Plus };
    Shape shape = Shape::Automatic;
    Rgb foreground = 0;
    Rgb background = 0;
    bool automaticColours = true;
    int size = 5; // points
    friend bool operator==(const ChartMarker&, const ChartMarker&) = default;
};

// A text of the chart (a title, the data labels, the legend): its runs, the font and colour they take
// unless a run has its own, and for a title, the text as one string.
struct ChartText {
    std::vector<TextRun> runs;
    Font font;
    std::optional<Rgb> colour; // nothing for the automatic colour

    std::string plain() const { return plainText(runs); }
};

// What the data labels of a point show.
struct DataLabels {
    bool value = false;
    bool percent = false;
    bool category = false;
    bool seriesName = false;
    bool bubbleSize = false;
    bool legendKey = false;
    friend bool operator==(const DataLabels&, const DataLabels&) = default;
    bool any() const { return value || percent || category || seriesName || bubbleSize; }
};

// The look of a series or of one of its points; what a point leaves unset it takes from its series.
struct PointFormat {
    ChartFill fill;
    ChartLine line;
    std::optional<double> explosion; // a pie slice's distance from the centre, a fraction of the radius
    std::optional<ChartMarker> marker;
    std::optional<DataLabels> labels;
};

// One series of a chart: where its name, values, categories and bubble sizes come from, the values and
// categories as the file last saw them, and the look of the series and of the points that have their own.
struct ChartSeries {
    std::optional<RangeReference> name;
    std::optional<RangeReference> values;
    std::optional<RangeReference> categories;
    std::optional<RangeReference> sizes;
    std::string nameText; // a name that is no reference
    std::vector<std::optional<double>> cachedValues;
    std::vector<std::string> cachedCategories;
    std::size_t group = 0; // index into Chart::groups
    PointFormat format;
    std::map<unsigned, PointFormat> points;
};

enum class ChartType {
    Column, Bar, Line, Area, Scatter, Pie, Doughnut, Radar, FilledRadar, Stock, Surface, Bubble, PieOfPie, BarOfPie,
    Other
};

enum class Grouping { Standard, Clustered, Stacked, PercentStacked };

// The series drawn together in one type, on one pair of axes.
struct ChartGroup {
    ChartType type = ChartType::Other;
    Grouping grouping = Grouping::Standard;
    bool varyColours = false;       // each point in a colour of its own
    bool secondaryAxes = false;
    double firstSliceAngle = 0;     // pie and doughnut: degrees clockwise from twelve o'clock
    unsigned holePercent = 0;       // doughnut
    bool leaderLines = false;       // pie
    int gapWidth = 150;             // column and bar: percent of a bar's width
    int overlap = 0;                // column and bar: percent of a bar's width that bars overlap
    bool wireframe = false;         // surface: drawn as lines, without fill
    bool highLowLines = false;      // line and stock
    bool upDownBars = false;
};

// How a chart in three dimensions is seen.
struct View3d {
    double rotation = 0;       // degrees about the vertical axis
    double elevation = 15;     // degrees above the floor
    double heightPercent = 100;
    double depthPercent = 100;
    double perspective = 0;    // the strength of the perspective, 0 (none) to 100
    bool rightAngleAxes = false;
};

// An axis: what it measures, its scale, the number format of its labels, its gridlines and its title.
struct ChartAxis {
    enum class Kind { Category, Value, Series };
    enum class Position { Bottom, Left, Top, Right };
    Kind kind = Kind::Value;
    Position position = Position::Left;
    bool secondary = false;
    bool visible = true;
    std::optional<double> minimum, maximum, majorUnit, minorUnit;
    bool logarithmic = false;
    bool reversed = false;
    std::string numberFormat; // empty: as the data have it
    std::optional<ChartLine> majorGridlines;
    std::optional<ChartLine> minorGridlines;
    ChartLine line;
    std::optional<ChartText> title;
};

struct ChartLegend {
    enum class Place { Bottom, Corner, Top, Right, Left };
    Place place = Place::Right;
    ChartText text;
    ChartFill fill;
    ChartLine border;
};

// A rectangle as fractions of the chart area.
struct ChartRect {
    double x = 0, y = 0, width = 0, height = 0;
};

// A chart's own size in points, which a chart sheet shows it at.
struct ChartSize {
    double width = 0, height = 0;
};

struct ChartArea {
    ChartFill fill;
    ChartLine border;
};

// An embedded chart or the chart of a chart sheet. `records` keeps its BIFF8 substream (BOF of type 0x0020
// to its EOF, with CONTINUE merged), which an .xls workbook is written back from; the rest describes it.
struct Chart {
    std::vector<Record> records;
    std::vector<std::size_t> sourceRecords; // for each record, its index in Sheet::records

    std::vector<ChartGroup> groups;
    std::vector<ChartSeries> series;
    std::vector<ChartAxis> axes;
    std::optional<View3d> view3d; // nothing for a flat chart
    std::optional<ChartText> title;
    std::optional<ChartLegend> legend;
    ChartArea chartArea;
    ChartArea plotArea;
    std::optional<ChartRect> plotLayout; // the inner plot area; nothing for the reader's own placement
    std::optional<ChartSize> size;       // nothing when the file does not say
    ChartText labelText;                 // the data labels' font and colour
    std::optional<std::string> labelSeparator;

    // The points that a fill added to a series, from the first of them on, until they get colours of their
    // own when the workbook is written or drawn: series -> first added point.
    std::map<std::size_t, unsigned> addedPoints;

    // The type of the first group; Other for a chart without groups.
    ChartType type() const { return groups.empty() ? ChartType::Other : groups.front().type; }
    bool threeD() const { return view3d.has_value(); }
    // Whether the chart has groups and every one draws pies or doughnuts.
    bool drawsPies() const;
    // Whether the chart has groups and every one is of a type the engine knows.
    bool knownType() const;
    // The look of a point of a series: its own where it has one, the series' otherwise.
    PointFormat pointFormat(std::size_t series, unsigned point) const;
};

// "a pie chart", "an area chart" ...: a chart of a type, named in a sentence.
std::string chartTypeName(ChartType type);

} // namespace sheet::model
