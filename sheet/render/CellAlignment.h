#pragma once

#include "sheet/model/Cell.h"
#include "sheet/model/Xf.h"

#include <string>

namespace sheet::render {

// How a cell's text lies across its cell: as its format says, and for "General" numbers to the right, texts
// to the left unless their first strong character reads right to left (Hebrew, Arabic ...), and other values
// in the centre.
model::HorizontalAlignment shownAlignment(const model::Xf& xf, const model::Cell& cell, const std::string& shownText);

}  // namespace sheet::render
