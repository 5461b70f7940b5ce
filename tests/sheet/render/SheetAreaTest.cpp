#include "sheet/render/SheetArea.h"

#include <gtest/gtest.h>

namespace sheet {
namespace {

model::DrawingObject drawing(int objectType, int col1, int row1, int col2, int row2)
{
    model::DrawingObject object;
    object.objectType = objectType;
    object.anchor.col1 = col1;
    object.anchor.row1 = row1;
    object.anchor.col2 = col2;
    object.anchor.row2 = row2;
    return object;
}

// The picture of a sheet holds what shows on it: its pictures and charts, but not the boxes of its
// comments, which show only while the pointer rests on their cells.
TEST(SheetArea, TakesInDrawingsButNotCommentBoxes)
{
    model::Sheet sheet;
    sheet.drawings = {drawing(8, 2, 2, 4, 9), drawing(0x19, 7, 19, 9, 24)};
    const model::CellRange area = render::withDrawings(sheet, model::CellRange{0, 0, 0, 0});
    EXPECT_EQ(area, (model::CellRange{0, 0, 9, 4}));
    EXPECT_EQ(render::sheetArea(sheet), (model::CellRange{2, 2, 9, 4}));
}

} // namespace
} // namespace sheet
