#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sheet::xlsx {

// A tag of an XML text where it stands: from its '<' to after its '>'.
struct XmlTag {
    enum class Kind { Start, End, Empty };
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view name; // qualified, as written ("c:ser")
    Kind kind = Kind::Start;

    std::string_view localName() const;
    std::string_view prefix() const; // "c:" or empty
    bool opens() const { return kind != Kind::End; }
};

// Finds the tags of an XML text one after another, passing over comments, processing instructions,
// CDATA sections and declarations, so that a part can be changed in a few places and kept byte for byte
// elsewhere. The text must be well-formed, as a part that was read is.
class XmlTagScanner {
public:
    explicit XmlTagScanner(std::string_view text, std::size_t from = 0) : text_(text), at_(from) {}
    std::optional<XmlTag> next();
    // The end of the element whose start tag `start` is (after its end tag); the tag's end for an empty one.
    std::size_t elementEnd(const XmlTag& start);

private:
    std::string_view text_;
    std::size_t at_;
};

// The value of an attribute of a tag, as written (entities not replaced); nothing when it has none.
std::optional<std::string_view> tagAttribute(std::string_view tag, std::string_view name);
// The tag with the attribute set to `value` (escaped here), added before the tag's end when it is new.
std::string withAttribute(std::string_view tag, std::string_view name, std::string_view value);
std::string withoutAttribute(std::string_view tag, std::string_view name);

// A text as XML character data or an attribute value: markup characters as entities, and the characters
// XML cannot carry in the package formats' escape (_x0001_).
std::string xmlText(std::string_view utf8);
// Entities replaced by their characters.
std::string xmlUnescaped(std::string_view text);

} // namespace sheet::xlsx
