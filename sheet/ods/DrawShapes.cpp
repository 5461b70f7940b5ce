#include "sheet/ods/DrawShapes.h"

#include "sheet/ods/CellStyles.h"
#include "sheet/ods/Lengths.h"

#include <QColor>

#include <algorithm>
#include <cmath>

namespace sheet::ods {
namespace {

constexpr int AutomaticColour = 0x7FFF;
constexpr int SystemText = 64;
constexpr std::uint32_t ButtonFace = 0xC0C0C0;
constexpr double EmuPerPoint = 12700;
// The paragraph styles of the text's placements across: left, centred, right, justified.
QString paragraphStyle(int across)
{
    return QStringLiteral("DP") + QString::number(std::clamp(across, 1, 4));
}
const QString AnnotationStyle = QStringLiteral("DA1");

QString pointText(double value)
{
    return QString::fromStdString(points(value));
}

QString colourName(std::uint32_t rgb)
{
    return QColor::fromRgb(rgb & 0xFFFFFF).name();
}

std::optional<std::uint32_t> fillOf(const model::DrawingObject& object)
{
    const model::Figure figure = model::figureOf(object);
    if (figure == model::Figure::Button)
        return object.look.fill.value_or(ButtonFace);
    if (figure == model::Figure::Line || figure == model::Figure::Arc || figure == model::Figure::Picture)
        return std::nullopt;
    return object.look.fill;
}

void place(QXmlStreamWriter& xml, const ShapePlace& where)
{
    xml.writeAttribute("svg:width", pointText(where.area.width()));
    xml.writeAttribute("svg:height", pointText(where.area.height()));
    xml.writeAttribute("svg:x", pointText(where.area.x()));
    xml.writeAttribute("svg:y", pointText(where.area.y()));
    xml.writeAttribute("table:end-cell-address", where.endCell);
    xml.writeAttribute("table:end-x", pointText(where.endX));
    xml.writeAttribute("table:end-y", pointText(where.endY));
}

} // namespace

DrawShapes::DrawShapes(const model::Workbook& workbook) : workbook_(workbook)
{
    for (const model::Sheet& sheet : workbook.sheets) {
        for (const model::DrawingObject& object : sheet.drawings) {
            if (!drawable(object))
                continue;
            const std::string key = lookKey(object);
            if (!looks_.contains(key))
                looks_.emplace(key, std::pair(QStringLiteral("DG") + QString::number(looks_.size() + 1), &object));
            addText(object.text);
            text_ = text_ || !object.text.empty();
            arrowheads_ = arrowheads_ || object.look.arrowAtStart || object.look.arrowAtEnd;
            if (model::figureOf(object) == model::Figure::Picture && !pictures_.contains(object.picture)) {
                const model::Picture& picture = workbook.pictures[static_cast<std::size_t>(object.picture)];
                const std::string path = "Pictures/image" + std::to_string(pictures_.size() + 1) + "." + picture.extension;
                pictures_.emplace(object.picture, path);
                files_.push_back({path, picture.mediaType, &picture.bytes});
            }
        }
        for (const model::Comment& comment : sheet.comments)
            addText(comment.text);
        comments_ = comments_ || !sheet.comments.empty();
    }
}

void DrawShapes::addText(const std::vector<model::TextRun>& runs)
{
    for (const model::TextRun& run : runs) {
        if (!run.font)
            continue;
        const std::string key = fontKey(*run.font);
        if (!textStyles_.contains(key))
            textStyles_.emplace(key, std::pair(QStringLiteral("DT") + QString::number(textStyles_.size() + 1), *run.font));
    }
}

std::string DrawShapes::fontKey(const model::Font& font)
{
    return font.name + "/" + std::to_string(font.height) + "/" + std::to_string(font.weight) + "/" +
           std::to_string(font.italic) + std::to_string(font.strikeout) + "/" + std::to_string(font.underline) + "/" +
           std::to_string(font.colorIndex);
}

std::string DrawShapes::lookKey(const model::DrawingObject& object)
{
    const std::optional<std::uint32_t> fill = fillOf(object);
    const model::ShapeLook& look = object.look;
    const bool line = model::figureOf(object) != model::Figure::Picture && look.line.has_value();
    return std::to_string(fill ? static_cast<long long>(*fill) : -1) + "/" +
           std::to_string(line ? static_cast<long long>(*look.line) : -1) + "/" + std::to_string(look.lineWidth) + "/" +
           std::to_string(look.arrowAtStart) + std::to_string(look.arrowAtEnd) + "/" +
           std::to_string(model::figureOf(object) == model::Figure::TextBox) + "/" +
           std::to_string(object.textPlacement.down);
}

bool DrawShapes::drawable(const model::DrawingObject& object) const
{
    const model::Figure figure = model::figureOf(object);
    return figure == model::Figure::Picture ? workbook_.hasPicture(object.picture) : figure != model::Figure::None;
}

void DrawShapes::writeStyles(QXmlStreamWriter& xml) const
{
    for (const auto& [key, style] : looks_) {
        const model::DrawingObject& object = *style.second;
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", style.first);
        xml.writeAttribute("style:family", "graphic");
        xml.writeStartElement("style:graphic-properties");
        const std::optional<std::uint32_t> fill = fillOf(object);
        xml.writeAttribute("draw:fill", fill ? "solid" : "none");
        if (fill)
            xml.writeAttribute("draw:fill-color", colourName(*fill));
        const bool line = model::figureOf(object) != model::Figure::Picture && object.look.line.has_value();
        xml.writeAttribute("draw:stroke", line ? "solid" : "none");
        if (line) {
            xml.writeAttribute("svg:stroke-color", colourName(*object.look.line));
            xml.writeAttribute("svg:stroke-width", pointText(object.look.lineWidth / EmuPerPoint));
        }
        if (!object.text.empty()) {
            constexpr const char* Down[] = {"top", "top", "middle", "bottom"};
            xml.writeAttribute("draw:textarea-vertical-align", Down[std::clamp(object.textPlacement.down, 0, 3)]);
        }
        if (object.look.arrowAtStart) {
            xml.writeAttribute("draw:marker-start", "Arrow");
            xml.writeAttribute("draw:marker-start-width", pointText(std::max(6.0, 3 * object.look.lineWidth / EmuPerPoint)));
        }
        if (object.look.arrowAtEnd) {
            xml.writeAttribute("draw:marker-end", "Arrow");
            xml.writeAttribute("draw:marker-end-width", pointText(std::max(6.0, 3 * object.look.lineWidth / EmuPerPoint)));
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }
    for (const auto& [key, style] : textStyles_) {
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", style.first);
        xml.writeAttribute("style:family", "text");
        xml.writeStartElement("style:text-properties");
        writeFontLook(xml, style.second);
        if (style.second.colorIndex != AutomaticColour && style.second.colorIndex != SystemText)
            xml.writeAttribute("fo:color", colourName(workbook_.palette.rgb(style.second.colorIndex)));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    if (!text_ && !comments_)
        return;
    constexpr const char* Across[] = {"start", "center", "end", "justify"};
    for (int across = 1; across <= 4; ++across) {
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", paragraphStyle(across));
        xml.writeAttribute("style:family", "paragraph");
        xml.writeStartElement("style:paragraph-properties");
        xml.writeAttribute("fo:text-align", Across[across - 1]);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    if (!comments_)
        return;
    // A comment's box: the pale yellow of a note, with a thin black outline.
    xml.writeStartElement("style:style");
    xml.writeAttribute("style:name", AnnotationStyle);
    xml.writeAttribute("style:family", "graphic");
    xml.writeStartElement("style:graphic-properties");
    xml.writeAttribute("draw:fill", "solid");
    xml.writeAttribute("draw:fill-color", "#ffffe1");
    xml.writeAttribute("draw:stroke", "solid");
    xml.writeAttribute("svg:stroke-color", "#000000");
    xml.writeEndElement();
    xml.writeEndElement();
}

void DrawShapes::writeText(QXmlStreamWriter& xml, const std::vector<model::TextRun>& runs, int across) const
{
    const auto startParagraph = [&] {
        xml.writeStartElement("text:p");
        xml.writeAttribute("text:style-name", paragraphStyle(across));
    };
    startParagraph();
    for (const model::TextRun& run : runs) {
        QString text = QString::fromStdString(run.text);
        text.remove(QLatin1Char('\r'));
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype k = 0; k < lines.size(); ++k) {
            if (k > 0) {
                xml.writeEndElement();
                startParagraph();
            }
            if (lines[k].isEmpty())
                continue;
            if (run.font) {
                xml.writeStartElement("text:span");
                xml.writeAttribute("text:style-name", textStyles_.at(fontKey(*run.font)).first);
                xml.writeCharacters(lines[k]);
                xml.writeEndElement();
            } else {
                xml.writeCharacters(lines[k]);
            }
        }
    }
    xml.writeEndElement();
}

void DrawShapes::writeShape(QXmlStreamWriter& xml, const model::DrawingObject& object, const ShapePlace& where,
                            int zIndex) const
{
    const QString style = looks_.at(lookKey(object)).first;
    const QString name = QString::fromStdString(object.name);
    const auto common = [&] {
        xml.writeAttribute("draw:z-index", QString::number(zIndex));
        if (!name.isEmpty())
            xml.writeAttribute("draw:name", name);
        xml.writeAttribute("draw:style-name", style);
    };
    switch (model::figureOf(object)) {
    case model::Figure::Picture: {
        xml.writeStartElement("draw:frame");
        common();
        place(xml, where);
        xml.writeStartElement("draw:image");
        xml.writeAttribute("xlink:href", QString::fromStdString(pictures_.at(object.picture)));
        xml.writeAttribute("xlink:type", "simple");
        xml.writeAttribute("xlink:show", "embed");
        xml.writeAttribute("xlink:actuate", "onLoad");
        xml.writeEndElement();
        xml.writeEndElement();
        return;
    }
    case model::Figure::Line: {
        // A line runs between two corners of its box, the ones its flips say.
        const QRectF& box = where.area;
        const bool h = object.look.flipHorizontal, v = object.look.flipVertical;
        xml.writeStartElement("draw:line");
        common();
        xml.writeAttribute("table:end-cell-address", where.endCell);
        xml.writeAttribute("table:end-x", pointText(where.endX));
        xml.writeAttribute("table:end-y", pointText(where.endY));
        xml.writeAttribute("svg:x1", pointText(h ? box.right() : box.left()));
        xml.writeAttribute("svg:y1", pointText(v ? box.bottom() : box.top()));
        xml.writeAttribute("svg:x2", pointText(h ? box.left() : box.right()));
        xml.writeAttribute("svg:y2", pointText(v ? box.top() : box.bottom()));
        xml.writeEndElement();
        return;
    }
    case model::Figure::TextBox: {
        xml.writeStartElement("draw:frame");
        common();
        place(xml, where);
        xml.writeStartElement("draw:text-box");
        writeText(xml, object.text, object.textPlacement.across);
        xml.writeEndElement();
        xml.writeEndElement();
        return;
    }
    case model::Figure::Ellipse:
    case model::Figure::Arc:
        xml.writeStartElement("draw:ellipse");
        common();
        place(xml, where);
        if (model::figureOf(object) == model::Figure::Arc) {
            xml.writeAttribute("draw:kind", "arc");
            xml.writeAttribute("draw:start-angle", "0");
            xml.writeAttribute("draw:end-angle", "90");
        }
        break;
    default:
        xml.writeStartElement("draw:rect");
        common();
        place(xml, where);
        if (model::figureOf(object) == model::Figure::RoundedRectangle)
            xml.writeAttribute("draw:corner-radius", pointText(std::min(where.area.width(), where.area.height()) / 6));
        break;
    }
    if (!object.text.empty())
        writeText(xml, object.text, object.textPlacement.across);
    xml.writeEndElement();
}

void DrawShapes::writeAnnotation(QXmlStreamWriter& xml, const model::Comment& comment, const QRectF& box) const
{
    xml.writeStartElement("office:annotation");
    xml.writeAttribute("draw:style-name", AnnotationStyle);
    if (comment.visible)
        xml.writeAttribute("office:display", "true");
    if (!box.isEmpty()) {
        xml.writeAttribute("svg:width", pointText(box.width()));
        xml.writeAttribute("svg:height", pointText(box.height()));
        xml.writeAttribute("svg:x", pointText(box.x()));
        xml.writeAttribute("svg:y", pointText(box.y()));
    }
    if (!comment.author.empty())
        xml.writeTextElement("dc:creator", QString::fromStdString(comment.author));
    writeText(xml, comment.text, model::TextPlacement::Left);
    xml.writeEndElement();
}

} // namespace sheet::ods
