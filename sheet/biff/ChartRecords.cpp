#include "sheet/biff/ChartRecords.h"

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
    return {f.u16(0), f.s16(2), f.u16(6)};
}

AreaFormat readAreaFormat(const model::Record& record)
{
    const Fields f(record);
    return {{f.rgb(0), f.u16(12)}, f.u16(8), (f.u16(10) & 0x1) != 0};
}

LineFormat readLineFormat(const model::Record& record)
{
    const Fields f(record);
    return {{f.rgb(0), f.u16(10)}, f.u16(4), (f.u16(8) & 0x1) != 0};
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
    return {(flags & 0x1) != 0, (flags & 0x6) != 0, (flags & 0x14) != 0};
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
