#include "sheet/xlsx/XmlPart.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace sheet::xlsx {
namespace {

// Characters that XML 1.0 cannot carry, not even as a character reference, and the carriage return,
// which a reader's line-end handling turns into a line feed or drops.
bool outsideXml(char16_t c)
{
    return (c < 0x20 && c != 0x09 && c != 0x0A) || c == 0xFFFE || c == 0xFFFF;
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

// Whether a text can go to the writer as it is: printable ASCII, with no "_x" that could read as an escape.
bool plainAscii(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E || c == '_')
            return false;
    }
    return true;
}

QString xmlText(std::string_view utf8)
{
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const auto needsEscape = [&text](qsizetype k) {
        const char16_t c = text[k].unicode();
        return outsideXml(c) || (c == u'_' && looksLikeEscape(text, k));
    };
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype k = 0; k < text.size(); ++k) {
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
    start(root);
    for (const auto& [prefix, uri] : namespaces) {
        if (*prefix)
            writer_.writeNamespace(QLatin1String(uri), QLatin1String(prefix));
        else
            writer_.writeDefaultNamespace(QLatin1String(uri));
    }
}

void XmlPart::attribute(const char* name, long long value)
{
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    attribute(name, std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())));
}

const QString& XmlPart::qualified(const char* name)
{
    const auto [found, added] = names_.try_emplace(name);
    if (added)
        found->second = QLatin1String(name);
    return found->second;
}

const QString& XmlPart::escaped(std::string_view utf8)
{
    if (plainAscii(utf8)) {
        scratch_.truncate(0);
        scratch_.append(QLatin1String(utf8.data(), static_cast<qsizetype>(utf8.size())));
    } else {
        scratch_ = xmlText(utf8);
    }
    return scratch_;
}

void XmlPart::text(const char* name, const QString& text)
{
    const std::string utf8 = text.toStdString();
    this->text(name, utf8);
}

std::string XmlPart::finish()
{
    writer_.writeEndDocument();
    std::string part = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    part.append(bytes_.constData(), static_cast<std::size_t>(bytes_.size()));
    return part;
}

std::string numberText(double number)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    return std::string(buffer.data(), result.ptr);
}

} // namespace sheet::xlsx
