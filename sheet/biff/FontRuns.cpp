#include "sheet/biff/FontRuns.h"

#include "sheet/text/Utf16.h"

#include <algorithm>

namespace sheet::biff {

std::vector<model::TextRun> textRuns(const model::Workbook& workbook, std::u16string_view text,
                                     const std::vector<FontRun>& runs)
{
    std::vector<model::TextRun> pieces;
    std::size_t start = 0;
    std::optional<model::Font> font;
    for (const FontRun& run : runs) {
        const std::size_t end = std::clamp<std::size_t>(run.first, start, text.size());
        if (end > start)
            pieces.push_back({text::toUtf8(text.substr(start, end - start)), font});
        start = end;
        const model::Font* own = workbook.font(static_cast<int>(run.font));
        font = own ? std::optional(*own) : std::nullopt;
    }
    if (start < text.size() || pieces.empty())
        pieces.push_back({text::toUtf8(text.substr(start)), font});
    return pieces;
}

} // namespace sheet::biff
