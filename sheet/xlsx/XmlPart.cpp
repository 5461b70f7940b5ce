#include "sheet/xlsx/XmlPart.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace sheet::xlsx {
namespace {

// Characters that XML 1.0 cannot carry, not even as a character reference.
bool outsideXml(char16_t c)
{
    return (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF;
}

// "_x" and four hexadecimal digits and "_": what a reader takes for an escaped character.
bool looksLikeEscape(const QString& text, qsizetype at)
{
    if (at + 6 >= text.size() || text[at + 1] != u'x' || text[at + 6] != u'_')
        return false;
    for (qsizetype k = at + 2; k < at + 6; ++k) {
        const char16_t c = text[k].unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f')))
            return false;
    }
    return true;
}

void appendEscape(QString& out, char16_t c)
{
    std::array<char, 9> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "_x%04X_", static_cast<unsigned>(c));
    out += QLatin1String(buffer.data());
}

QString xmlText(std::string_view utf8)
{
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const auto needsEscape = [&text](qsizetype k) {
        const char16_t c = text[k].unicode();
        return outsideXml(c) || (c == u'_' && looksLikeEscape(text, k));
    };
    qsizetype k = 0;
    while (k < text.size() && !needsEscape(k))
        ++k;
    if (k == text.size())
        return text;
    QString out = text.left(k);
    for (; k < text.size(); ++k) {
        if (needsEscape(k))
            appendEscape(out, text[k].unicode());
        else
            out += text[k];
    }
    return out;
}

} // namespace

XmlPart::XmlPart(const char* root, Namespaces namespaces) : writer_(&bytes_)
{
    writer_.setAutoFormatting(true);
    writer_.setAutoFormattingIndent(1);
    writer_.writeStartDocument(QStringLiteral("1.0"), true);
    start(root);
    for (const auto& [prefix, uri] : namespaces) {
        if (*prefix)
            writer_.writeNamespace(QLatin1String(uri), QLatin1String(prefix));
        else
            writer_.writeDefaultNamespace(QLatin1String(uri));
    }
}

void XmlPart::attribute(const char* name, std::string_view value)
{
    writer_.writeAttribute(QLatin1String(name), xmlText(value));
}

void XmlPart::attribute(const char* name, long long value)
{
    writer_.writeAttribute(QLatin1String(name), QString::number(value));
}

void XmlPart::attribute(const char* name, double value)
{
    writer_.writeAttribute(QLatin1String(name), QString::fromStdString(numberText(value)));
}

void XmlPart::characters(std::string_view text)
{
    writer_.writeCharacters(xmlText(text));
}

void XmlPart::text(const char* name, std::string_view text)
{
    writer_.writeTextElement(QLatin1String(name), xmlText(text));
}

void XmlPart::text(const char* name, const QString& text)
{
    const std::string utf8 = text.toStdString();
    this->text(name, utf8);
}

std::string XmlPart::finish()
{
    writer_.writeEndDocument();
    return bytes_.toStdString();
}

std::string numberText(double number)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    return std::string(buffer.data(), result.ptr);
}

} // namespace sheet::xlsx
