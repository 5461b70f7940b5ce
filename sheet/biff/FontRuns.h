#pragma once

#include "sheet/model/RichText.h"
#include "sheet/model/Workbook.h"

#include <string_view>
#include <vector>

namespace sheet::biff {

// Where the characters of a text take another font, as the records give it: from character `first` on,
// the workbook's font `font`.
struct FontRun {
    unsigned first = 0;
    unsigned font = 0;
};

// The text in runs: the characters before the first FontRun without a font of their own, then each run's
// characters up to the next in its font (none when the workbook has no such font). Runs out of order or
// past the text's end are taken as far as they go; a text without runs is one run.
std::vector<model::TextRun> textRuns(const model::Workbook& workbook, std::u16string_view text,
                                     const std::vector<FontRun>& runs);

} // namespace sheet::biff
