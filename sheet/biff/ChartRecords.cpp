#include "sheet/biff/ChartRecords.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace sheet::biff::chart {
namespace {

constexpr std::uint8_t ReferenceKind = 2;
constexpr std::size_t BraiFormulaStart = 8; // id, kind, flags, number format, formula length

// Little-endian fields of a record; reading past its end gives zeros.
class Fields {
public:
    explicit Fields(const model::Record& record) : bytes_(record.bytes) {}
    unsigned u8(std::size_t at) const { return at < bytes_.size() ? bytes_[at] : 0u; }
    unsigned u16(std::size_t at) const { return u8(at) | u8(at + 1) << 8; }
    int s16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
    std::uint32_t u32(std::size_t at) const { return u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16; }
    double f64(std::size_t at) const
    {
        std::uint64_t bits = 0;
        for (std::size_t k = 0; k < 8; ++k)
            bits |= static_cast<std::uint64_t>(u8(at + k)) << (8 * k);
        return std::bit_cast<double>(bits);
    }
    std::uint32_t rgb(std::size_t at) const { return u8(at) << 16 | u8(at + 1) << 8 | u8(at + 2); }
    std::size_t size() const { return bytes_.size(); }

    // A string of `count` characters at `at`, one byte each or UTF-16 as the flag byte before it says; it
    // ends early where the record does.
    std::u16string string(std::size_t at, std::size_t count) const
    {
        const bool wide = u8(at) & 1;
        std::u16string text;
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t position = at + 1 + k * (wide ? 2 : 1);
            if (position + (wide ? 1 : 0) >= bytes_.size())
                break;
            text.push_back(static_cast<char16_t>(wide ? u16(position) : u8(position)));
        }
        return text;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
};

} // namespace

Pie readPie(const model::Record& record)
{
    const Fields f(record);
    return {f.u16(0), f.u16(2), (f.u16(4) & 0x2) != 0};
}

Chart3d readChart3d(const model::Record& record)
{
    const Fields f(record);
    return {f.u16(0), f.s16(2), f.u16(6), f.u16(4), f.u16(8), (f.u16(12) & 0x1) != 0};
}

AreaFormat readAreaFormat(const model::Record& record)
{
    const Fields f(record);
    return {{f.rgb(0), f.u16(12)}, f.u16(8), (f.u16(10) & 0x1) != 0};
}

LineFormat readLineFormat(const model::Record& record)
{
    const Fields f(record);
    return {{f.rgb(0), f.u16(10)}, f.u16(4), f.s16(6), (f.u16(8) & 0x1) != 0};
}

Pos readPos(const model::Record& record)
{
    const Fields f(record);
    return {f.u16(0), f.u16(2), f.s16(4), f.s16(8), f.s16(12), f.s16(16)};
}

Legend readLegend(const model::Record& record)
{
    return {Fields(record).u8(16)};
}

bool alwaysAutoPlotArea(const model::Record& shtProps)
{
    return Fields(shtProps).u16(0) & 0x10;
}

Text readText(const model::Record& record)
{
    const Fields f(record);
    return {f.rgb(4), (f.u16(24) & 0x1) != 0};
}

unsigned fontIndex(const model::Record& fontX)
{
    return Fields(fontX).u16(0);
}

unsigned linkedObject(const model::Record& objectLink)
{
    return Fields(objectLink).u16(0);
}

std::u16string readSeriesText(const model::Record& record)
{
    const Fields f(record);
    return f.string(3, f.u8(2));
}

std::vector<FontRun> readTextRuns(const model::Record& alRuns)
{
    const Fields f(alRuns);
    std::vector<FontRun> runs;
    const std::size_t count = std::min<std::size_t>(f.u16(0), (f.size() - std::min<std::size_t>(f.size(), 2)) / 4);
    for (std::size_t k = 0; k < count; ++k)
        runs.push_back({f.u16(2 + 4 * k), f.u16(4 + 4 * k)});
    return runs;
}

std::optional<std::u16string> dataLabelSeparator(const model::Record& record)
{
    const Fields f(record);
    if (f.size() <= 16)
        return std::nullopt;
    return f.string(16, f.u16(14));
}

unsigned dataPoint(const model::Record& dataFormat)
{
    return Fields(dataFormat).u16(0);
}

unsigned explodePercent(const model::Record& pieFormat)
{
    return Fields(pieFormat).u16(0);
}

LabelContents readAttachedLabel(const model::Record& record)
{
    const unsigned flags = Fields(record).u16(0);
    // the value; the percentage alone or with the category; the category alone or with the percentage
    return {(flags & 0x1) != 0, (flags & 0x6) != 0, (flags & 0x14) != 0, (flags & 0x20) != 0, (flags & 0x40) != 0};
}

MarkerFormat readMarkerFormat(const model::Record& record)
{
    const Fields f(record);
    return {{f.rgb(0), f.u16(12)}, {f.rgb(4), f.u16(14)}, f.u16(8), (f.u16(10) & 0x1) != 0, f.u32(16)};
}

Bar readBar(const model::Record& record)
{
    const Fields f(record);
    const unsigned flags = f.u16(4);
    return {f.s16(0), f.u16(2), (flags & 0x1) != 0, (flags & 0x2) != 0, (flags & 0x4) != 0};
}

Stacking readStacking(const model::Record& lineOrArea)
{
    const unsigned flags = Fields(lineOrArea).u16(0);
    return {(flags & 0x1) != 0, (flags & 0x2) != 0};
}

bool drawsBubbles(const model::Record& scatter)
{
    return Fields(scatter).u16(4) & 0x1;
}

bool fillsSurface(const model::Record& surface)
{
    return Fields(surface).u16(0) & 0x1;
}

bool reversedCategories(const model::Record& catSerRange)
{
    return Fields(catSerRange).u16(6) & 0x4;
}

Size readChartSize(const model::Record& chart)
{
    // Fixed-point numbers of 16.16 bits: x, y, width, height.
    const Fields f(chart);
    return {f.u32(8) / 65536.0, f.u32(12) / 65536.0};
}

unsigned secondaryPieKind(const model::Record& bopPop)
{
    return Fields(bopPop).u8(0);
}

bool variedColours(const model::Record& chartFormat)
{
    return Fields(chartFormat).u16(16) & 0x1;
}

unsigned chartGroupOf(const model::Record& serToCrt)
{
    return Fields(serToCrt).u16(0);
}

unsigned axisSet(const model::Record& axisParent)
{
    return Fields(axisParent).u16(0);
}

unsigned chartLineKind(const model::Record& crtLine)
{
    return Fields(crtLine).u16(0);
}

unsigned axisKind(const model::Record& axis)
{
    return Fields(axis).u16(0);
}

ValueRange readValueRange(const model::Record& record)
{
    const Fields f(record);
    const unsigned flags = f.u16(40);
    const auto bound = [&](std::size_t at, unsigned automatic) -> std::optional<double> {
        const double value = f.f64(at);
        return (flags & automatic) || !std::isfinite(value) ? std::nullopt : std::optional(value);
    };
    return {bound(0, 0x1), bound(8, 0x2), bound(16, 0x4), bound(24, 0x8), (flags & 0x20) != 0, (flags & 0x40) != 0};
}

unsigned axisLine(const model::Record& axisLineFormat)
{
    return Fields(axisLineFormat).u16(0);
}

unsigned numberFormatIndex(const model::Record& iFmt)
{
    return Fields(iFmt).u16(0);
}

unsigned cachedPart(const model::Record& siIndex)
{
    return Fields(siIndex).u16(0);
}

CachedPoint readCachedNumber(const model::Record& number)
{
    const Fields f(number);
    return {f.u16(0), f.u16(2), f.f64(6), {}};
}

CachedPoint readCachedLabel(const model::Record& label)
{
    const Fields f(label);
    return {f.u16(0), f.u16(2), 0, f.string(8, f.u16(6))};
}

std::optional<Brai> readBrai(const model::Record& record)
{
    const Fields f(record);
    if (f.size() < BraiFormulaStart)
        return std::nullopt;
    const std::size_t length = f.u16(6);
    if (length > f.size() - BraiFormulaStart)
        return std::nullopt;
    return Brai{static_cast<std::uint8_t>(f.u8(0)), f.u8(1) == ReferenceKind,
                std::span<const std::uint8_t>(record.bytes).subspan(BraiFormulaStart, length)};
}

} // namespace sheet::biff::chart
