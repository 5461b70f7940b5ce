#include "sheet/ods/TagScanner.h"

#include "sheet/Errors.h"
#include "sheet/text/XmlText.h"


namespace sheet::ods {
namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// Where each attribute of a tag lies: its name and the value between the quotes.
struct AttributeSpan {
    std::size_t begin = 0;      // the space before the name
    std::size_t valueBegin = 0; // after the quote
    std::size_t valueEnd = 0;   // at the closing quote
};

std::optional<AttributeSpan> findAttribute(std::string_view tag, std::string_view name)
{
    std::size_t at = 1;
    while (at < tag.size() && !isSpace(tag[at]) && tag[at] != '>' && tag[at] != '/')
        ++at;
    while (at < tag.size()) {
        const std::size_t spaceBegin = at;
        while (at < tag.size() && isSpace(tag[at]))
            ++at;
        if (at >= tag.size() || tag[at] == '>' || tag[at] == '/')
            return std::nullopt;
        const std::size_t nameBegin = at;
        while (at < tag.size() && tag[at] != '=' && !isSpace(tag[at]))
            ++at;
        const std::string_view found = tag.substr(nameBegin, at - nameBegin);
        while (at < tag.size() && (isSpace(tag[at]) || tag[at] == '='))
            ++at;
        if (at >= tag.size())
            return std::nullopt;
        const char quote = tag[at];
        const std::size_t valueBegin = ++at;
        while (at < tag.size() && tag[at] != quote)
            ++at;
        if (found == name)
            return AttributeSpan{spaceBegin, valueBegin, at};
        ++at;
    }
    return std::nullopt;
}

} // namespace

std::optional<Tag> TagScanner::next()
{
    while (true) {
        const std::size_t open = document_.find('<', at_);
        if (open == std::string_view::npos) {
            at_ = document_.size();
            return std::nullopt;
        }
        const std::string_view rest = document_.substr(open);
        std::string_view closing;
        if (rest.substr(0, 4) == "<!--")
            closing = "-->";
        else if (rest.substr(0, 9) == "<![CDATA[")
            closing = "]]>";
        else if (rest.substr(0, 2) == "<?")
            closing = "?>";
        else if (rest.substr(0, 2) == "<!")
            closing = ">";
        if (!closing.empty()) {
            const std::size_t end = document_.find(closing, open);
            if (end == std::string_view::npos)
                throw FormatError("a package part ends inside a comment or a declaration");
            at_ = end + closing.size();
            continue;
        }
        std::size_t at = open + 1;
        char quote = 0;
        for (; at < document_.size(); ++at) {
            const char c = document_[at];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        if (at >= document_.size())
            throw FormatError("a package part ends inside a tag");
        Tag tag;
        tag.begin = open;
        tag.end = at + 1;
        at_ = tag.end;
        const bool closingTag = document_[open + 1] == '/';
        std::size_t nameBegin = open + (closingTag ? 2 : 1);
        std::size_t nameEnd = nameBegin;
        while (nameEnd < at && !isSpace(document_[nameEnd]) && document_[nameEnd] != '/' && document_[nameEnd] != '>')
            ++nameEnd;
        tag.name = document_.substr(nameBegin, nameEnd - nameBegin);
        tag.kind = closingTag ? Tag::Kind::End : document_[at - 1] == '/' ? Tag::Kind::Empty : Tag::Kind::Start;
        return tag;
    }
}

std::size_t TagScanner::elementEnd(const Tag& start)
{
    if (start.kind != Tag::Kind::Start)
        return start.end;
    const std::size_t resume = at_;
    at_ = start.end;
    int depth = 1;
    while (const std::optional<Tag> tag = next()) {
        if (tag->kind == Tag::Kind::Start)
            ++depth;
        else if (tag->kind == Tag::Kind::End && --depth == 0) {
            const std::size_t end = tag->end;
            at_ = resume;
            return end;
        }
    }
    throw FormatError("a package part ends inside an element");
}

std::optional<std::string> tagAttribute(std::string_view tag, std::string_view name)
{
    const std::optional<AttributeSpan> span = findAttribute(tag, name);
    if (!span)
        return std::nullopt;
    return text::xmlUnescaped(tag.substr(span->valueBegin, span->valueEnd - span->valueBegin));
}

std::string withAttribute(std::string_view tag, std::string_view name, const std::optional<std::string>& value)
{
    const std::optional<AttributeSpan> span = findAttribute(tag, name);
    if (span) {
        if (!value)
            return std::string(tag.substr(0, span->begin)) + std::string(tag.substr(span->valueEnd + 1));
        return std::string(tag.substr(0, span->valueBegin)) + escaped(*value) + std::string(tag.substr(span->valueEnd));
    }
    if (!value)
        return std::string(tag);
    std::size_t end = tag.size() - 1;
    if (end > 0 && tag[end - 1] == '/')
        --end;
    return std::string(tag.substr(0, end)) + " " + std::string(name) + "=\"" + escaped(*value) + "\"" + std::string(tag.substr(end));
}

std::string escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

} // namespace sheet::ods
