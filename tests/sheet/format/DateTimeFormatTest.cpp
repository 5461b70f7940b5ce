#include "sheet/format/NumberFormat.h"

#include <gtest/gtest.h>

using sheet::format::NumberFormat;
using sheet::format::Piece;

namespace {

struct DateCase {
    const char* code;
    double serial;
    const char* expected;
};

TEST(DateTimeFormat, BuiltInDateAndTimeCodes)
{
    const DateCase cases[] = {
        {"m/d/yyyy", 45000.0, "3/15/2023"},
        {"m/d/yy", 45000.0, "3/15/23"},
        {"d-mmm-yy", 45000.0, "15-Mar-23"},
        {"d-mmm", 45000.0, "15-Mar"},
        {"mmm-yy", 45000.0, "Mar-23"},
        {"mmmm d, yyyy", 45000.0, "March 15, 2023"},
        {"dddd, mmmmm", 45000.0, "Wednesday, M"},
        {"ddd dd/mm/yyyy", 45000.0, "Wed 15/03/2023"},
        {"h:mm AM/PM", 0.75, "6:00 PM"},
        {"h:mm:ss am/pm", 0.0, "12:00:00 AM"},
        {"h:mm a/p", 0.25, "6:00 a"},
        {"h:mm", 0.75, "18:00"},
        {"h:mm:ss", 0.5 + 1.0 / 86400, "12:00:01"},
        {"m/d/yy h:mm", 45000.999999, "3/16/23 0:00"},
        {"mm:ss", 125.0 / 86400, "02:05"},
        {"[h]:mm:ss", 1.5, "36:00:00"},
        {"[mm]:ss", 1.0 / 24, "60:00"},
        {"mm:ss.0", 1.5 / 86400, "00:01.5"},
        {"yyyy-mm-dd\"T\"hh:mm", 36526.5, "2000-01-01T12:00"},
        {"m/d/yyyy", 60.0, "2/29/1900"},
        {"m/d/yyyy", 61.0, "3/1/1900"},
        {"m/d/yyyy", 1.0, "1/1/1900"},
        {"m/d/yyyy", 0.0, "1/0/1900"},
        {"dddd", 1.0, "Sunday"},
        {"m/d/yyyy", 2958465.0, "12/31/9999"},
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(NumberFormat(c.code).format(c.serial).text(), c.expected) << c.code << " " << c.serial;
    EXPECT_TRUE(NumberFormat("m/d/yyyy").isDateTime());
    EXPECT_FALSE(NumberFormat("#,##0").isDateTime());
}

TEST(DateTimeFormat, DatesOutsideTheCalendarFillTheCellWithHashes)
{
    for (double serial : {-1.0, 2958466.0}) {
        const auto text = NumberFormat("m/d/yyyy").format(serial);
        ASSERT_EQ(text.pieces.size(), 1u);
        EXPECT_EQ(text.pieces[0], (Piece{Piece::Kind::Fill, "#"}));
    }
}

}  // namespace
