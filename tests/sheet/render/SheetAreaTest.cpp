#include "SampleWorkbook.h"

#include "sheet/render/SheetArea.h"

#include <gtest/gtest.h>

using namespace render_testing;

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
    model::Workbook workbook;
    model::Sheet sheet;
    sheet.drawings = {drawing(8, 2, 2, 4, 9), drawing(0x19, 7, 19, 9, 24)};
    const model::CellRange area = render::pictureArea(workbook, sheet, model::CellRange{0, 0, 0, 0});
    EXPECT_EQ(area, (model::CellRange{0, 0, 9, 4}));
    EXPECT_EQ(render::sheetArea(workbook, sheet), (model::CellRange{2, 2, 9, 4}));
}

// A long label in the last column runs on over the empty cells to its right, and the picture takes them in
// as far as the text goes; one that ends at its cell's right edge, or is stopped by a filled neighbour, does not.
TEST(SheetArea, TakesInTextThatRunsOnPastTheLastColumn)
{
    model::Workbook workbook = sampleWorkbook(sampleEntries());
    model::Sheet& sheet = workbook.sheets[0];
    sheet.drawings.clear();
    const model::CellRange used{2, 0, 19, 1};
    EXPECT_EQ(render::pictureArea(workbook, sheet, used), used) << "the sample's texts fit their cells";

    const std::string label = "A label much longer than its column is wide";
    sheet.cells[{19, 1}] = cellOf(workbook, label, 0);
    const model::CellRange grown = render::pictureArea(workbook, sheet, used);
    EXPECT_GE(grown.lastColumn, 4);
    EXPECT_LE(grown.lastColumn, 7);
    sheet.cells[{19, 1}] = cellOf(workbook, label + label, 0);
    EXPECT_GT(render::pictureArea(workbook, sheet, used).lastColumn, grown.lastColumn);

    workbook.xfs.push_back(workbook.xfs[0]);
    workbook.xfs.back().horizontal = model::HorizontalAlignment::Right;
    sheet.cells[{19, 1}] = cellOf(workbook, label, static_cast<int>(workbook.xfs.size()) - 1);
    EXPECT_EQ(render::pictureArea(workbook, sheet, used), used) << "right-aligned text runs to the left";
    sheet.cells[{19, 0}] = cellOf(workbook, label, 0);
    EXPECT_EQ(render::pictureArea(workbook, sheet, used), used) << "stopped by its filled neighbour";
}

} // namespace
} // namespace sheet
