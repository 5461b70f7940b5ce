#include "sheet/model/A1Notation.h"

#include <gtest/gtest.h>

namespace sheet {
namespace {

TEST(CellAddress, WritesColumnLettersAndRowsFromOne)
{
    EXPECT_EQ(model::cellAddress(0, 0), "A1");
    EXPECT_EQ(model::cellAddress(2, 1), "B3");
    EXPECT_EQ(model::cellAddress(9, 25), "Z10");
    EXPECT_EQ(model::cellAddress(0, 26), "AA1");
    EXPECT_EQ(model::cellAddress(0, 51), "AZ1");
    EXPECT_EQ(model::cellAddress(0, 52), "BA1");
    EXPECT_EQ(model::cellAddress(65535, 255), "IV65536");
    EXPECT_EQ(model::rangeAddress({3, 1, 8, 1}), "B4:B9");
    EXPECT_EQ(model::rangeAddress({2, 1, 2, 1}), "B3");
}

} // namespace
} // namespace sheet
