#include "sheet/xlsx/PaletteColours.h"

#include "sheet/xlsx/XmlStream.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sheet::xlsx {
namespace {

constexpr int FirstEntry = 8;
constexpr int LastEntry = 63;

const std::vector<std::uint32_t>& officeTheme()
{
    static const std::vector<std::uint32_t> colours = {0x000000, 0xFFFFFF, 0x1F497D, 0xEEECE1, 0x4F81BD, 0xC0504D,
                                                       0x9BBB59, 0x8064A2, 0x4BACC6, 0xF79646, 0x0000FF, 0x800080};
    return colours;
}

std::uint32_t parsedRgb(QStringView text)
{
    bool ok = false;
    const unsigned value = text.right(6).toUInt(&ok, 16);
    return ok ? value & 0xFFFFFF : 0;
}

// A tint as spreadsheet programs apply it: towards white for a positive tint, towards black for a negative.
std::uint32_t tinted(std::uint32_t rgb, double tint)
{
    if (tint == 0 || !std::isfinite(tint))
        return rgb;
    tint = std::clamp(tint, -1.0, 1.0);
    std::uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        const double channel = (rgb >> shift) & 0xFF;
        const double changed = tint < 0 ? channel * (1 + tint) : channel + (255 - channel) * tint;
        out |= static_cast<std::uint32_t>(std::clamp(std::lround(changed), 0L, 255L)) << shift;
    }
    return out;
}

long distance(std::uint32_t a, std::uint32_t b)
{
    long sum = 0;
    for (int shift : {16, 8, 0}) {
        const long d = static_cast<long>((a >> shift) & 0xFF) - static_cast<long>((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

} // namespace

ColourSpec colourSpec(const QXmlStreamReader& reader)
{
    ColourSpec colour;
    bool ok = false;
    const double tint = attributeOf(reader, u"tint").toDouble(&ok);
    colour.tint = ok ? tint : 0;
    if (const QStringView rgb = attributeOf(reader, u"rgb"); !rgb.isEmpty()) {
        colour.kind = ColourSpec::Kind::Rgb;
        colour.value = parsedRgb(rgb);
    } else if (const long long theme = attributeNumber(reader, u"theme", -1); theme >= 0) {
        colour.kind = ColourSpec::Kind::Theme;
        colour.value = static_cast<std::uint32_t>(theme);
    } else if (const long long indexed = attributeNumber(reader, u"indexed", -1); indexed >= 0) {
        colour.kind = ColourSpec::Kind::Indexed;
        colour.value = static_cast<std::uint32_t>(indexed);
    }
    return colour;
}

std::vector<std::uint32_t> readThemeColours(const zip::ZipReader& package, const std::string& part)
{
    std::vector<std::uint32_t> colours = officeTheme();
    if (part.empty() || !package.contains(part))
        return colours;
    static const QStringView names[] = {u"dk1", u"lt1", u"dk2", u"lt2", u"accent1", u"accent2",
                                        u"accent3", u"accent4", u"accent5", u"accent6", u"hlink", u"folHlink"};
    int slot = -1;
    bool inScheme = false;
    readXmlPart(package, package.spelling(part), [&](const QXmlStreamReader& reader) {
        if (reader.name() == u"clrScheme") {
            inScheme = reader.isStartElement();
            return;
        }
        if (!inScheme || !reader.isStartElement())
            return;
        for (int k = 0; k < 12; ++k)
            if (reader.name() == names[k])
                slot = k;
        if (slot < 0)
            return;
        if (reader.name() == u"srgbClr")
            colours[static_cast<std::size_t>(slot)] = parsedRgb(attributeOf(reader, u"val"));
        else if (reader.name() == u"sysClr" && !attributeOf(reader, u"lastClr").isEmpty())
            colours[static_cast<std::size_t>(slot)] = parsedRgb(attributeOf(reader, u"lastClr"));
    });
    return colours;
}

PaletteColours::PaletteColours(model::Palette& palette, std::vector<std::uint32_t> theme)
    : palette_(palette), theme_(std::move(theme)), taken_(LastEntry - FirstEntry + 1, false)
{
}

void PaletteColours::reserve(const ColourSpec& colour)
{
    if (colour.kind == ColourSpec::Kind::Indexed && colour.value >= FirstEntry && colour.value <= LastEntry)
        taken_[colour.value - FirstEntry] = true;
}

std::uint32_t PaletteColours::rgb(const ColourSpec& colour, std::uint32_t automatic) const
{
    switch (colour.kind) {
    case ColourSpec::Kind::Automatic: return automatic;
    case ColourSpec::Kind::Rgb: return tinted(colour.value, colour.tint);
    case ColourSpec::Kind::Indexed: return tinted(palette_.rgb(static_cast<int>(colour.value)), colour.tint);
    case ColourSpec::Kind::Theme: {
        // Themes list dark before light; style colours count light before dark.
        static constexpr std::size_t order[] = {1, 0, 3, 2, 4, 5, 6, 7, 8, 9, 10, 11};
        const std::size_t slot = colour.value < 12 ? order[colour.value] : 0;
        return tinted(slot < theme_.size() ? theme_[slot] : 0, colour.tint);
    }
    }
    return automatic;
}

int PaletteColours::index(const ColourSpec& colour, int automatic)
{
    if (colour.kind == ColourSpec::Kind::Automatic)
        return automatic;
    if (colour.kind == ColourSpec::Kind::Indexed && colour.tint == 0)
        return colour.value <= 65 ? static_cast<int>(colour.value) : automatic;
    const std::uint32_t wanted = rgb(colour, 0);
    for (int entry = FirstEntry; entry <= LastEntry; ++entry)
        if (palette_.rgb(entry) == wanted) {
            taken_[static_cast<std::size_t>(entry - FirstEntry)] = true;
            return entry;
        }
    for (int entry = LastEntry; entry >= FirstEntry; --entry) {
        if (!taken_[static_cast<std::size_t>(entry - FirstEntry)]) {
            taken_[static_cast<std::size_t>(entry - FirstEntry)] = true;
            palette_.colors[static_cast<std::size_t>(entry - FirstEntry)] = wanted;
            return entry;
        }
    }
    int best = FirstEntry;
    long bestDistance = std::numeric_limits<long>::max();
    for (int entry = FirstEntry; entry <= LastEntry; ++entry) {
        if (const long d = distance(palette_.rgb(entry), wanted); d < bestDistance) {
            best = entry;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace sheet::xlsx
