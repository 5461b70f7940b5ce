#include "entries/EntryListText.h"
#include "entries/NumericTest.h"
#include "entries/SampleSet.h"

#include <gtest/gtest.h>

using entries::Entry;

namespace {

TEST(EntryListText, EncodesEveryEntryWithBothSeparators)
{
    EXPECT_EQ(entries::EncodeEntryList({{"Car", "7500"}, {"House", "250000"}}),
              QStringLiteral("Car||SEP1||7500||SEP2||House||SEP1||250000||SEP2||"));
    EXPECT_EQ(entries::EncodeEntryList({}), QString());
}

TEST(EntryListText, DefaultTextIsTheSampleSetWithoutTheLastSeparator)
{
    const QString text = entries::DefaultEntryListText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Savings||SEP1||25000||SEP2||401k||SEP1||55000")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("Car||SEP1||7500")));
    // Both forms restore the same rows.
    EXPECT_EQ(entries::SplitEntryList(text), entries::SplitEntryList(entries::EncodeEntryList(entries::SampleSet())));
}

TEST(EntryListText, AwkwardTextsComeBackExactly)
{
    const std::vector<Entry> rows{{" spaced ", " 1 000,50 "},
                                  {"line\nbreak\r\n", "-3.5"},
                                  {"Ünïcødé 😀 ||SEP", "0"},
                                  {QString(1 << 20, QLatin1Char('x')), "1e9"},
                                  {"", ""}};
    const auto split = entries::SplitEntryList(entries::EncodeEntryList(rows));
    ASSERT_EQ(split.size(), rows.size());  // an empty label with an empty amount is still a piece
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(split[i], (QStringList{rows[i].label, rows[i].amount}));
}

// The rule refuses exactly the labels that break the stored list: every text of up to seven of the
// separators' letters that it accepts comes back as itself beside others like it, and every text it
// refuses breaks a list of three entries.
TEST(EntryListText, ExactlyTheLabelsThatBreakTheStoredListAreRefused)
{
    const QString letters = QStringLiteral("|SEP12");
    std::vector<QString> texts{QString()};
    for (std::size_t from = 0; texts.back().size() < 7;) {
        const std::size_t end = texts.size();
        for (; from < end; ++from)
            for (const QChar letter : letters)
                texts.push_back(texts[from] + letter);
    }
    texts.erase(texts.begin());
    std::size_t accepted = 0;
    for (const QString& text : texts) {
        const bool intact = entries::StoresIntact({text, QStringLiteral("1")});
        const std::vector<Entry> rows = intact ? std::vector<Entry>{{text, "1"}, {text, "2"}, {"|S|", "3"}, {text, "4"}}
                                               : std::vector<Entry>{{"a", "1"}, {text, "2"}, {"b", "3"}};
        std::vector<QStringList> expected;
        for (const Entry& row : rows)
            expected.push_back({row.label, row.amount});
        EXPECT_EQ(entries::SplitEntryList(entries::EncodeEntryList(rows)) == expected, intact) << text.toStdString();
        accepted += intact;
    }
    EXPECT_GT(accepted, 200000u);
    for (const char* honest : {"Stocks |", "|Bonds", "SEP1", "SEP2", "P2||", "a||SEP"})
        EXPECT_TRUE(entries::StoresIntact({QString::fromUtf8(honest), QStringLiteral("1")})) << honest;
    for (const char* forged : {"a||SEP2|", "b||SEP1|", "x||SEP1||y", "x||SEP2||"})
        EXPECT_FALSE(entries::StoresIntact({QString::fromUtf8(forged), QStringLiteral("1")})) << forged;
}

TEST(EntryListText, SeparatorsInsideTextsCutTheStoredList)
{
    // A label holding "||SEP2||" becomes a row without an amount, then the rest starts the next entry.
    auto split = entries::SplitEntryList(QStringLiteral("Ca||SEP2||r||SEP1||7500||SEP2||"));
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0], QStringList{QStringLiteral("Ca")});
    EXPECT_EQ(split[1], (QStringList{QStringLiteral("r"), QStringLiteral("7500")}));
    // A label holding "||SEP1||" takes the text after it as its amount; the real amount is a third part.
    split = entries::SplitEntryList(QStringLiteral("A||SEP1||B||SEP1||5||SEP2||"));
    ASSERT_EQ(split.size(), 1u);
    EXPECT_EQ(split[0].at(1), QStringLiteral("B"));
    // Adjacent and trailing separators add no rows; matching is case-sensitive.
    split = entries::SplitEntryList(QStringLiteral("||SEP2||||SEP2||a||sep1||1||SEP2||||SEP2||"));
    ASSERT_EQ(split.size(), 1u);
    EXPECT_EQ(split[0], QStringList{QStringLiteral("a||sep1||1")});
}

TEST(NumericTest, AcceptsNumbersInTheLocaleOrWithAPoint)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const char* yes : {"25000", "-1500", "+7", "0", "3.25", " 42 ", "1,000"})
        EXPECT_TRUE(entries::IsNumeric(QString::fromLatin1(yes), english)) << yes;
    EXPECT_TRUE(entries::IsNumeric(QStringLiteral("1,5"), german));
    EXPECT_TRUE(entries::IsNumeric(QStringLiteral("1.5"), german));
    for (const char* no : {"", "   ", "abc", "12abc", "nan", "inf", "1..2"})
        EXPECT_FALSE(entries::IsNumeric(QString::fromLatin1(no), english)) << no;
}

}  // namespace
