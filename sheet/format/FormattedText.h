#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sheet::format {

// One stretch of a formatted cell text. A padding is a blank as wide as its
// character; a fill repeats its character across whatever width the cell has left.
struct Piece {
    enum class Kind { Text, Padding, Fill };
    Kind kind = Kind::Text;
    std::string text;  // UTF-8: the text itself, or the one character that is measured or repeated

    bool operator==(const Piece&) const = default;
};

// What a number format makes of a value: the pieces in reading order and the
// colour that a [Red] or [Color12] in the code asks for, as a palette index.
struct FormattedText {
    std::vector<Piece> pieces;
    std::optional<int> colourIndex;

    void appendText(std::string_view text);
    void appendPadding(std::string_view character);
    // Only the first fill of a text counts; later ones are ignored.
    void appendFill(std::string_view character);

    bool hasFill() const;
    // The text as a line of characters: a padding becomes one blank and the fill
    // character appears once.
    std::string text() const;
};

}  // namespace sheet::format
