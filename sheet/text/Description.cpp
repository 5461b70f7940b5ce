#include "sheet/text/Description.h"

namespace sheet::text {

namespace {
bool continuesACharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// A line feed, or a carriage return that no line feed follows.
bool endsALine(std::string_view text, std::size_t at)
{
    return text[at] == '\n' || (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'));
}
} // namespace

std::string shownDescription(std::string_view description)
{
    std::size_t characters = 0;
    std::size_t lines = 1;
    for (std::size_t at = 0; at < description.size(); ++at) {
        if (continuesACharacter(description[at]))
            continue;
        if (characters == LongestDescription || lines > MostDescriptionLines)
            return std::string(description.substr(0, at)) + std::string(CutMark);
        ++characters;
        if (endsALine(description, at))
            ++lines;
    }
    return std::string(description);
}

} // namespace sheet::text
