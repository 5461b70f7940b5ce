#include "sheet/format/NumberFormat.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using sheet::format::FormattedText;
using sheet::format::NumberFormat;
using sheet::format::Piece;

namespace {

constexpr const char* templateAccounting = R"(_("$"* #,##0_);_("$"* \(#,##0\);_("$"* "-"??_);_(@_))";
constexpr const char* buildAccounting = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";

struct NumberCase {
    const char* code;
    double value;
    const char* expected;
};

std::string shown(const char* code, double value)
{
    return NumberFormat(code).format(value).text();
}

TEST(NumberFormat, AccountingFormatsLayOutDollarFillAndPadding)
{
    for (const char* code : {templateAccounting, buildAccounting}) {
        SCOPED_TRACE(code);
        const NumberFormat format(code);
        const FormattedText positive = format.format(25000.0);
        const std::vector<Piece> expected = {
            {Piece::Kind::Padding, "("}, {Piece::Kind::Text, "$"}, {Piece::Kind::Fill, " "},
            {Piece::Kind::Text, "25,000"}, {Piece::Kind::Padding, ")"},
        };
        EXPECT_EQ(positive.pieces, expected);
        EXPECT_FALSE(positive.colourIndex.has_value());

        EXPECT_EQ(format.format(-1500.0).text(), " $ (1,500)");
        EXPECT_EQ(format.format(-1500.0).pieces.back(), (Piece{Piece::Kind::Text, "(1,500)"}));
        EXPECT_EQ(format.format(0.0).text(), " $ -   ");
        EXPECT_EQ(format.format(std::string_view("Savings")).text(), " Savings ");
        EXPECT_EQ(format.format(0.4).text(), " $ 0 ");
        EXPECT_EQ(format.format(1e9).text(), " $ 1,000,000,000 ");
        EXPECT_EQ(format.format(7500.0).text(), " $ 7,500 ");
    }
}

TEST(NumberFormat, CommonCodes)
{
    const NumberCase cases[] = {
        {"0", 3.5, "4"},
        {"0", -3.5, "-4"},
        {"0", 0.0, "0"},
        {"0.00", 3.14159, "3.14"},
        {"0.00", 2.675, "2.68"},
        {"0.00", 1.005, "1.01"},
        {"0.00", -0.001, "-0.00"},
        {"#,##0", 999.5, "1,000"},
        {"#,##0", 0.0, "0"},
        {"#,###", 0.0, ""},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0", -1234567.0, "-1,234,567"},
        {"0%", 0.256, "26%"},
        {"0.00%", 0.5, "50.00%"},
        {"0.00E+00", 12345.0, "1.23E+04"},
        {"0.00E+00", 0.000123, "1.23E-04"},
        {"0.00E+00", 0.0, "0.00E+00"},
        {"0.00E-00", 12345.0, "1.23E04"},
        {"0.0E+0", 9.99, "1.0E+1"},
        {"##0.0E+0", 12345.0, "12.3E+3"},
        {"#,##0,", 1234567.0, "1,235"},
        {"0.0,,", 1234567.0, "1.2"},
        {"000-00-0000", 123456789.0, "123-45-6789"},
        {"00000", 42.0, "00042"},
        {"#.##", 1.0, "1."},
        {"0.0#", 1.5, "1.5"},
        {"0.0#", 1.256, "1.26"},
        {"0.??", 1.5, "1.5 "},
        {"??0", 5.0, "  5"},
        {".00", 1.5, "1.50"},
        {"\\$0", 5.0, "$5"},
        {"$#,##0", -5.0, "-$5"},
        {"0 \"kg\"", 5.0, "5 kg"},
        {"[$€-407] #,##0.00", 12.5, "€ 12.50"},
        {"[$-409]0.0", 12.5, "12.5"},
        {"0.00;(0.00);\"zero\"", 0.0, "zero"},
        {"0.00;(0.00);\"zero\"", -1.5, "(1.50)"},
        {"0;;", -5.0, ""},
        {"0;-0;;@", 0.0, ""},
        {"[<=99]0;0.0", 5.0, "5"},
        {"[<=99]0;0.0", 150.0, "150.0"},
        {"[>=100]\"big\";[<0]\"neg\";\"small\"", -3.0, "neg"},
        {"[>=100]\"big\";[<0]\"neg\";\"small\"", 3.0, "small"},
        {"General", 0.5, "0.5"},
        {"General;[Red]-General", -2.0, "-2"},
        {"@", 12.5, "12.5"},
        {"", 12.5, "12.5"},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(shown(c.code, c.value), c.expected) << "code " << c.code << " value " << c.value;
}

TEST(NumberFormat, Fractions)
{
    const NumberCase cases[] = {
        {"# ?/?", 1.5, "1 1/2"},
        {"# ?/?", 0.5, " 1/2"},
        {"# ?/?", 2.0, "2    "},
        {"# ?/?", 0.0, "0    "},
        {"# ?/?", 1.97, "2    "},
        {"# ?/?", -1.25, "-1 1/4"},
        {R"(# ??/??)", 3.14159, "3 14/99"},
        {R"(# ??/??)", 0.1, "  1/10"},
        {"?/?", 0.75, "3/4"},
        {"?/?", 1.5, "3/2"},
        {"# ?/8", 1.3, "1 2/8"},
        {"0/0", 0.0, "0/1"},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(shown(c.code, c.value), c.expected) << "code " << c.code << " value " << c.value;
}

TEST(NumberFormat, ColoursComeFromTheChosenSection)
{
    const NumberFormat format("#,##0;[Red]-#,##0;[Color17]0;[Blue]@");
    EXPECT_FALSE(format.format(5.0).colourIndex.has_value());
    EXPECT_EQ(format.format(-5.0).colourIndex, 10);
    EXPECT_EQ(format.format(-5.0).text(), "-5");
    EXPECT_EQ(format.format(0.0).colourIndex, 24);
    EXPECT_EQ(format.format(std::string_view("x")).colourIndex, 12);
    EXPECT_EQ(NumberFormat("[GREEN]0").format(1.0).colourIndex, 11);
}

TEST(NumberFormat, TextUsesTheTextSectionOrStaysAsItIs)
{
    EXPECT_EQ(NumberFormat("0;-0;0;\"T:\"@").format(std::string_view("x")).text(), "T:x");
    EXPECT_EQ(NumberFormat("0.00").format(std::string_view("Car")).text(), "Car");
    EXPECT_EQ(NumberFormat("@").format(std::string_view("401k")).text(), "401k");
    EXPECT_EQ(NumberFormat("General").format(std::string_view("Maison à Lyon")).text(), "Maison à Lyon");
    const FormattedText filled = NumberFormat("@*.").format(std::string_view("Tab"));
    EXPECT_EQ(filled.pieces.back(), (Piece{Piece::Kind::Fill, "."}));
}

TEST(NumberFormat, OnlyTheFirstFillCounts)
{
    const FormattedText text = NumberFormat("*-0*=").format(3.0);
    ASSERT_EQ(text.pieces.size(), 2u);
    EXPECT_EQ(text.pieces[0], (Piece{Piece::Kind::Fill, "-"}));
    EXPECT_EQ(text.pieces[1], (Piece{Piece::Kind::Text, "3"}));
}

TEST(NumberFormat, BrokenCodesShowWhatCanBeShown)
{
    EXPECT_EQ(shown("0\"abc", 5.0), "5abc");
    EXPECT_EQ(shown("0[Blu", 5.0), "5[Blu");
    EXPECT_EQ(shown("0;0;0;@;0;0", -5.0), "5");
    EXPECT_EQ(shown("0\\", 5.0), "5");
    EXPECT_EQ(shown("0_", 5.0), "5");
    EXPECT_EQ(shown("[<abc]0", 5.0), "5");
    EXPECT_EQ(shown("[Color99]0", 5.0), "5");
    EXPECT_EQ(shown("0", 1e300).size(), 301u);
    EXPECT_EQ(shown("0.00", std::numeric_limits<double>::quiet_NaN()), "#NUM!");
}

TEST(NumberFormat, ArbitraryBytesNeverBreakTheFormatter)
{
    std::mt19937 random(20240607);
    const std::string alphabet = "0#?.,;%E+-@\"\\_*[]<>=$hmsdyAMP/ General\xC3\xA9\xE2\x82";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    const double values[] = {0.0, -1.0, 1.5, 1e15, -1e-12, 45000.25, 3e7};
    for (int round = 0; round < 3000; ++round) {
        std::string code;
        for (int k = length(random); k > 0; --k)
            code.push_back(alphabet[pick(random)]);
        const NumberFormat format(code);
        for (double value : values)
            EXPECT_LT(format.format(value).text().size(), 2000u) << code;
        format.format(std::string_view("text"));
    }
}

}  // namespace
