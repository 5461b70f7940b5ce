#include "sheet/render/SampleWorkbook.h"

#include "sheet/layout/SheetGeometry.h"

#include <gtest/gtest.h>

using render_testing::columnsOf;
using render_testing::rowOf;
using sheet::model::Sheet;
using sheet::layout::SheetGeometry;

namespace {

TEST(SheetGeometry, ColumnWidthsFollowTheDigitWidthRule)
{
    Sheet sheet;
    sheet.columns = {columnsOf(0, 0, 3904), columnsOf(1, 1, 2656), columnsOf(3, 4, 0, true),
                     columnsOf(5, 5, 0xFFFF)};
    const SheetGeometry arial(sheet, 7);
    EXPECT_EQ(arial.columnWidth(0), 107);  // 15.25 characters
    EXPECT_EQ(arial.columnWidth(1), 73);   // 10.375 characters
    EXPECT_EQ(arial.columnWidth(2), 64);   // DEFCOLWIDTH 8: 8 * 7 + 5, up to a multiple of 8
    EXPECT_EQ(arial.columnWidth(3), 0);
    EXPECT_EQ(arial.columnWidth(5), 1792);
    EXPECT_EQ(SheetGeometry(sheet, 8).columnWidth(0), 122);
    EXPECT_EQ(arial.columnSpan(0, 3), 107 + 73 + 64);
    EXPECT_EQ(arial.columnSpan(3, 0), -(107 + 73 + 64));

    sheet.standardWidth = 2048;
    EXPECT_EQ(SheetGeometry(sheet, 7).columnWidth(2), 61);
}

TEST(SheetGeometry, RowHeightsAreTwipsAtFifteenToThePixel)
{
    Sheet sheet;
    sheet.rows[2] = rowOf(300);
    sheet.rows[3] = rowOf(0x7FFF);
    sheet.rows[4] = rowOf(390, true);
    sheet.rows[5] = rowOf(-40);
    sheet.rows[6] = rowOf(232);  // 15.47 pixels
    sheet.rows[7] = rowOf(247);  // 16.47
    const SheetGeometry geometry(sheet, 7);
    EXPECT_EQ(geometry.rowHeight(0), 17);
    EXPECT_EQ(geometry.rowHeight(2), 20);
    EXPECT_EQ(geometry.rowHeight(3), 2184);
    EXPECT_EQ(geometry.rowHeight(4), 0);
    EXPECT_EQ(geometry.rowHeight(5), 0);
    EXPECT_EQ(geometry.rowHeight(6), 15);
    EXPECT_EQ(geometry.rowHeight(7), 16);
    EXPECT_EQ(geometry.rowSpan(0, 3), 17 + 17 + 20);
}

TEST(SheetGeometry, AnchorsMeasureFromTheOriginCell)
{
    Sheet sheet;
    const SheetGeometry geometry(sheet, 7);  // 64 by 17 pixels everywhere
    const QRectF rect = geometry.anchorRect({2, 512, 2, 128, 4, 0, 5, 0}, 1, 1);
    EXPECT_DOUBLE_EQ(rect.left(), 64 + 32);
    EXPECT_DOUBLE_EQ(rect.top(), 17 + 8.5);
    EXPECT_DOUBLE_EQ(rect.right(), 3 * 64);
    EXPECT_DOUBLE_EQ(rect.bottom(), 4 * 17);
    const QRectF wild = geometry.anchorRect({-5, 99999, 70000, -3, 900, 0, 2, 0}, 0, 0);
    EXPECT_TRUE(wild.isValid());
}

}  // namespace
