#pragma once

#include "sheet/model/Font.h"

#include <optional>
#include <string>
#include <vector>

namespace sheet::model {

// A piece of a text in a font of its own; without one, in the font of the text it belongs to.
struct TextRun {
    std::string text; // UTF-8
    std::optional<Font> font;
};

// A text in runs as one string.
inline std::string plainText(const std::vector<TextRun>& runs)
{
    std::string text;
    for (const TextRun& run : runs)
        text += run.text;
    return text;
}

} // namespace sheet::model
