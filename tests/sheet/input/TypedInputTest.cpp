#include "sheet/input/TypedInput.h"

#include <gtest/gtest.h>

namespace sheet {
namespace {

const NumberLocale English{U'.', U','};
const NumberLocale German{U',', U'.'};
const NumberLocale French{U',', U'\u202F'};

struct Case {
    const char* text;
    NumberLocale locale;
    std::optional<double> number; // nothing: stays text
};

TEST(TypedInput, NumbersAsTheUserTypesThem)
{
    const Case cases[] = {
        {"25000", English, 25000},
        {"  -1,234.5 ", English, -1234.5},
        {"+7", English, 7},
        {"(1,500)", English, -1500},
        {"1e3", English, 1000},
        {"2.5E-1", English, 0.25},
        {".5", English, 0.5},
        {"50%", English, 0.5},
        {"12.5%", English, 0.125},
        {"1.234,5", German, 1234.5},
        {"1,5", German, 1.5},
        {"1.5", German, 1.5},          // a decimal point is always understood
        {"1.500", German, 1500},       // but the locale's grouping wins
        {"1\u202F234,5", French, 1234.5},
        {"1 234,5", French, 1234.5},
        {"\u2212" "3", English, -3},
        {"1,5", English, std::nullopt},
        {"12,34,567", English, std::nullopt},
        {"1,2345", English, std::nullopt},
        {"abc", English, std::nullopt},
        {"12abc", English, std::nullopt},
        {"1e999", English, std::nullopt},
        {"-", English, std::nullopt},
        {".", English, std::nullopt},
        {"1.2.3", English, std::nullopt},
        {"(5", English, std::nullopt},
        {"$100", English, std::nullopt},
        {"0x10", English, std::nullopt},
        {"1e", English, std::nullopt},
        {" ", English, std::nullopt},
    };
    for (const Case& c : cases) {
        const TypedInput input = readTypedInput(c.text, c.locale);
        if (c.number) {
            ASSERT_TRUE(std::holds_alternative<double>(input.value)) << c.text;
            EXPECT_DOUBLE_EQ(std::get<double>(input.value), *c.number) << c.text;
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(input.value)) << c.text;
            EXPECT_EQ(std::get<std::string>(input.value), c.text);
        }
    }
}

TEST(TypedInput, EmptyApostropheAndPercentDetails)
{
    EXPECT_TRUE(std::holds_alternative<std::monostate>(readTypedInput("", English).value));
    EXPECT_EQ(std::get<std::string>(readTypedInput("'123", English).value), "123");
    EXPECT_EQ(std::get<std::string>(readTypedInput("Ünïcödé 日本 🎉", English).value), "Ünïcödé 日本 🎉");
    EXPECT_EQ(std::get<std::string>(readTypedInput("bad \xFF byte", English).value), "bad \xEF\xBF\xBD byte");
    const TypedInput percent = readTypedInput("12.50%", English);
    EXPECT_TRUE(percent.percent);
    EXPECT_EQ(percent.decimals, 2);
}

} // namespace
} // namespace sheet
