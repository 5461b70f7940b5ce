#include "sheet/ods/CellFormats.h"

#include "sheet/ods/LengthText.h"

#include <QColor>

#include <cmath>

namespace sheet::ods {
namespace {

constexpr int StyleFormats = 15;
constexpr int AutomaticColour = 0x7FFF;
constexpr int FirstPaletteEntry = 8;

QString property(const std::map<QString, QString>& properties, const char* name)
{
    const auto found = properties.find(QString::fromLatin1(name));
    return found == properties.end() ? QString() : found->second;
}

bool sameFont(const model::Font& a, const model::Font& b)
{
    return a.name == b.name && a.height == b.height && a.weight == b.weight && a.italic == b.italic
        && a.strikeout == b.strikeout && a.underline == b.underline && a.colorIndex == b.colorIndex;
}

model::HorizontalAlignment horizontalOf(const QString& align, const QString& source)
{
    using H = model::HorizontalAlignment;
    if (source == QLatin1String("value-type") || align.isEmpty())
        return H::General;
    if (align == QLatin1String("start") || align == QLatin1String("left"))
        return H::Left;
    if (align == QLatin1String("center"))
        return H::Center;
    if (align == QLatin1String("end") || align == QLatin1String("right"))
        return H::Right;
    if (align == QLatin1String("justify"))
        return H::Justify;
    return H::General;
}

model::VerticalAlignment verticalOf(const QString& align)
{
    using V = model::VerticalAlignment;
    if (align == QLatin1String("top"))
        return V::Top;
    if (align == QLatin1String("middle"))
        return V::Center;
    return V::Bottom;
}

} // namespace

CellFormats::CellFormats(const StyleSheet& styles, model::Workbook& workbook) : styles_(styles), workbook_(workbook)
{
    const std::map<QString, QString> normal = styles.resolved(QStringLiteral("table-cell"), QStringLiteral("Default"));
    const int font = fontOf(normal);
    while (workbook_.fonts.size() < 4)
        workbook_.fonts.push_back(workbook_.fonts.front());
    model::Xf style = xfOf(normal, styles.dataStyleOf(QStringLiteral("table-cell"), QStringLiteral("Default")));
    style.fontIndex = font;
    style.isStyle = true;
    style.parent = 0xFFF;
    style.raw = xfRecordBytes(style);
    workbook_.xfs.assign(StyleFormats, style);
    names_.assign(StyleFormats, QString());
    byName_[QString()] = xf(QStringLiteral("Default"));
}

int CellFormats::colourIndex(QStringView colour)
{
    const QColor parsed = QColor::fromString(colour);
    if (!parsed.isValid())
        return AutomaticColour;
    const std::uint32_t rgb = parsed.rgb() & 0xFFFFFF;
    for (int index = FirstPaletteEntry; index < FirstPaletteEntry + 56; ++index)
        if (workbook_.palette.rgb(index) == rgb)
            return index;
    if (nextFreeColour_ < FirstPaletteEntry) {
        // The palette is full: the nearest colour it has.
        int best = FirstPaletteEntry;
        long bestDistance = -1;
        for (int index = FirstPaletteEntry; index < FirstPaletteEntry + 56; ++index) {
            const std::uint32_t other = workbook_.palette.rgb(index);
            long distance = 0;
            for (int shift : {16, 8, 0}) {
                const long d = static_cast<long>((rgb >> shift) & 0xFF) - static_cast<long>((other >> shift) & 0xFF);
                distance += d * d;
            }
            if (bestDistance < 0 || distance < bestDistance) {
                best = index;
                bestDistance = distance;
            }
        }
        return best;
    }
    workbook_.palette.colors[static_cast<std::size_t>(nextFreeColour_ - FirstPaletteEntry)] = rgb;
    return nextFreeColour_--;
}

int CellFormats::fontOf(const std::map<QString, QString>& properties)
{
    model::Font font;
    font.name = property(properties, "font-name").toStdString();
    if (font.name.empty())
        font.name = property(properties, "font-family").remove(QLatin1Char('\'')).toStdString();
    if (font.name.empty())
        font.name = "Liberation Sans";
    if (const auto size = lengthPoints(property(properties, "font-size")))
        font.height = static_cast<int>(std::lround(std::clamp(*size, 1.0, 409.0) * 20));
    const QString weight = property(properties, "font-weight");
    font.weight = weight == QLatin1String("bold") || weight.toInt() >= 600 ? 700 : 400;
    font.italic = property(properties, "font-style") == QLatin1String("italic");
    const QString underline = property(properties, "text-underline-style");
    if (!underline.isEmpty() && underline != QLatin1String("none"))
        font.underline = property(properties, "text-underline-type") == QLatin1String("double") ? 2 : 1;
    const QString strike = property(properties, "text-line-through-style");
    font.strikeout = !strike.isEmpty() && strike != QLatin1String("none");
    const QString colour = property(properties, "color");
    if (!colour.isEmpty() && property(properties, "use-window-font-color") != QLatin1String("true"))
        font.colorIndex = colourIndex(colour);
    for (std::size_t k = 0; k < workbook_.fonts.size(); ++k)
        if (sameFont(workbook_.fonts[k], font))
            return k < 4 ? static_cast<int>(k) : static_cast<int>(k) + 1;
    workbook_.fonts.push_back(font);
    const std::size_t k = workbook_.fonts.size() - 1;
    return k < 4 ? static_cast<int>(k) : static_cast<int>(k) + 1;
}

model::Xf CellFormats::xfOf(const std::map<QString, QString>& properties, const QString& dataStyle)
{
    model::Xf xf;
    xf.fontIndex = workbook_.fonts.empty() ? 0 : fontOf(properties);
    if (!dataStyle.isEmpty()) {
        if (const std::optional<std::string> code = styles_.formatCode(dataStyle); code && *code != "General") {
            if (const std::optional<int> existing = workbook_.formats.find(*code)) {
                xf.formatIndex = *existing;
            } else {
                int index = model::FirstCustomFormat;
                if (!workbook_.formats.codes.empty())
                    index = std::max(index, workbook_.formats.codes.rbegin()->first + 1);
                workbook_.formats.codes[index] = *code;
                xf.formatIndex = index;
            }
        }
    }
    xf.horizontal = horizontalOf(property(properties, "text-align"), property(properties, "text-align-source"));
    xf.vertical = verticalOf(property(properties, "vertical-align"));
    xf.wrap = property(properties, "wrap-option") == QLatin1String("wrap");
    const int angle = property(properties, "rotation-angle").toInt();
    if (angle > 0 && angle <= 90)
        xf.rotation = angle;
    else if (angle >= 270 && angle < 360)
        xf.rotation = 90 + (360 - angle);
    const QString background = property(properties, "background-color");
    if (!background.isEmpty() && background != QLatin1String("transparent")) {
        xf.fillPattern = 1;
        xf.patternForeground = colourIndex(background);
        xf.patternBackground = 64;
    }
    const auto border = [&](const char* side) {
        QString text = property(properties, side);
        if (text.isEmpty())
            text = property(properties, "border");
        model::Border edge;
        const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() < 2 || parts.contains(QStringLiteral("none")) || parts.contains(QStringLiteral("hidden")))
            return edge;
        const double width = lengthPoints(parts[0]).value_or(0.75);
        const QString style = parts[1];
        if (style == QLatin1String("double"))
            edge.style = 6;
        else if (style == QLatin1String("dashed"))
            edge.style = width > 1.0 ? 8 : 3;
        else if (style == QLatin1String("dotted"))
            edge.style = 4;
        else
            edge.style = width > 2.0 ? 5 : width > 1.0 ? 2 : 1;
        edge.colorIndex = parts.size() > 2 ? colourIndex(parts[2]) : 64;
        return edge;
    };
    xf.left = border("border-left");
    xf.right = border("border-right");
    xf.top = border("border-top");
    xf.bottom = border("border-bottom");
    return xf;
}

int CellFormats::xf(const QString& styleName)
{
    if (const auto found = byName_.find(styleName); found != byName_.end())
        return found->second;
    const std::map<QString, QString> properties = styles_.resolved(QStringLiteral("table-cell"), styleName);
    model::Xf xf = xfOf(properties, styles_.dataStyleOf(QStringLiteral("table-cell"), styleName));
    xf.parent = 0;
    xf.raw = xfRecordBytes(xf);
    if (workbook_.xfs.size() >= 0xFFF0)
        return byName_[styleName] = model::DefaultCellXf;
    workbook_.xfs.push_back(xf);
    names_.push_back(styleName);
    return byName_[styleName] = static_cast<int>(workbook_.xfs.size() - 1);
}

int CellFormats::textFont(const QString& styleName)
{
    if (const auto found = textFonts_.find(styleName); found != textFonts_.end())
        return found->second;
    std::map<QString, QString> properties = styles_.resolved(QStringLiteral("table-cell"), QStringLiteral("Default"));
    for (const auto& [name, value] : styles_.resolved(QStringLiteral("text"), styleName))
        properties[name] = value;
    return textFonts_[styleName] = fontOf(properties);
}

std::array<std::uint8_t, 20> xfRecordBytes(const model::Xf& xf)
{
    std::array<std::uint8_t, 20> raw{};
    const auto put16 = [&raw](std::size_t at, unsigned value) {
        raw[at] = static_cast<std::uint8_t>(value);
        raw[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    const auto put32 = [&raw](std::size_t at, std::uint32_t value) {
        for (std::size_t k = 0; k < 4; ++k)
            raw[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
    };
    put16(0, static_cast<unsigned>(xf.fontIndex));
    put16(2, static_cast<unsigned>(xf.formatIndex));
    put16(4, 0x0001 | (xf.isStyle ? 0x0004u : 0u) | (static_cast<unsigned>(xf.parent & 0xFFF) << 4));
    raw[6] = static_cast<std::uint8_t>(static_cast<unsigned>(xf.horizontal) | (xf.wrap ? 0x08u : 0u)
                                       | (static_cast<unsigned>(xf.vertical) << 4));
    raw[7] = static_cast<std::uint8_t>(xf.rotation);
    raw[8] = static_cast<std::uint8_t>(xf.indent & 0x0F);
    raw[9] = xf.isStyle ? 0x00 : 0xFC;
    put32(10, static_cast<std::uint32_t>(xf.left.style & 0xF) | static_cast<std::uint32_t>(xf.right.style & 0xF) << 4
                  | static_cast<std::uint32_t>(xf.top.style & 0xF) << 8 | static_cast<std::uint32_t>(xf.bottom.style & 0xF) << 12
                  | static_cast<std::uint32_t>(xf.left.colorIndex & 0x7F) << 16
                  | static_cast<std::uint32_t>(xf.right.colorIndex & 0x7F) << 23);
    put32(14, static_cast<std::uint32_t>(xf.top.colorIndex & 0x7F) | static_cast<std::uint32_t>(xf.bottom.colorIndex & 0x7F) << 7
                  | static_cast<std::uint32_t>(xf.fillPattern & 0x3F) << 26);
    put16(18, static_cast<unsigned>(xf.patternForeground & 0x7F) | static_cast<unsigned>(xf.patternBackground & 0x7F) << 7);
    return raw;
}

} // namespace sheet::ods
