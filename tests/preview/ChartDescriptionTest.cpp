#include "preview/ChartDescription.h"

#include <gtest/gtest.h>

namespace {

using preview::ChartSlice;
using preview::DescribeChart;

TEST(ChartDescription, NamesEachSliceInOrderWithItsAmountAsTypedAndItsShare)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(DescribeChart({{QStringLiteral("House"), QStringLiteral("300")},
                             {QStringLiteral("Debt"), QStringLiteral("-100")},
                             {QStringLiteral("Car"), QStringLiteral(" 1,000.5 ")},
                             {QStringLiteral("Odd"), QStringLiteral("n/a")}},
                            english),
              QStringLiteral("Pie chart of 4 entries. House: 300, 21.4 %. Debt: -100, 7.1 %. Car: 1,000.5, 71.4 %. Odd: n/a."));
    // A regional amount, and a point where the region writes a comma.
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(DescribeChart({{QStringLiteral("A"), QStringLiteral("1,5")}, {QStringLiteral("B"), QStringLiteral("0.5")}}, german),
              QStringLiteral("Pie chart of 2 entries. A: 1,5, 75,0 %. B: 0.5, 25,0 %."));
    EXPECT_EQ(DescribeChart({{QStringLiteral("Zero"), QStringLiteral("0")}}, english), QStringLiteral("Pie chart of 1 entry. Zero: 0."));
}

}  // namespace
