#pragma once

#include "sheet/model/Workbook.h"

#include <string>
#include <vector>

namespace sheet::model {

// The names the sheets are written under in a package (.xlsx, .ods), in sheet order, mended the way
// spreadsheet programs mend them: the characters a package forbids ([ ] : * ? / \ and control
// characters) become "_", as does an apostrophe that begins or ends the name; a name is cut to 31
// characters; an empty name becomes "Sheet" and its place; and a name that another sheet before it
// already has, without regard to case, gets " (2)", " (3)"... within those 31 characters. A name that
// needs none of this stays as it is.
std::vector<std::string> writtenSheetNames(const Workbook& workbook);

} // namespace sheet::model
