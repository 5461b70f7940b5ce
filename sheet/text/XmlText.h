#pragma once

#include <string>
#include <string_view>

namespace sheet::text {

// XML text or an attribute's value as it stands in a part, with its entity and character references
// (&amp; &lt; &gt; &quot; &apos; &#65; &#x41;) replaced by what they stand for, in UTF-8. A reference to
// a code point that is no character (a surrogate, past U+10FFFF, or NUL) becomes U+FFFD; an unknown or
// unfinished reference stays as it is.
std::string xmlUnescaped(std::string_view text);

} // namespace sheet::text
