#include "sheet/ods/RichText.h"

#include "sheet/io/ByteReader.h"
#include "sheet/ods/CellStyles.h"

#include <QColor>
#include <QString>

#include <vector>

namespace sheet::ods {
namespace {

constexpr int AutomaticColour = 0x7FFF;
constexpr int SystemText = 64;

QString runStyle(int fontIndex)
{
    return QStringLiteral("T") + QString::number(fontIndex);
}

bool anyRichText(const model::Workbook& workbook)
{
    for (const model::SharedString& string : workbook.sharedStrings)
        if (!string.runs.empty())
            return true;
    return false;
}

struct Run {
    std::size_t start = 0;
    int font = -1; // -1: the cell's own
};

// Writes a piece of a run within one line, in the run's span; spaces after the first of a row stand
// as text:s, which a reader does not fold.
void writePiece(QXmlStreamWriter& xml, const QString& text, const Run& run)
{
    if (text.isEmpty())
        return;
    if (run.font >= 0) {
        xml.writeStartElement(QStringLiteral("text:span"));
        xml.writeAttribute(QStringLiteral("text:style-name"), runStyle(run.font));
    }
    QString plain;
    for (qsizetype k = 0; k < text.size();) {
        plain += text[k];
        qsizetype spaces = 0;
        while (text[k] == QLatin1Char(' ') && k + 1 + spaces < text.size() && text[k + 1 + spaces] == QLatin1Char(' '))
            ++spaces;
        k += 1 + spaces;
        if (spaces == 0)
            continue;
        xml.writeCharacters(plain);
        plain.clear();
        xml.writeStartElement(QStringLiteral("text:s"));
        if (spaces > 1)
            xml.writeAttribute(QStringLiteral("text:c"), QString::number(spaces));
        xml.writeEndElement();
    }
    xml.writeCharacters(plain);
    if (run.font >= 0)
        xml.writeEndElement();
}

} // namespace

bool isRichText(const model::Workbook& workbook, const model::Cell& cell)
{
    return cell.kind() == model::Cell::Kind::SharedText && cell.textIndex() < workbook.sharedStrings.size()
        && !workbook.sharedStrings[cell.textIndex()].runs.empty();
}

void writeRunStyles(QXmlStreamWriter& xml, const model::Workbook& workbook)
{
    if (!anyRichText(workbook))
        return;
    for (std::size_t k = 0; k <= workbook.fonts.size(); ++k) {
        const model::Font* font = workbook.font(static_cast<int>(k));
        if (!font)
            continue;
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", runStyle(static_cast<int>(k)));
        xml.writeAttribute("style:family", "text");
        xml.writeStartElement("style:text-properties");
        writeFontLook(xml, *font);
        if (font->colorIndex != AutomaticColour && font->colorIndex != SystemText)
            xml.writeAttribute("fo:color", QColor::fromRgb(workbook.palette.rgb(font->colorIndex)).name());
        xml.writeEndElement();
        xml.writeEndElement();
    }
}

void writeRichParagraphs(QXmlStreamWriter& xml, const model::Workbook& workbook, const model::SharedString& string)
{
    std::vector<Run> runs{Run{}};
    io::ByteReader reader(string.runs, "formatting runs");
    while (reader.remaining() >= 4) {
        const std::size_t start = reader.u16();
        const int font = reader.u16();
        if (start >= runs.back().start && workbook.font(font))
            runs.push_back({start, font});
    }
    const QString text = QString::fromStdU16String(string.text);
    xml.writeStartElement(QStringLiteral("text:p"));
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const auto start = static_cast<qsizetype>(std::min<std::size_t>(runs[r].start, static_cast<std::size_t>(text.size())));
        const auto end = static_cast<qsizetype>(
            std::min<std::size_t>(r + 1 < runs.size() ? runs[r + 1].start : static_cast<std::size_t>(text.size()),
                                  static_cast<std::size_t>(text.size())));
        const QStringList lines = text.mid(start, std::max<qsizetype>(0, end - start)).split(QLatin1Char('\n'));
        for (qsizetype line = 0; line < lines.size(); ++line) {
            if (line > 0) {
                xml.writeEndElement();
                xml.writeStartElement(QStringLiteral("text:p"));
            }
            writePiece(xml, lines[line], runs[r]);
        }
    }
    xml.writeEndElement();
}

} // namespace sheet::ods
