#pragma once

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
    unsigned style = 0;
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
inline constexpr unsigned DataLabelLink = 4;
unsigned linkedObject(const model::Record& objectLink);

// SERIESTEXT: the characters of a text.
std::u16string readSeriesText(const model::Record& record);

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
};
LabelContents readAttachedLabel(const model::Record& record);

// BRAI: where a series takes its name, its values or its categories from.
enum class SeriesPart : std::uint8_t { Name = 0, Values = 1, Categories = 2 };
struct Brai {
    std::uint8_t id = 0;  // a SeriesPart
    bool refersToCells = false;
    std::span<const std::uint8_t> formula;
};
// Nothing when the record is too short for its fields or for the formula it claims.
std::optional<Brai> readBrai(const model::Record& record);

} // namespace sheet::biff::chart
