#include "sheet/format/FormattedText.h"

#include <algorithm>

namespace sheet::format {

void FormattedText::appendText(std::string_view text)
{
    if (text.empty())
        return;
    if (!pieces.empty() && pieces.back().kind == Piece::Kind::Text)
        pieces.back().text.append(text);
    else
        pieces.push_back({Piece::Kind::Text, std::string(text)});
}

void FormattedText::appendPadding(std::string_view character)
{
    pieces.push_back({Piece::Kind::Padding, std::string(character)});
}

void FormattedText::appendFill(std::string_view character)
{
    if (!hasFill())
        pieces.push_back({Piece::Kind::Fill, std::string(character)});
}

bool FormattedText::hasFill() const
{
    return std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.kind == Piece::Kind::Fill; });
}

std::string FormattedText::text() const
{
    std::string line;
    for (const Piece& piece : pieces)
        line += piece.kind == Piece::Kind::Padding ? std::string(" ") : piece.text;
    return line;
}

}  // namespace sheet::format
