#pragma once

#include "sheet/model/Sheet.h"

#include <string>

namespace sheet::xlsx {

// The comments part of a sheet (xl/commentsN.xml): each comment's cell, author and text in its runs.
std::string commentsPart(const model::Sheet& sheet);

// The legacy VML drawing that shows a sheet's comments (xl/drawings/vmlDrawingN.vml), which Excel needs
// besides the comments part: a note box for each comment, where the sheet placed it (or beside its cell
// when it had no place), shown always or only under the pointer as the comment says. `drawing` numbers
// the drawing among the package's, for its shapes' ids.
std::string vmlDrawingPart(const model::Sheet& sheet, int drawing);

} // namespace sheet::xlsx
