#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sheet::ods {

// One tag of an XML document held as bytes: where it lies and what it is.
struct Tag {
    enum class Kind { Start, End, Empty };
    Kind kind = Kind::Start;
    std::size_t begin = 0; // at '<'
    std::size_t end = 0;   // after '>'
    std::string_view name; // the qualified name, "table:table-row"

    std::string_view text(std::string_view document) const { return document.substr(begin, end - begin); }
};

// Steps through the tags of a well-formed document (the package parts the reader has read), passing
// over text, comments, processing instructions and character data, so that a part can be copied piece
// by piece with only some elements changed.
class TagScanner {
public:
    explicit TagScanner(std::string_view document) : document_(document) {}

    // The next tag; nothing at the end of the document.
    std::optional<Tag> next();
    // The end of the element whose start tag is `start` (after its end tag): `start.end` for an empty one.
    std::size_t elementEnd(const Tag& start);
    void seek(std::size_t at) { at_ = at; }

private:
    std::string_view document_;
    std::size_t at_ = 0;
};

// The value of an attribute of a start tag, its entities resolved; nothing when the tag has none.
std::optional<std::string> tagAttribute(std::string_view tag, std::string_view name);
// The tag with the attribute set (added before the tag's end when it has none) or, for nothing, removed.
std::string withAttribute(std::string_view tag, std::string_view name, const std::optional<std::string>& value);
// Text with the characters that XML reserves written as entities, for an attribute or text.
std::string escaped(std::string_view text);

} // namespace sheet::ods
