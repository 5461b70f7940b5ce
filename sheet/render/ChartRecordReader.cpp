#include "sheet/render/ChartRecordReader.h"

#include "sheet/render/CellText.h"
#include "sheet/render/ModelStyle.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

namespace sheet::render {

namespace {

namespace record {
constexpr std::uint16_t Begin = 0x1033, End = 0x1034, Frame = 0x1032, Series = 0x1003, DataFormat = 0x1006,
                        LineFormat = 0x1007, AreaFormat = 0x100A, PieFormat = 0x100B, AttachedLabel = 0x100C,
                        SeriesText = 0x100D, Pie = 0x1019, Chart3D = 0x103A, AxisParent = 0x1041, Pos = 0x104F,
                        Text = 0x1025, FontX = 0x1026, Legend = 0x1015, ObjectLink = 0x1027, ShtProps = 0x1044,
                        DataLabelContents = 0x086B, Bar = 0x1017, Line = 0x1018, Area = 0x101A, Scatter = 0x101B,
                        Radar = 0x103E, Surface = 0x103F, RadarArea = 0x1040, BarOfPie = 0x1061;
}

constexpr int maxPoints = 32000;
constexpr int automaticColours = 40;  // palette indices 24 to 63, in order
constexpr int firstAutomaticColour = 24;
constexpr double chartUnits = 4000.0;

// Little-endian fields of a record; reading past its end gives zeros.
class Fields {
public:
    explicit Fields(const model::Record& r) : bytes_(r.bytes) {}
    unsigned u8(std::size_t at) const { return at < bytes_.size() ? bytes_[at] : 0u; }
    unsigned u16(std::size_t at) const { return u8(at) | u8(at + 1) << 8; }
    int s16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
    std::size_t size() const { return bytes_.size(); }

    // A string of `count` characters at `at`, one byte each or UTF-16 as the flag byte before it says.
    QString string(std::size_t at, std::size_t count) const
    {
        const bool wide = u8(at) & 1;
        QString text;
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t position = at + 1 + k * (wide ? 2 : 1);
            if (position + (wide ? 1 : 0) >= bytes_.size())
                break;
            text.append(QChar(static_cast<char16_t>(wide ? u16(position) : u8(position))));
        }
        return text;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
};

struct PointFormat {
    std::optional<QColor> fill;
    bool noFill = false;
    std::optional<double> explode;
    std::optional<unsigned> labelFlags;
};

struct TextBlock {
    unsigned linkedObject = 0;
    unsigned flags = 0;
    QColor colour = Qt::black;
    std::optional<int> font;
    QString text;
    std::optional<QString> separator;
};

class ChartWalker {
public:
    ChartWalker(const model::Workbook& workbook, PieChart& pie) : workbook_(workbook), pie_(pie) {}

    bool walk(const std::vector<model::Record>& records)
    {
        std::uint16_t previous = 0;
        for (const model::Record& r : records) {
            if (r.type == record::Begin) {
                stack_.push_back(previous);
            } else if (r.type == record::End) {
                closeBlock();
            } else {
                read(r);
            }
            previous = r.type;
        }
        return isPie_ && !otherType_;
    }

    std::map<int, PointFormat> points;
    PointFormat seriesFormat;

private:
    std::uint16_t top() const { return stack_.empty() ? 0 : stack_.back(); }
    std::uint16_t parent() const { return stack_.size() < 2 ? 0 : stack_[stack_.size() - 2]; }

    void closeBlock()
    {
        if (top() == record::Text && text_)
            commitText();
        if (top() == record::Series)
            ++seriesSeen_;
        if (!stack_.empty())
            stack_.pop_back();
    }

    QColor colourOf(const Fields& f, std::size_t rgbAt, std::size_t indexAt) const
    {
        const int index = static_cast<int>(f.u16(indexAt));
        if (index >= 8 && index <= 63)
            return paletteColour(workbook_.palette, index);
        return QColor(static_cast<int>(f.u8(rgbAt)), static_cast<int>(f.u8(rgbAt + 1)), static_cast<int>(f.u8(rgbAt + 2)));
    }

    PointFormat* currentPoint()
    {
        if (top() != record::DataFormat || seriesSeen_ != 0)
            return nullptr;
        return point_ == 0xFFFF ? &seriesFormat : &points[static_cast<int>(point_)];
    }

    void read(const model::Record& r)
    {
        const Fields f(r);
        switch (r.type) {
        case record::AreaFormat: readArea(f); break;
        case record::LineFormat: readLine(f); break;
        case record::DataFormat: point_ = f.u16(0); break;
        case record::PieFormat:
            if (PointFormat* p = currentPoint())
                p->explode = std::min<unsigned>(f.u16(0), 400) / 100.0;
            break;
        case record::AttachedLabel:
            if (PointFormat* p = currentPoint())
                p->labelFlags = f.u16(0);
            break;
        case record::Pie:
            isPie_ = true;
            if (!pie_.threeD)
                pie_.firstSliceAngle = f.u16(0) % 360;
            pie_.donutHolePercent = std::min<unsigned>(f.u16(2), 90);
            pie_.leaderLines = f.u16(4) & 0x2;
            break;
        case record::Chart3D:
            pie_.threeD = true;
            pie_.firstSliceAngle = f.u16(0) % 360;
            pie_.elevation = std::clamp(f.s16(2), -90, 90);
            pie_.heightPercent = std::clamp(static_cast<int>(f.u16(6)), 5, 500);
            break;
        case record::Bar: case record::Line: case record::Area: case record::Scatter: case record::Radar:
        case record::Surface: case record::RadarArea: case record::BarOfPie:
            otherType_ = true;
            break;
        case record::Pos: readPosition(f); break;
        case record::Legend: {
            const unsigned place = f.u8(16);
            pie_.legend = place <= 4 ? static_cast<PieChart::LegendPlace>(place) : PieChart::LegendPlace::Right;
            break;
        }
        case record::ShtProps: alwaysAutoPlotArea_ = f.u16(0) & 0x10; break;
        case record::Text:
            text_ = TextBlock{};
            text_->flags = f.u16(24);
            if (!(text_->flags & 0x1))
                text_->colour = QColor(static_cast<int>(f.u8(4)), static_cast<int>(f.u8(5)), static_cast<int>(f.u8(6)));
            break;
        case record::FontX:
            if (text_)
                text_->font = static_cast<int>(f.u16(0));
            break;
        case record::ObjectLink:
            if (text_)
                text_->linkedObject = f.u16(0);
            break;
        case record::SeriesText:
            if (text_)
                text_->text = f.string(3, f.u8(2));
            break;
        case record::DataLabelContents:
            if (text_ && f.size() > 16)
                text_->separator = f.string(16, f.u16(14));
            break;
        default: break;
        }
    }

    void readArea(const Fields& f)
    {
        const bool automatic = f.u16(10) & 0x1;
        const bool none = f.u16(8) == 0;
        const QColor colour = colourOf(f, 0, 12);
        if (PointFormat* p = currentPoint()) {
            if (!automatic) {
                p->fill = colour;
                p->noFill = none;
            }
        } else if (top() == record::Frame && parent() == record::AxisParent) {
            if (!automatic && !none)
                plotFill_ = colour;
        } else if (top() == record::Frame && stack_.size() == 2) {
            pie_.background = automatic ? QColor(Qt::white) : none ? QColor(Qt::transparent) : colour;
        }
    }

    void readLine(const Fields& f)
    {
        if (top() != record::Frame || stack_.size() != 2)
            return;
        const bool automatic = f.u16(8) & 0x1;
        const unsigned style = f.u16(4);
        if (automatic)
            pie_.border = QColor(Qt::black);
        else if (style != 5)
            pie_.border = colourOf(f, 0, 10);
        else
            pie_.border.reset();
    }

    void readPosition(const Fields& f)
    {
        if (top() != record::AxisParent || f.u16(0) != 2 || f.u16(2) != 2)
            return;
        const QRectF rect(f.s16(4) / chartUnits, f.s16(8) / chartUnits, f.s16(12) / chartUnits, f.s16(16) / chartUnits);
        if (rect.width() > 0.05 && rect.height() > 0.05 && rect.left() >= 0 && rect.top() >= 0
            && rect.right() <= 1.01 && rect.bottom() <= 1.01)
            plotArea_ = rect;
    }

    void commitText()
    {
        const TextBlock& t = *text_;
        const model::Font* font = t.font ? workbook_.font(*t.font) : nullptr;
        if (t.linkedObject == 1) {
            pie_.title = t.text;
            pie_.titleColour = t.colour;
            if (font)
                pie_.titleFont = qtFont(*font);
        } else if (t.linkedObject == 4 && !labelsRead_) {
            labelsRead_ = true;
            pie_.labelColour = t.colour;
            if (font)
                pie_.labelFont = qtFont(*font);
            if (t.separator)
                pie_.labelSeparator = *t.separator;
        }
        text_.reset();
    }

public:
    void finish()
    {
        if (plotArea_ && !alwaysAutoPlotArea_)
            pie_.plotArea = plotArea_;
        // A 3-D pie stands free; only a flat one shows its plot area's fill.
        if (!pie_.threeD)
            pie_.plotBackground = plotFill_;
    }

private:
    const model::Workbook& workbook_;
    PieChart& pie_;
    std::vector<std::uint16_t> stack_;
    unsigned point_ = 0xFFFF;
    int seriesSeen_ = 0;
    bool isPie_ = false;
    bool otherType_ = false;
    bool alwaysAutoPlotArea_ = false;
    bool labelsRead_ = false;
    std::optional<QRectF> plotArea_;
    std::optional<QColor> plotFill_;
    std::optional<TextBlock> text_;
};

const model::Sheet* sheetOf(const model::Workbook& workbook, const std::optional<model::RangeReference>& ref)
{
    if (!ref || ref->sheet < 0 || static_cast<std::size_t>(ref->sheet) >= workbook.sheets.size())
        return nullptr;
    return &workbook.sheets[static_cast<std::size_t>(ref->sheet)];
}

// The cells of a range in reading order, at most maxPoints of them.
std::vector<const model::Cell*> cellsOf(const model::Workbook& workbook, const std::optional<model::RangeReference>& ref)
{
    std::vector<const model::Cell*> cells;
    const model::Sheet* sheet = sheetOf(workbook, ref);
    if (!sheet)
        return cells;
    const model::CellRange& r = ref->range;
    for (int row = r.firstRow; row <= r.lastRow && cells.size() < maxPoints; ++row) {
        for (int column = r.firstColumn; column <= r.lastColumn && cells.size() < maxPoints; ++column)
            cells.push_back(sheet->cell(row, column));
    }
    return cells;
}

// A cell's text for a label: what it shows without paddings and fills.
QString labelTextOf(const CellText& cellText, const model::Cell& cell)
{
    std::string text;
    for (const format::Piece& piece : cellText.formatted(cell).pieces) {
        if (piece.kind == format::Piece::Kind::Text)
            text += piece.text;
    }
    return QString::fromStdString(text).trimmed();
}

void applyLabelFlags(PieSlice& slice, unsigned flags)
{
    slice.showValue = flags & 0x1;
    slice.showPercent = flags & 0x6;
    slice.showCategory = flags & 0x14;
}

}  // namespace

std::optional<PieChart> readPieChart(const model::Workbook& workbook, const model::Chart& chart)
{
    PieChart pie;
    pie.titleFont = QFont(QStringLiteral("Arial"));
    pie.titleFont.setPointSizeF(18);
    pie.titleFont.setBold(true);
    pie.labelFont = QFont(QStringLiteral("Arial"));
    pie.labelFont.setPointSizeF(10);
    pie.legendFont = pie.labelFont;
    ChartWalker walker(workbook, pie);
    if (!walker.walk(chart.records))
        return std::nullopt;
    walker.finish();
    if (chart.series.empty())
        return pie;

    const model::ChartSeries& series = chart.series.front();
    const std::vector<const model::Cell*> values = cellsOf(workbook, series.values);
    const std::vector<const model::Cell*> categories = cellsOf(workbook, series.categories);
    const CellText cellText(workbook);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const model::Cell* cell = values[k];
        const std::optional<double> number = cell ? cell->number() : std::nullopt;
        if (!number || !(*number > 0) || !std::isfinite(*number))
            continue;
        PieSlice slice;
        slice.value = *number;
        slice.valueText = labelTextOf(cellText, *cell);
        if (k < categories.size() && categories[k])
            slice.category = labelTextOf(cellText, *categories[k]);
        else if (!series.categories)
            slice.category = QString::number(k + 1);
        const auto found = walker.points.find(static_cast<int>(k));
        const PointFormat* own = found == walker.points.end() ? nullptr : &found->second;
        const PointFormat& common = walker.seriesFormat;
        const int automatic = firstAutomaticColour + static_cast<int>(k % automaticColours);
        slice.colour = own && own->fill ? *own->fill : common.fill ? *common.fill : paletteColour(workbook.palette, automatic);
        if ((own && own->fill && own->noFill) || (!(own && own->fill) && common.fill && common.noFill))
            slice.colour = Qt::transparent;
        slice.explode = own && own->explode ? *own->explode : common.explode.value_or(0);
        applyLabelFlags(slice, own && own->labelFlags ? *own->labelFlags : common.labelFlags.value_or(0));
        pie.slices.push_back(slice);
    }
    return pie;
}

}  // namespace sheet::render
