#pragma once

#include "sheet/model/Sheet.h"

namespace sheet::edit {

// Shows or hides the sheet's gridlines (the WINDOW2 record's flag).
void setShowGridlines(model::Sheet& sheet, bool show);

// Sets one column's width in 1/256 of a character (0-based column), splitting a COLINFO record
// that covers more columns.
void setColumnWidth(model::Sheet& sheet, int column, int width);

} // namespace sheet::edit
