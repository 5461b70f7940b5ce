#include "sheet/xlsx/XmlTags.h"

#include <cstdio>

namespace sheet::xlsx {

std::string_view XmlTag::localName() const
{
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string_view XmlTag::prefix() const
{
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon + 1);
}

std::optional<XmlTag> XmlTagScanner::next()
{
    while (true) {
        const std::size_t open = text_.find('<', at_);
        if (open == std::string_view::npos) {
            at_ = text_.size();
            return std::nullopt;
        }
        const std::string_view rest = text_.substr(open);
        std::string_view closer;
        if (rest.starts_with("<!--"))
            closer = "-->";
        else if (rest.starts_with("<![CDATA["))
            closer = "]]>";
        else if (rest.starts_with("<?"))
            closer = "?>";
        else if (rest.starts_with("<!"))
            closer = ">";
        if (!closer.empty()) {
            const std::size_t close = text_.find(closer, open + 2);
            at_ = close == std::string_view::npos ? text_.size() : close + closer.size();
            continue;
        }
        // The tag ends at the first '>' outside a quoted value.
        char quote = 0;
        std::size_t k = open + 1;
        for (; k < text_.size(); ++k) {
            const char c = text_[k];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        if (k >= text_.size()) {
            at_ = text_.size();
            return std::nullopt;
        }
        XmlTag tag;
        tag.begin = open;
        tag.end = k + 1;
        std::size_t nameStart = open + 1;
        if (text_[nameStart] == '/') {
            tag.kind = XmlTag::Kind::End;
            ++nameStart;
        } else if (text_[k - 1] == '/') {
            tag.kind = XmlTag::Kind::Empty;
        }
        std::size_t nameEnd = nameStart;
        while (nameEnd < k && text_[nameEnd] != ' ' && text_[nameEnd] != '/' && text_[nameEnd] != '\t' &&
               text_[nameEnd] != '\n' && text_[nameEnd] != '\r' && text_[nameEnd] != '>')
            ++nameEnd;
        tag.name = text_.substr(nameStart, nameEnd - nameStart);
        at_ = tag.end;
        return tag;
    }
}

std::size_t XmlTagScanner::elementEnd(const XmlTag& start)
{
    if (start.kind != XmlTag::Kind::Start)
        return start.end;
    int depth = 1;
    while (const std::optional<XmlTag> tag = next()) {
        if (tag->kind == XmlTag::Kind::Start)
            ++depth;
        else if (tag->kind == XmlTag::Kind::End && --depth == 0)
            return tag->end;
    }
    return text_.size();
}

namespace {

// Where the attribute `name` begins in the tag, npos when it has none.
std::size_t attributeAt(std::string_view tag, std::string_view name, std::size_t& valueBegin, std::size_t& valueEnd)
{
    char quote = 0;
    for (std::size_t k = 1; k + name.size() < tag.size(); ++k) {
        const char c = tag[k];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            continue;
        }
        const char before = tag[k - 1];
        if ((before == ' ' || before == '\t' || before == '\n' || before == '\r') && tag.substr(k, name.size()) == name) {
            std::size_t at = k + name.size();
            while (at < tag.size() && (tag[at] == ' ' || tag[at] == '\t' || tag[at] == '\n' || tag[at] == '\r'))
                ++at;
            if (at >= tag.size() || tag[at] != '=')
                continue;
            ++at;
            while (at < tag.size() && (tag[at] == ' ' || tag[at] == '\t' || tag[at] == '\n' || tag[at] == '\r'))
                ++at;
            if (at >= tag.size() || (tag[at] != '"' && tag[at] != '\''))
                continue;
            const std::size_t close = tag.find(tag[at], at + 1);
            if (close == std::string_view::npos)
                return std::string_view::npos;
            valueBegin = at + 1;
            valueEnd = close;
            return k;
        }
    }
    return std::string_view::npos;
}

} // namespace

std::optional<std::string_view> tagAttribute(std::string_view tag, std::string_view name)
{
    std::size_t begin = 0, end = 0;
    if (attributeAt(tag, name, begin, end) == std::string_view::npos)
        return std::nullopt;
    return tag.substr(begin, end - begin);
}

std::string withAttribute(std::string_view tag, std::string_view name, std::string_view value)
{
    std::size_t begin = 0, end = 0;
    if (attributeAt(tag, name, begin, end) != std::string_view::npos)
        return std::string(tag.substr(0, begin)) + xmlText(value) + std::string(tag.substr(end));
    std::size_t close = tag.size() - 1;
    if (close > 0 && tag[close - 1] == '/')
        --close;
    return std::string(tag.substr(0, close)) + " " + std::string(name) + "=\"" + xmlText(value) + "\"" +
           std::string(tag.substr(close));
}

std::string withoutAttribute(std::string_view tag, std::string_view name)
{
    std::size_t begin = 0, end = 0;
    const std::size_t at = attributeAt(tag, name, begin, end);
    if (at == std::string_view::npos)
        return std::string(tag);
    std::size_t from = at;
    while (from > 0 && (tag[from - 1] == ' ' || tag[from - 1] == '\t' || tag[from - 1] == '\n' || tag[from - 1] == '\r'))
        --from;
    return std::string(tag.substr(0, from)) + std::string(tag.substr(end + 1));
}

std::string xmlText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t k = 0; k < utf8.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(utf8[k]);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '_':
            // A text that looks like an escape is escaped itself.
            if (k + 6 < utf8.size() && utf8[k + 1] == 'x' && utf8[k + 6] == '_')
                out += "_x005F_";
            else
                out += '_';
            break;
        default:
            if ((c < 0x20 && c != '\t' && c != '\n') || c == '\r') {
                char escape[8];
                std::snprintf(escape, sizeof escape, "_x%04X_", c);
                out += escape;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

std::string xmlUnescaped(std::string_view text)
{
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '&') {
            out += text[k];
            continue;
        }
        const std::size_t semicolon = text.find(';', k);
        if (semicolon == std::string_view::npos) {
            out += text[k];
            continue;
        }
        const std::string_view entity = text.substr(k + 1, semicolon - k - 1);
        if (entity == "amp") out += '&';
        else if (entity == "lt") out += '<';
        else if (entity == "gt") out += '>';
        else if (entity == "quot") out += '"';
        else if (entity == "apos") out += '\'';
        else if (!entity.empty() && entity[0] == '#') {
            const unsigned long code = entity.size() > 1 && entity[1] == 'x' ? std::strtoul(std::string(entity.substr(2)).c_str(), nullptr, 16)
                                                                             : std::strtoul(std::string(entity.substr(1)).c_str(), nullptr, 10);
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else if (code < 0x10000) {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                out += static_cast<char>(0xF0 | (code >> 18));
                out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
        } else {
            out += text.substr(k, semicolon - k + 1);
        }
        k = semicolon;
    }
    return out;
}

} // namespace sheet::xlsx
