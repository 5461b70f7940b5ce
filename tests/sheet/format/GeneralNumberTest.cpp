#include "sheet/format/GeneralNumber.h"

#include <gtest/gtest.h>

using sheet::format::generalNumber;

namespace {

TEST(GeneralNumber, ShowsAtMostElevenCharacters)
{
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {1.0, "1"},
        {-0.5, "-0.5"},
        {25000.0, "25000"},
        {1.0 / 3.0, "0.333333333"},
        {2.0 / 3.0, "0.666666667"},
        {-2.0 / 3.0, "-0.66666667"},
        {1234.5678901234, "1234.56789"},
        {12345678901.0, "12345678901"},
        {123456789012.0, "1.23457E+11"},
        {-123456789012.0, "-1.2346E+11"},
        {99999999999.6, "1E+11"},
        {1e100, "1E+100"},
        {0.1 + 0.2, "0.3"},
        {0.00001, "0.00001"},
        {0.0000123456, "1.23456E-05"},
        {1e-20, "1E-20"},
        {0.0001234, "0.0001234"},
    };
    for (const auto& [value, expected] : cases) {
        const std::string text = generalNumber(value);
        EXPECT_EQ(text, expected) << value;
        EXPECT_LE(text.size(), 11u) << value;
    }
}

TEST(GeneralNumber, NarrowCellsGetFewerDigits)
{
    EXPECT_EQ(generalNumber(1.0 / 3.0, 6), "0.3333");
    EXPECT_EQ(generalNumber(123456789.0, 7), "1.2E+08");
    EXPECT_EQ(generalNumber(-123456789.0, 7), "-1E+08");
    EXPECT_EQ(generalNumber(12345.0, 5), "12345");
}

}  // namespace
