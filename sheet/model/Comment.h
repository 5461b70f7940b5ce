#pragma once

#include "sheet/model/Drawing.h"
#include "sheet/model/RichText.h"

#include <optional>
#include <string>
#include <vector>

namespace sheet::model {

// A comment on a cell: who wrote it, its text in runs, whether its box is always shown or only while the
// pointer rests on the cell, and where the box lies.
struct Comment {
    int row = 0;
    int column = 0;
    std::string author;
    std::vector<TextRun> text;
    bool visible = false;
    std::optional<Anchor> anchor; // nothing when the sheet's drawing gives the box no place
    int shapeId = 0;              // the drawing object of the box, whose kind is a comment
};

} // namespace sheet::model
