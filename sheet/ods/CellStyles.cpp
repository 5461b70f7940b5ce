#include "sheet/ods/CellStyles.h"

#include "sheet/ods/DataStyles.h"
#include "sheet/ods/Lengths.h"

#include <QColor>

namespace sheet::ods {
namespace {

constexpr int AutomaticColour = 0x7FFF;
constexpr int SystemText = 64;
constexpr int GeneralFormat = 0;

QString colour(const model::Palette& palette, int index)
{
    return QColor::fromRgb(palette.rgb(index)).name();
}

QString borderOf(const model::Palette& palette, const model::Border& border)
{
    const char* line = "0.75pt solid";
    switch (border.style) {
    case 0: return QStringLiteral("none");
    case 2: line = "1.75pt solid"; break;
    case 3: case 9: case 11: line = "0.75pt dashed"; break;
    case 4: line = "0.75pt dotted"; break;
    case 5: line = "2.5pt solid"; break;
    case 6: line = "2.25pt double"; break;
    case 7: line = "0.5pt solid"; break;
    case 8: case 10: case 12: case 13: line = "1.75pt dashed"; break;
    default: break;
    }
    const int index = border.colorIndex == AutomaticColour ? SystemText : border.colorIndex;
    return QString::fromLatin1(line) + QLatin1Char(' ') + colour(palette, index);
}

// A patterned fill shows as the mix of its two colours in the share of the pattern's foreground.
QString fillOf(const model::Palette& palette, const model::Xf& xf)
{
    const QColor front = QColor::fromRgb(palette.rgb(xf.patternForeground));
    if (xf.fillPattern == 1)
        return front.name();
    const QColor back = QColor::fromRgb(palette.rgb(xf.patternBackground));
    const auto mix = [](int a, int b) { return (a + b) / 2; };
    return QColor(mix(front.red(), back.red()), mix(front.green(), back.green()), mix(front.blue(), back.blue())).name();
}

const char* horizontalOf(model::HorizontalAlignment alignment)
{
    using H = model::HorizontalAlignment;
    switch (alignment) {
    case H::Left: case H::Fill: return "start";
    case H::Center: case H::CenterAcross: return "center";
    case H::Right: return "end";
    case H::Justify: case H::Distributed: return "justify";
    case H::General: break;
    }
    return nullptr;
}

const char* verticalOf(model::VerticalAlignment alignment)
{
    using V = model::VerticalAlignment;
    switch (alignment) {
    case V::Top: return "top";
    case V::Center: case V::Justify: case V::Distributed: return "middle";
    case V::Bottom: break;
    }
    return "bottom";
}

} // namespace

CellStyles::CellStyles(const model::Workbook& workbook) : workbook_(workbook)
{
    for (std::size_t k = 0; k < workbook.xfs.size(); ++k) {
        const model::Xf& xf = workbook.xfs[k];
        if (isCellFormat(static_cast<int>(k)) || k == 0) {
            if (xf.formatIndex != GeneralFormat)
                formats_.insert(xf.formatIndex);
            if (const model::Font* font = workbook.font(xf.fontIndex); font && !font->name.empty())
                fonts_.insert(font->name);
        }
        names_.push_back(isCellFormat(static_cast<int>(k)) ? QStringLiteral("ce") + QString::number(k) : defaultName_);
    }
}

bool CellStyles::isCellFormat(int xf) const
{
    const model::Xf* format = workbook_.xf(xf);
    return format && !format->isStyle;
}

const QString& CellStyles::name(int xf) const
{
    return xf >= 0 && static_cast<std::size_t>(xf) < names_.size() ? names_[static_cast<std::size_t>(xf)] : defaultName_;
}

void CellStyles::writeFontFaces(QXmlStreamWriter& xml) const
{
    xml.writeStartElement("office:font-face-decls");
    for (const std::string& font : fonts_) {
        const QString family = QString::fromStdString(font);
        xml.writeStartElement("style:font-face");
        xml.writeAttribute("style:name", family);
        xml.writeAttribute("svg:font-family", family.contains(QLatin1Char(' ')) ? QLatin1Char('\'') + family + QLatin1Char('\'') : family);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void CellStyles::writeDataStyles(QXmlStreamWriter& xml) const
{
    for (int format : formats_)
        writeDataStyle(xml, "N" + std::to_string(format), workbook_.formats.code(format), workbook_.palette);
}

void CellStyles::writeAutomaticStyles(QXmlStreamWriter& xml) const
{
    for (std::size_t k = 0; k < workbook_.xfs.size(); ++k) {
        const int index = static_cast<int>(k);
        if (!isCellFormat(index))
            continue;
        const model::Xf& xf = workbook_.xfs[k];
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", name(index));
        xml.writeAttribute("style:family", "table-cell");
        xml.writeAttribute("style:parent-style-name", "Default");
        if (xf.formatIndex != GeneralFormat)
            xml.writeAttribute("style:data-style-name", "N" + QString::number(xf.formatIndex));
        writeProperties(xml, xf);
        xml.writeEndElement();
    }
}

void CellStyles::writeDefaultStyle(QXmlStreamWriter& xml) const
{
    xml.writeStartElement("style:style");
    xml.writeAttribute("style:name", "Default");
    xml.writeAttribute("style:family", "table-cell");
    if (const model::Xf* normal = workbook_.xf(0))
        writeProperties(xml, *normal);
    xml.writeEndElement();
}

void CellStyles::writeProperties(QXmlStreamWriter& xml, const model::Xf& xf) const
{
    const model::Palette& palette = workbook_.palette;
    xml.writeStartElement("style:table-cell-properties");
    if (xf.fillPattern != 0)
        xml.writeAttribute("fo:background-color", fillOf(palette, xf));
    xml.writeAttribute("fo:border-left", borderOf(palette, xf.left));
    xml.writeAttribute("fo:border-right", borderOf(palette, xf.right));
    xml.writeAttribute("fo:border-top", borderOf(palette, xf.top));
    xml.writeAttribute("fo:border-bottom", borderOf(palette, xf.bottom));
    xml.writeAttribute("style:vertical-align", verticalOf(xf.vertical));
    if (xf.wrap)
        xml.writeAttribute("fo:wrap-option", "wrap");
    if (xf.horizontal != model::HorizontalAlignment::General)
        xml.writeAttribute("style:text-align-source", "fix");
    if (xf.horizontal == model::HorizontalAlignment::Fill)
        xml.writeAttribute("style:repeat-content", "true");
    if (xf.rotation == 255) {
        xml.writeAttribute("style:direction", "ttb");
    } else if (xf.rotation > 0 && xf.rotation <= 180) {
        const int angle = xf.rotation <= 90 ? xf.rotation : 360 - (xf.rotation - 90);
        xml.writeAttribute("style:rotation-angle", QString::number(angle));
    }
    xml.writeEndElement();

    if (const char* align = horizontalOf(xf.horizontal)) {
        xml.writeStartElement("style:paragraph-properties");
        xml.writeAttribute("fo:text-align", align);
        if (xf.indent > 0)
            xml.writeAttribute("fo:margin-left", QString::fromStdString(points(pixelPoints(xf.indent * 3.0 * digitWidth(workbook_)))));
        xml.writeEndElement();
    }

    const model::Font* font = workbook_.font(xf.fontIndex);
    if (!font)
        return;
    xml.writeStartElement("style:text-properties");
    writeFontLook(xml, *font);
    if (font->colorIndex == AutomaticColour || font->colorIndex == SystemText)
        xml.writeAttribute("style:use-window-font-color", "true");
    else
        xml.writeAttribute("fo:color", colour(palette, font->colorIndex));
    xml.writeEndElement();
}

void writeFontLook(QXmlStreamWriter& xml, const model::Font& font)
{
    if (!font.name.empty())
        xml.writeAttribute("style:font-name", QString::fromStdString(font.name));
    xml.writeAttribute("fo:font-size", QString::fromStdString(points(font.height / 20.0)));
    xml.writeAttribute("fo:font-weight", font.bold() ? "bold" : "normal");
    xml.writeAttribute("fo:font-style", font.italic ? "italic" : "normal");
    if (font.underline != 0) {
        xml.writeAttribute("style:text-underline-style", "solid");
        xml.writeAttribute("style:text-underline-type", font.underline == 2 || font.underline == 0x22 ? "double" : "single");
        xml.writeAttribute("style:text-underline-width", "auto");
        xml.writeAttribute("style:text-underline-color", "font-color");
    }
    if (font.strikeout)
        xml.writeAttribute("style:text-line-through-style", "solid");
}

} // namespace sheet::ods
