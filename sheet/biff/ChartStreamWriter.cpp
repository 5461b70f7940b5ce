#include "sheet/biff/ChartStreamWriter.h"

#include "sheet/biff/ChartRecords.h"
#include "sheet/biff/ModelGlobals.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/UnicodeText.h"
#include "sheet/io/ByteWriter.h"
#include "sheet/text/Utf16.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sheet::biff {
namespace {

constexpr std::uint16_t Units = 0x1001, ChartRecord = 0x1002, PlotGrowth = 0x1064, AxesUsed = 0x1046,
                        PlotArea = 0x1035, CatSerRange = 0x1020, AxcExt = 0x1062, Tick = 0x101E,
                        Chart3dBarShape = 0x105F, Header = 0x0014, Footer = 0x0015, HCenter = 0x0083,
                        VCenter = 0x0084, Setup = 0x00A1, PrintSize = 0x0033;
constexpr std::uint16_t AutomaticForeground = 0x4D, AutomaticBackground = 0x4E;
constexpr double ChartUnits = 4000.0;

using Body = std::vector<std::uint8_t>;

// The palette entry (8 to 63) whose colour is nearest to `rgb`, the exact one when there is one.
std::uint16_t paletteIndex(const model::Palette& palette, model::Rgb rgb)
{
    int best = 8;
    long bestDistance = std::numeric_limits<long>::max();
    for (int index = 8; index <= 63; ++index) {
        const model::Rgb entry = palette.rgb(index);
        long distance = 0;
        for (int shift : {16, 8, 0}) {
            const long d = static_cast<long>((entry >> shift) & 0xFF) - static_cast<long>((rgb >> shift) & 0xFF);
            distance += d * d;
        }
        if (distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return static_cast<std::uint16_t>(best);
}

void rgbBytes(io::ByteWriter& w, model::Rgb rgb)
{
    w.u8(static_cast<std::uint8_t>(rgb >> 16));
    w.u8(static_cast<std::uint8_t>(rgb >> 8));
    w.u8(static_cast<std::uint8_t>(rgb));
    w.u8(0);
}

std::uint16_t lineStyle(model::ChartLine::Dash dash)
{
    switch (dash) {
    case model::ChartLine::Dash::Dash: return 1;
    case model::ChartLine::Dash::Dot: return 2;
    case model::ChartLine::Dash::DashDot: return 3;
    case model::ChartLine::Dash::DashDotDot: return 4;
    default: return 0;
    }
}

std::uint16_t markerShape(model::ChartMarker::Shape shape)
{
    using Shape = model::ChartMarker::Shape;
    switch (shape) {
    case Shape::None: return 0;
    case Shape::Diamond: return 2;
    case Shape::Triangle: return 3;
    case Shape::Cross: return 4;
    case Shape::Star: return 5;
    case Shape::Dot: return 6;
    case Shape::Dash: return 7;
    case Shape::Circle: return 8;
    case Shape::Plus: return 9;
    default: return 1;
    }
}

bool drawsPie(model::ChartType type)
{
    return type == model::ChartType::Pie || type == model::ChartType::Doughnut || type == model::ChartType::PieOfPie ||
           type == model::ChartType::BarOfPie;
}

bool valuesOnBothAxes(model::ChartType type)
{
    return type == model::ChartType::Scatter || type == model::ChartType::Bubble;
}

std::size_t cellCount(const std::optional<model::RangeReference>& reference)
{
    if (!reference)
        return 0;
    const model::CellRange& r = reference->range;
    return static_cast<std::size_t>(r.lastRow - r.firstRow + 1) * static_cast<std::size_t>(r.lastColumn - r.firstColumn + 1);
}

model::ChartGroup columnGroup()
{
    model::ChartGroup group;
    group.type = model::ChartType::Column;
    group.grouping = model::Grouping::Clustered;
    return group;
}

class ChartStream {
public:
    ChartStream(const model::Chart& chart, const model::Workbook& workbook, FontTable& fonts, ExternSheetTable& links,
                std::vector<std::uint8_t>& out)
        : chart_(chart), workbook_(workbook), fonts_(fonts), links_(links), out_(out)
    {
    }

    void write(ChartSize size, ChartPlace place)
    {
        put(rt::Bof, bofBody(rt::ChartKind));
        put(Header, {});
        put(Footer, {});
        u16Record(HCenter, 0);
        u16Record(VCenter, 0);
        writeSetup();
        u16Record(PrintSize, 3); // the chart fills the page
        u16Record(Units, 0);
        Body placement;
        io::ByteWriter w(placement);
        w.u32(0);
        w.u32(0);
        w.u32(static_cast<std::uint32_t>(std::lround(size.width * 65536)));
        w.u32(static_cast<std::uint32_t>(std::lround(size.height * 65536)));
        put(ChartRecord, placement);
        begin();
        Body growth;
        io::ByteWriter(growth).u32(0x10000);
        io::ByteWriter(growth).u32(0x10000);
        put(PlotGrowth, growth);
        writeFrame(chart_.chartArea, true);
        for (std::size_t s = 0; s < chart_.series.size(); ++s)
            writeSeries(s);
        Body properties;
        io::ByteWriter p(properties);
        p.u16(chart_.plotLayout ? 0x000A : 0x0012); // only visible cells; a plot area of its own or automatic
        p.u16(0);
        put(rt::ShtProps, properties);
        const bool secondary = std::any_of(chart_.groups.begin(), chart_.groups.end(),
                                           [](const model::ChartGroup& g) { return g.secondaryAxes; });
        u16Record(AxesUsed, secondary ? 2 : 1);
        writeAxisParent(false);
        if (secondary)
            writeAxisParent(true);
        if (chart_.title)
            writeText(*chart_.title, 1, 0, 0, 0x0080, true);
        for (const model::ChartAxis& axis : chart_.axes)
            if (axis.title)
                writeText(*axis.title, axisTitleLink(axis), 0, 0, 0x0080, true);
        for (std::size_t s = 0; s < chart_.series.size(); ++s)
            if (const auto shown = seriesLabels(s))
                writeText(chart_.labelText, 4, static_cast<std::uint16_t>(s), 0xFFFF, labelFlags(*shown), false);
        end();
        if (place != ChartPlace::Embedded)
            writeChartSheetWindow(place == ChartPlace::ActiveSheet);
        put(rt::Eof, {});
    }

private:
    void put(std::uint16_t type, const Body& body) { appendRecord(out_, type, body); }
    void u16Record(std::uint16_t type, std::uint16_t value)
    {
        Body body;
        io::ByteWriter(body).u16(value);
        put(type, body);
    }
    void begin() { put(rt::ChartBegin, {}); }
    void end() { put(rt::ChartEnd, {}); }

    void writeSetup()
    {
        Body body;
        io::ByteWriter w(body);
        for (std::uint16_t value : {0, 100, 1, 1, 1, 0x0006, 300, 300})
            w.u16(value); // paper, scale, first page, fit width and height, options (portrait, no printer data), dpi
        w.f64(0.5);       // header and footer margins, inches
        w.f64(0.5);
        w.u16(1);         // copies
        put(Setup, body);
    }

    void writeChartSheetWindow(bool active)
    {
        Body body;
        io::ByteWriter w(body);
        w.u16(active ? 0x0600 : 0); // selected and shown, or neither
        w.zeros(16);
        put(rt::Window2, body);
    }

    std::uint16_t colourIndex(model::Rgb rgb) const { return paletteIndex(workbook_.palette, rgb); }

    void writeLine(const model::ChartLine& line, bool axis = false)
    {
        Body body;
        io::ByteWriter w(body);
        switch (line.kind) {
        case model::ChartLine::Kind::Automatic:
            rgbBytes(w, 0);
            w.u16(0);
            w.u16(0);
            w.u16(static_cast<std::uint16_t>(0x0009 | (axis ? 0x0004 : 0)));
            w.u16(AutomaticForeground);
            break;
        case model::ChartLine::Kind::None:
            rgbBytes(w, 0);
            w.u16(5);
            w.u16(0xFFFF);
            w.u16(0);
            w.u16(AutomaticForeground);
            break;
        case model::ChartLine::Kind::Solid:
            rgbBytes(w, line.colour);
            w.u16(lineStyle(line.dash));
            w.u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(line.weight, -1, 2))));
            w.u16(axis ? 0x0004 : 0);
            w.u16(colourIndex(line.colour));
            break;
        }
        put(rt::LineFormat, body);
    }

    void writeArea(const model::ChartFill& fill)
    {
        Body body;
        io::ByteWriter w(body);
        switch (fill.kind) {
        case model::ChartFill::Kind::Automatic:
            rgbBytes(w, 0xFFFFFF);
            rgbBytes(w, 0);
            w.u16(1);
            w.u16(1);
            w.u16(AutomaticBackground);
            break;
        case model::ChartFill::Kind::None:
            rgbBytes(w, 0xFFFFFF);
            rgbBytes(w, 0);
            w.u16(0);
            w.u16(0);
            w.u16(AutomaticBackground);
            break;
        case model::ChartFill::Kind::Solid:
            rgbBytes(w, fill.colour);
            rgbBytes(w, 0);
            w.u16(1);
            w.u16(0);
            w.u16(colourIndex(fill.colour));
            break;
        }
        w.u16(AutomaticForeground);
        put(rt::AreaFormat, body);
    }

    void writeFrame(const model::ChartArea& area, bool automaticSize)
    {
        Body frame;
        io::ByteWriter w(frame);
        w.u16(0); // no border style of its own
        w.u16(automaticSize ? 0x0003 : 0x0002);
        put(rt::Frame, frame);
        begin();
        writeLine(area.border);
        writeArea(area.fill);
        end();
    }

    // A BRAI record naming cells, or nothing (a text or automatic part).
    void writeReference(chart::SeriesPart part, const std::optional<model::RangeReference>& reference, bool oneCell,
                        const std::string& literalName = {})
    {
        Body body;
        io::ByteWriter w(body);
        w.u8(static_cast<std::uint8_t>(part));
        const std::optional<std::uint16_t> entry = reference ? links_.entryFor(reference->sheet) : std::nullopt;
        if (!entry) {
            w.u8(part == chart::SeriesPart::Name && !literalName.empty() ? 1 : 0); // a text, or as the reader likes
            w.u16(0);
            w.u16(0);
            w.u16(0);
            put(rt::Brai, body);
            return;
        }
        const model::CellRange& r = reference->range;
        w.u8(2); // cells of a sheet
        w.u16(0);
        w.u16(0);
        if (oneCell && r.firstRow == r.lastRow && r.firstColumn == r.lastColumn) {
            w.u16(7);
            w.u8(0x3A); // a cell on a sheet
            w.u16(*entry);
            w.u16(static_cast<std::uint16_t>(r.firstRow));
            w.u16(static_cast<std::uint16_t>(r.firstColumn));
        } else {
            w.u16(11);
            w.u8(0x3B); // an area on a sheet
            w.u16(*entry);
            w.u16(static_cast<std::uint16_t>(r.firstRow));
            w.u16(static_cast<std::uint16_t>(r.lastRow));
            w.u16(static_cast<std::uint16_t>(r.firstColumn));
            w.u16(static_cast<std::uint16_t>(r.lastColumn));
        }
        put(rt::Brai, body);
    }

    void writeSeriesText(const std::string& text)
    {
        Body body;
        io::ByteWriter(body).u16(0);
        std::u16string characters = text::toUtf16(text);
        if (characters.size() > 255)
            characters.resize(255);
        writeUnicodeString(body, characters, 1);
        put(rt::SeriesText, body);
    }

    void writeSeries(std::size_t index)
    {
        const model::ChartSeries& series = chart_.series[index];
        const model::ChartType type = groupOf(series).type;
        const std::size_t values = std::max(cellCount(series.values), series.cachedValues.size());
        const std::size_t categories = std::max(cellCount(series.categories), series.cachedCategories.size());
        Body body;
        io::ByteWriter w(body);
        w.u16(valuesOnBothAxes(type) ? 1 : 3); // categories: numbers or texts
        w.u16(1);                              // values: numbers
        w.u16(static_cast<std::uint16_t>(std::min<std::size_t>(categories ? categories : values, 0xFFFF)));
        w.u16(static_cast<std::uint16_t>(std::min<std::size_t>(values, 0xFFFF)));
        w.u16(1);
        w.u16(static_cast<std::uint16_t>(std::min<std::size_t>(cellCount(series.sizes), 0xFFFF)));
        put(rt::Series, body);
        begin();
        writeReference(chart::SeriesPart::Name, series.name, true, series.nameText);
        if (!series.nameText.empty())
            writeSeriesText(series.nameText);
        writeReference(chart::SeriesPart::Values, series.values, false);
        writeReference(chart::SeriesPart::Categories, series.categories, false);
        writeReference(chart::SeriesPart::Sizes, series.sizes, false);
        const bool bars3d = chart_.view3d && (type == model::ChartType::Column || type == model::ChartType::Bar);
        writePointFormat(series.format, 0xFFFF, index, bars3d);
        for (const auto& [point, format] : series.points)
            if (point < 0xFFFF)
                writePointFormat(format, static_cast<std::uint16_t>(point), index, bars3d);
        const std::size_t groups = std::max<std::size_t>(chart_.groups.size(), 1);
        u16Record(rt::SerToCrt, static_cast<std::uint16_t>(std::min(series.group, groups - 1)));
        end();
    }

    void writePointFormat(const model::PointFormat& format, std::uint16_t point, std::size_t series, bool bars3d)
    {
        Body body;
        io::ByteWriter w(body);
        w.u16(point);
        w.u16(static_cast<std::uint16_t>(series));
        w.u16(static_cast<std::uint16_t>(series));
        w.u16(0);
        put(rt::DataFormat, body);
        begin();
        if (bars3d)
            put(Chart3dBarShape, Body(2, 0));
        writeLine(format.line);
        writeArea(format.fill);
        if (format.explosion)
            u16Record(rt::PieFormat, static_cast<std::uint16_t>(std::lround(std::clamp(*format.explosion, 0.0, 4.0) * 100)));
        if (format.marker)
            writeMarker(*format.marker);
        if (format.labels)
            u16Record(rt::AttachedLabel, attachedLabelFlags(*format.labels));
        end();
    }

    void writeMarker(const model::ChartMarker& marker)
    {
        Body body;
        io::ByteWriter w(body);
        rgbBytes(w, marker.foreground);
        rgbBytes(w, marker.background);
        const bool automatic = marker.shape == model::ChartMarker::Shape::Automatic;
        w.u16(markerShape(marker.shape));
        w.u16(automatic ? 0x0001 : 0);
        w.u16(marker.automaticColours ? AutomaticForeground : colourIndex(marker.foreground));
        w.u16(marker.automaticColours ? AutomaticBackground : colourIndex(marker.background));
        w.u32(static_cast<std::uint32_t>(std::clamp(marker.size, 2, 72) * 20));
        put(rt::MarkerFormat, body);
    }

    static std::uint16_t attachedLabelFlags(const model::DataLabels& labels)
    {
        std::uint16_t flags = 0;
        if (labels.value)
            flags |= 0x0001;
        if (labels.percent)
            flags |= 0x0002;
        if (labels.percent && labels.category)
            flags |= 0x0004;
        if (labels.category)
            flags |= 0x0010;
        if (labels.bubbleSize)
            flags |= 0x0020;
        if (labels.seriesName)
            flags |= 0x0040;
        return flags;
    }

    // What a series' data labels show, from the series or its first point that has labels.
    std::optional<model::DataLabels> seriesLabels(std::size_t index) const
    {
        const model::ChartSeries& series = chart_.series[index];
        if (series.format.labels && series.format.labels->any())
            return series.format.labels;
        for (const auto& [point, format] : series.points)
            if (format.labels && format.labels->any())
                return format.labels;
        return std::nullopt;
    }

    static std::uint16_t labelFlags(const model::DataLabels& labels)
    {
        std::uint16_t flags = 0x0090; // automatic text and mode
        if (labels.value)
            flags |= 0x0004;
        if (labels.percent && labels.category)
            flags |= 0x0800;
        if (labels.percent)
            flags |= 0x1000;
        if (labels.bubbleSize)
            flags |= 0x2000;
        if (labels.category)
            flags |= 0x4000;
        return flags;
    }

    static std::uint16_t axisTitleLink(const model::ChartAxis& axis)
    {
        switch (axis.kind) {
        case model::ChartAxis::Kind::Category: return 3;
        case model::ChartAxis::Kind::Series: return 7;
        default: return 2;
        }
    }

    void writePos(std::uint16_t topLeftMode, std::uint16_t bottomRightMode, int x1, int y1, int x2, int y2)
    {
        Body body;
        io::ByteWriter w(body);
        w.u16(topLeftMode);
        w.u16(bottomRightMode);
        for (int value : {x1, y1, x2, y2})
            w.u32(static_cast<std::uint32_t>(value));
        put(rt::Pos, body);
    }

    // A TEXT block: the title (link 1), an axis title (2, 3, 7) or a series' data labels (4).
    void writeText(const model::ChartText& text, std::uint16_t link, std::uint16_t series, std::uint16_t point,
                   std::uint16_t flags, bool ownText)
    {
        Body body;
        io::ByteWriter w(body);
        w.u8(2); // centred
        w.u8(2);
        w.u16(1); // transparent
        rgbBytes(w, text.colour.value_or(0));
        w.zeros(16);
        w.u16(static_cast<std::uint16_t>(flags | (text.colour ? 0 : 0x0001)));
        w.u16(text.colour ? colourIndex(*text.colour) : AutomaticForeground);
        w.u16(0);
        w.u16(0);
        put(rt::Text, body);
        begin();
        if (ownText)
            writePos(2, 2, 0, 0, 0, 0);
        u16Record(rt::FontX, fonts_.indexOf(text.font));
        Body brai;
        io::ByteWriter b(brai);
        b.u8(0);
        b.u8(1);
        b.zeros(6);
        put(rt::Brai, brai);
        if (ownText)
            writeSeriesText(text.plain());
        Body objectLink;
        io::ByteWriter o(objectLink);
        o.u16(link);
        o.u16(series);
        o.u16(point);
        put(rt::ObjectLink, objectLink);
        if (link == 4 && chart_.labelSeparator)
            writeLabelSeparator(*chart_.labelSeparator, flags);
        end();
    }

    void writeLabelSeparator(const std::string& separator, std::uint16_t textFlags)
    {
        Body body;
        io::ByteWriter w(body);
        w.u16(rt::DataLabExtContents);
        w.zeros(10);
        std::uint16_t shown = 0;
        if (textFlags & 0x4000)
            shown |= 0x0002;
        if (textFlags & 0x0004)
            shown |= 0x0004;
        if (textFlags & 0x1000)
            shown |= 0x0008;
        w.u16(shown);
        std::u16string characters = text::toUtf16(separator);
        if (characters.size() > 255)
            characters.resize(255);
        writeUnicodeString(body, characters, 2);
        put(rt::DataLabExtContents, body);
    }

    const model::ChartGroup& groupOf(const model::ChartSeries& series) const
    {
        static const model::ChartGroup column = columnGroup();
        if (series.group < chart_.groups.size())
            return chart_.groups[series.group];
        return chart_.groups.empty() ? column : chart_.groups.front();
    }

    // Where the plot area lies: the chart's own place for it, else one beside the title and the legend,
    // which readers that place it themselves ignore (see SHTPROPS).
    model::ChartRect plotArea() const
    {
        if (chart_.plotLayout)
            return *chart_.plotLayout;
        model::ChartRect r{0.05, chart_.title ? 0.15 : 0.05, 0.9, chart_.title ? 0.8 : 0.9};
        if (!chart_.legend)
            return r;
        switch (chart_.legend->place) {
        case model::ChartLegend::Place::Bottom: r.height -= 0.12; break;
        case model::ChartLegend::Place::Top: r.y += 0.12; r.height -= 0.12; break;
        case model::ChartLegend::Place::Left: r.x += 0.2; r.width -= 0.2; break;
        default: r.width -= 0.2; break;
        }
        return r;
    }

    void writeAxisParent(bool secondary)
    {
        const model::ChartRect r = plotArea();
        const int x = static_cast<int>(std::lround(r.x * ChartUnits)), y = static_cast<int>(std::lround(r.y * ChartUnits));
        const int width = static_cast<int>(std::lround(r.width * ChartUnits));
        const int height = static_cast<int>(std::lround(r.height * ChartUnits));
        Body body;
        io::ByteWriter w(body);
        w.u16(secondary ? 1 : 0);
        for (int value : {x, y, width, height})
            w.u32(static_cast<std::uint32_t>(value));
        put(rt::AxisParent, body);
        begin();
        writePos(2, 2, x, y, width, height);
        const model::ChartType firstType = firstGroupType(secondary);
        if (!drawsPie(firstType))
            writeAxes(secondary, valuesOnBothAxes(firstType));
        if (!secondary) {
            put(PlotArea, {});
            writeFrame(chart_.plotArea, false);
        }
        bool any = false;
        for (std::size_t g = 0; g < chart_.groups.size(); ++g)
            if (chart_.groups[g].secondaryAxes == secondary) {
                writeGroup(chart_.groups[g], g, !any && !secondary);
                any = true;
            }
        if (!any && !secondary)
            writeGroup(columnGroup(), 0, true);
        end();
    }

    model::ChartType firstGroupType(bool secondary) const
    {
        for (const model::ChartGroup& group : chart_.groups)
            if (group.secondaryAxes == secondary)
                return group.type;
        return model::ChartType::Column;
    }

    void writeAxes(bool secondary, bool scatter)
    {
        std::vector<const model::ChartAxis*> axes;
        for (const model::ChartAxis& axis : chart_.axes)
            if (axis.secondary == secondary)
                axes.push_back(&axis);
        model::ChartAxis category;
        category.kind = model::ChartAxis::Kind::Category;
        category.position = model::ChartAxis::Position::Bottom;
        const model::ChartAxis value;
        const auto find = [&](model::ChartAxis::Kind kind) -> const model::ChartAxis* {
            for (const model::ChartAxis* axis : axes)
                if (axis->kind == kind)
                    return axis;
            return nullptr;
        };
        const model::ChartAxis* first = find(model::ChartAxis::Kind::Category);
        const model::ChartAxis* second = find(model::ChartAxis::Kind::Value);
        writeAxis(first ? *first : category, 0, scatter);
        writeAxis(second ? *second : value, 1, true);
        if (const model::ChartAxis* series = find(model::ChartAxis::Kind::Series); series && chart_.view3d)
            writeAxis(*series, 2, false);
    }

    void writeAxis(const model::ChartAxis& axis, std::uint16_t kind, bool valueScale)
    {
        Body body;
        io::ByteWriter w(body);
        w.u16(kind);
        w.zeros(16);
        put(rt::Axis, body);
        begin();
        if (valueScale) {
            Body range;
            io::ByteWriter r(range);
            std::uint16_t flags = 0x0100 | 0x0010; // crossing automatically
            const std::pair<const std::optional<double>*, std::uint16_t> parts[] = {
                {&axis.minimum, 0x01}, {&axis.maximum, 0x02}, {&axis.majorUnit, 0x04}, {&axis.minorUnit, 0x08}};
            for (const auto& [part, automatic] : parts) {
                r.f64(part->value_or(0));
                if (!*part)
                    flags |= automatic;
            }
            r.f64(0);
            if (axis.logarithmic)
                flags |= 0x0020;
            if (axis.reversed)
                flags |= 0x0040;
            r.u16(flags);
            put(rt::ValueRange, range);
        } else {
            Body range;
            io::ByteWriter r(range);
            r.u16(1);
            r.u16(1);
            r.u16(1);
            r.u16(static_cast<std::uint16_t>(0x0001 | (axis.reversed ? 0x0004 : 0)));
            put(CatSerRange, range);
            Body extent;
            io::ByteWriter e(extent);
            for (std::uint16_t part : {0, 0, 1, 0, 1, 0, 0, 0})
                e.u16(part);
            e.u16(0x00EF); // every bound automatic
            put(AxcExt, extent);
        }
        if (!axis.numberFormat.empty())
            if (const std::optional<int> index = workbook_.formats.find(axis.numberFormat))
                u16Record(rt::IFmt, static_cast<std::uint16_t>(*index));
        Body tick;
        io::ByteWriter t(tick);
        t.u8(axis.visible ? 2 : 0); // major marks outside
        t.u8(0);
        t.u8(axis.visible ? 3 : 0); // labels next to the axis
        t.u8(1);
        rgbBytes(t, 0);
        t.zeros(16);
        t.u16(0x0023);
        t.u16(AutomaticForeground);
        t.u16(0);
        put(Tick, tick);
        u16Record(rt::AxisLineFormat, 0);
        model::ChartLine line = axis.line;
        if (!axis.visible)
            line.kind = model::ChartLine::Kind::None;
        writeLine(line, true);
        if (axis.majorGridlines) {
            u16Record(rt::AxisLineFormat, 1);
            writeLine(*axis.majorGridlines);
        }
        if (axis.minorGridlines) {
            u16Record(rt::AxisLineFormat, 2);
            writeLine(*axis.minorGridlines);
        }
        end();
    }

    void writeGroup(const model::ChartGroup& group, std::size_t index, bool withLegend)
    {
        Body format;
        io::ByteWriter f(format);
        f.zeros(16);
        f.u16(group.varyColours ? 0x0001 : 0);
        f.u16(static_cast<std::uint16_t>(index));
        put(rt::ChartFormat, format);
        begin();
        writeGroupType(group);
        if (chart_.view3d)
            writeView3d(*chart_.view3d, drawsPie(group.type));
        if (withLegend && chart_.legend)
            writeLegend(*chart_.legend);
        if (group.highLowLines) {
            u16Record(rt::CrtLine, 1);
            writeLine(model::ChartLine{});
        }
        end();
    }

    void writeGroupType(const model::ChartGroup& group)
    {
        const bool stacked = group.grouping == model::Grouping::Stacked || group.grouping == model::Grouping::PercentStacked;
        const bool percent = group.grouping == model::Grouping::PercentStacked;
        Body body;
        io::ByteWriter w(body);
        switch (group.type) {
        case model::ChartType::Pie:
        case model::ChartType::Doughnut:
            w.u16(static_cast<std::uint16_t>(std::lround(std::fmod(std::fmod(group.firstSliceAngle, 360) + 360, 360))));
            w.u16(static_cast<std::uint16_t>(group.type == model::ChartType::Doughnut ? std::max(group.holePercent, 10u) : 0));
            w.u16(static_cast<std::uint16_t>((chart_.view3d ? 0x0001 : 0) | (group.leaderLines ? 0x0002 : 0)));
            put(rt::Pie, body);
            return;
        case model::ChartType::PieOfPie:
        case model::ChartType::BarOfPie:
            w.u8(group.type == model::ChartType::BarOfPie ? 2 : 1);
            w.u8(1); // split automatically
            w.u16(0);
            w.u16(0);
            w.u16(0);
            w.u16(75);  // the second pie's size
            w.u16(100); // the gap between them
            w.f64(0);
            w.u16(0);
            put(rt::BopPop, body);
            return;
        case model::ChartType::Line:
        case model::ChartType::Stock:
        case model::ChartType::Area:
            w.u16(static_cast<std::uint16_t>((stacked ? 0x0001 : 0) | (percent ? 0x0002 : 0)));
            put(group.type == model::ChartType::Area ? rt::Area : rt::Line, body);
            return;
        case model::ChartType::Scatter:
        case model::ChartType::Bubble:
            w.u16(100);
            w.u16(1);
            w.u16(group.type == model::ChartType::Bubble ? 0x0001 : 0);
            put(rt::Scatter, body);
            return;
        case model::ChartType::Radar:
        case model::ChartType::FilledRadar:
            w.u16(0x0001); // axis labels
            w.u16(0);
            put(group.type == model::ChartType::Radar ? rt::Radar : rt::RadarArea, body);
            return;
        case model::ChartType::Surface:
            w.u16(0);
            put(rt::Surface, body);
            return;
        default:
            w.u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(group.overlap, -100, 100))));
            w.u16(static_cast<std::uint16_t>(std::clamp(group.gapWidth, 0, 500)));
            w.u16(static_cast<std::uint16_t>((group.type == model::ChartType::Bar ? 0x0001 : 0) | (stacked ? 0x0002 : 0) |
                                             (percent ? 0x0004 : 0)));
            put(rt::Bar, body);
            return;
        }
    }

    void writeView3d(const model::View3d& view, bool pie)
    {
        Body body;
        io::ByteWriter w(body);
        w.u16(static_cast<std::uint16_t>(std::lround(std::fmod(std::fmod(view.rotation, 360) + 360, 360))));
        w.u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(std::clamp(view.elevation, -90.0, 90.0)))));
        const bool perspective = view.perspective > 0;
        w.u16(static_cast<std::uint16_t>(perspective ? std::lround(std::min(view.perspective, 100.0)) : 30));
        w.u16(static_cast<std::uint16_t>(std::lround(std::clamp(view.heightPercent, 5.0, 500.0))));
        w.u16(static_cast<std::uint16_t>(std::lround(std::clamp(view.depthPercent, 20.0, 2000.0))));
        w.u16(150);
        w.u16(static_cast<std::uint16_t>((perspective ? 0x0001 : 0) | (pie ? 0 : 0x0010)));
        put(rt::Chart3d, body);
    }

    void writeLegend(const model::ChartLegend& legend)
    {
        Body body;
        io::ByteWriter w(body);
        w.zeros(16);
        w.u8(static_cast<std::uint8_t>(legend.place));
        w.u8(1);
        const bool vertical = legend.place != model::ChartLegend::Place::Bottom && legend.place != model::ChartLegend::Place::Top;
        w.u16(static_cast<std::uint16_t>(0x000F | (vertical ? 0x0010 : 0)));
        put(rt::Legend, body);
        begin();
        writePos(5, 2, 0, 0, 0, 0);
        Body text;
        io::ByteWriter t(text);
        t.u8(2);
        t.u8(2);
        t.u16(1);
        rgbBytes(t, legend.text.colour.value_or(0));
        t.zeros(16);
        t.u16(static_cast<std::uint16_t>(0x00B0 | (legend.text.colour ? 0 : 0x0001)));
        t.u16(legend.text.colour ? colourIndex(*legend.text.colour) : AutomaticForeground);
        t.u16(0);
        t.u16(0);
        put(rt::Text, text);
        begin();
        writePos(2, 2, 0, 0, 0, 0);
        u16Record(rt::FontX, fonts_.indexOf(legend.text.font));
        Body brai;
        io::ByteWriter b(brai);
        b.u8(0);
        b.u8(1);
        b.zeros(6);
        put(rt::Brai, brai);
        end();
        writeFrame(model::ChartArea{legend.fill, legend.border}, true);
        end();
    }

    const model::Chart& chart_;
    const model::Workbook& workbook_;
    FontTable& fonts_;
    ExternSheetTable& links_;
    std::vector<std::uint8_t>& out_;
};

} // namespace

void writeChartStream(const model::Chart& chart, const model::Workbook& workbook, FontTable& fonts,
                      ExternSheetTable& links, ChartSize size, ChartPlace place, std::vector<std::uint8_t>& out)
{
    ChartStream(chart, workbook, fonts, links, out).write(size, place);
}

} // namespace sheet::biff
