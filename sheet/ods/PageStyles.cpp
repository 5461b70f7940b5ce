#include "sheet/ods/PageStyles.h"

#include "sheet/ods/Lengths.h"
#include "sheet/ods/XmlPart.h"

#include <algorithm>

namespace sheet::ods {
namespace {

constexpr double PointsPerInch = 72;

struct Paper {
    int code;
    double width;  // millimetres, upright
    double height;
};
constexpr Paper Papers[] = {
    {1, 215.9, 279.4}, {3, 279.4, 431.8}, {5, 215.9, 355.6}, {7, 184.15, 266.7}, {8, 297, 420},
    {9, 210, 297},     {11, 148, 210},    {12, 250, 353},    {13, 182, 257},    {66, 420, 594},
};

QString inches(double value)
{
    return QString::fromStdString(points(std::max(0.0, value) * PointsPerInch));
}

QString millimetres(double value)
{
    return QString::fromStdString(decimal(value)) + QStringLiteral("mm");
}

void writeLayout(QXmlStreamWriter& xml, const biff::SheetSettings& s)
{
    xml.writeStartElement("style:page-layout-properties");
    for (const Paper& paper : Papers) {
        if (s.hasSetup && paper.code == s.paperSize) {
            xml.writeAttribute("fo:page-width", millimetres(s.landscape ? paper.height : paper.width));
            xml.writeAttribute("fo:page-height", millimetres(s.landscape ? paper.width : paper.height));
        }
    }
    if (s.hasSetup)
        xml.writeAttribute("style:print-orientation", s.landscape ? "landscape" : "portrait");
    // The header and the footer stand within the top and bottom margins, from the edge of the paper
    // at their own margins.
    xml.writeAttribute("fo:margin-top", inches(s.header.empty() ? s.topMargin : s.headerMargin));
    xml.writeAttribute("fo:margin-bottom", inches(s.footer.empty() ? s.bottomMargin : s.footerMargin));
    xml.writeAttribute("fo:margin-left", inches(s.leftMargin));
    xml.writeAttribute("fo:margin-right", inches(s.rightMargin));
    if (s.fitToPage) {
        xml.writeAttribute("style:scale-to-X", QString::number(s.fitWidth));
        xml.writeAttribute("style:scale-to-Y", QString::number(s.fitHeight));
    } else if (s.hasSetup && s.scale != 100) {
        xml.writeAttribute("style:scale-to", QString::number(s.scale) + QLatin1Char('%'));
    }
    QString print = QStringLiteral("charts drawings objects zero-values");
    if (s.printGridlines)
        print += QStringLiteral(" grid");
    if (s.printHeadings)
        print += QStringLiteral(" headers");
    xml.writeAttribute("style:print", print);
    if (s.centreHorizontally || s.centreVertically)
        xml.writeAttribute("style:table-centering", s.centreHorizontally && s.centreVertically ? "both"
                                                    : s.centreHorizontally                    ? "horizontal"
                                                                                               : "vertical");
    if (s.hasSetup && s.usesFirstPageNumber)
        xml.writeAttribute("style:first-page-number", QString::number(s.firstPageNumber));
    xml.writeAttribute("style:print-page-order", s.downThenOver ? "ttb" : "ltr");
    xml.writeEndElement();
    for (const auto& [element, text, height] : {std::tuple("style:header-style", &s.header, s.topMargin - s.headerMargin),
                                                std::tuple("style:footer-style", &s.footer, s.bottomMargin - s.footerMargin)}) {
        xml.writeStartElement(element);
        if (!text->empty())
            emptyElement(xml, "style:header-footer-properties",
                         {{"fo:min-height", inches(height)}, {"fo:margin-left", "0pt"}, {"fo:margin-right", "0pt"}});
        xml.writeEndElement();
    }
}

// Writes one region's text, its codes as fields; the codes of fonts and styles are left out.
void writeRegionText(QXmlStreamWriter& xml, const QString& text)
{
    xml.writeStartElement("text:p");
    QString run;
    const auto flush = [&] {
        if (!run.isEmpty())
            xml.writeCharacters(run);
        run.clear();
    };
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == QLatin1Char('\n')) {
            flush();
            xml.writeEndElement();
            xml.writeStartElement("text:p");
            continue;
        }
        if (text[k] != QLatin1Char('&') || k + 1 == text.size()) {
            run += text[k];
            continue;
        }
        const QChar code = text[++k];
        switch (code.toUpper().unicode()) {
        case u'&': run += QLatin1Char('&'); break;
        case u'P': flush(); textElement(xml, "text:page-number", QStringLiteral("1")); break;
        case u'N': flush(); textElement(xml, "text:page-count", QStringLiteral("1")); break;
        case u'A': flush(); textElement(xml, "text:sheet-name", QStringLiteral("???")); break;
        case u'D': flush(); emptyElement(xml, "text:date", {}); break;
        case u'T': flush(); emptyElement(xml, "text:time", {}); break;
        case u'F':
            flush();
            xml.writeStartElement("text:file-name");
            xml.writeAttribute("text:display", "name-and-extension");
            xml.writeEndElement();
            break;
        case u'Z':
            flush();
            xml.writeStartElement("text:file-name");
            xml.writeAttribute("text:display", "path");
            xml.writeEndElement();
            break;
        case u'"': {
            const qsizetype end = text.indexOf(QLatin1Char('"'), k + 1);
            k = end < 0 ? text.size() - 1 : end;
            break;
        }
        default:
            // A font size of one or more digits, or a style (&B, &I, &U, &S, &E, &X, &Y, &G).
            while (code.isDigit() && k + 1 < text.size() && text[k + 1].isDigit())
                ++k;
            break;
        }
    }
    flush();
    xml.writeEndElement();
}

// A header or footer: the text after &L, &C and &R in its region, text before any of them in the centre.
void writeHeaderFooter(QXmlStreamWriter& xml, const char* element, const std::string& codes)
{
    // Without one of its own a page shows none, not the reader's default.
    if (codes.empty()) {
        emptyElement(xml, element, {{"style:display", "false"}});
        return;
    }
    const QString text = QString::fromStdString(codes);
    QString regions[3]; // left, centre, right
    int region = 1;
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == QLatin1Char('&') && k + 1 < text.size()) {
            const char16_t next = text[k + 1].toUpper().unicode();
            if (next == u'L' || next == u'C' || next == u'R') {
                region = next == u'L' ? 0 : next == u'C' ? 1 : 2;
                ++k;
                continue;
            }
            regions[region] += text[k];
            regions[region] += text[++k];
            continue;
        }
        regions[region] += text[k];
    }
    xml.writeStartElement(element);
    const char* names[] = {"style:region-left", "style:region-center", "style:region-right"};
    for (int k = 0; k < 3; ++k) {
        xml.writeStartElement(names[k]);
        writeRegionText(xml, regions[k]);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

} // namespace

PageStyles::PageStyles(const model::Workbook& workbook)
{
    for (const model::Sheet& sheet : workbook.sheets)
        sheets_.push_back(biff::readSheetSettings(workbook, sheet));
}

void PageStyles::writeLayouts(QXmlStreamWriter& xml) const
{
    for (std::size_t k = 0; k < sheets_.size(); ++k) {
        xml.writeStartElement("style:page-layout");
        xml.writeAttribute("style:name", QStringLiteral("pm") + QString::number(k + 1));
        writeLayout(xml, sheets_[k]);
        xml.writeEndElement();
    }
}

void PageStyles::writeMasterPages(QXmlStreamWriter& xml) const
{
    for (std::size_t k = 0; k < sheets_.size(); ++k) {
        const biff::SheetSettings& s = sheets_[k];
        xml.writeStartElement("style:master-page");
        xml.writeAttribute("style:name", masterPage(k));
        xml.writeAttribute("style:page-layout-name", QStringLiteral("pm") + QString::number(k + 1));
        writeHeaderFooter(xml, "style:header", s.header);
        writeHeaderFooter(xml, "style:footer", s.footer);
        xml.writeEndElement();
    }
}

} // namespace sheet::ods
