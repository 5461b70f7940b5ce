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
        {"$100", English, std::nullopt},  // no currency in a locale that names none
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

// Amounts as people of five locales type them, read in each of the five: a number, or text.
TEST(TypedInput, AmountsInEveryLocale)
{
    const char* const names[] = {"C", "en_US", "de_DE", "fr_FR", "hi_IN"};
    struct Row {
        const char* text;
        std::optional<double> in[5];
    };
    const std::nullopt_t no = std::nullopt;
    const Row rows[] = {
        {"25000", {25000, 25000, 25000, 25000, 25000}},
        {"1,234.50", {1234.5, 1234.5, 1234.5, 1234.5, 1234.5}},  // the point's form is read everywhere
        {"1.234,50", {no, no, 1234.5, no, no}},
        {"12,5", {no, no, 12.5, 12.5, no}},
        {"1 234,50", {no, no, no, 1234.5, no}},
        {"1\u00A0234,50", {no, no, no, 1234.5, no}},
        {"1\u202F234,50", {no, no, no, 1234.5, no}},
        {"12,34,567.5", {no, no, no, no, 1234567.5}},
        {"1,234,567", {1234567, 1234567, 1234567, 1234567, 1234567}},
        {"-7", {-7, -7, -7, -7, -7}},
        {"7-", {-7, -7, -7, -7, -7}},
        {"+7", {7, 7, 7, 7, 7}},
        {"$1,500", {no, 1500, no, no, no}},
        {"($1,500)", {no, -1500, no, no, no}},
        {"1.234,50 \u20AC", {no, no, 1234.5, no, no}},
        {"-1 234,50 \u20AC", {no, no, no, -1234.5, no}},
        {"EUR 12,5", {no, no, 12.5, 12.5, no}},
        {"\u20B91,23,456", {no, no, no, no, 123456}},
        {"", {no, no, no, no, no}},
        {"12 apples", {no, no, no, no, no}},
        {"1,2,3", {no, no, no, no, no}},
    };
    for (std::size_t l = 0; l < std::size(names); ++l) {
        const NumberLocale locale = NumberLocale::named(names[l]);
        for (const Row& row : rows) {
            const CellValue value = readTypedInput(row.text, locale).value;
            if (row.in[l]) {
                ASSERT_TRUE(std::holds_alternative<double>(value)) << row.text << " in " << names[l];
                EXPECT_DOUBLE_EQ(std::get<double>(value), *row.in[l]) << row.text << " in " << names[l];
            } else {
                EXPECT_FALSE(std::holds_alternative<double>(value)) << row.text << " in " << names[l];
            }
        }
    }
    const NumberLocale german = NumberLocale::named("de_DE");
    EXPECT_EQ(&readingLocale("12,5", English, german), &german);
    EXPECT_EQ(&readingLocale("12.5", English, german), &English);
    EXPECT_EQ(&readingLocale("abc", English, german), &English);
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
