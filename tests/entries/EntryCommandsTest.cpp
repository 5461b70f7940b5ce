#include "entries/EntryCommands.h"
#include "entries/SampleSet.h"
#include "support/ScriptedPlatform.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

struct Commands : ::testing::Test {
    testing_support::ScriptedPlatform system;
    QWidget window;
    QTreeWidget view{&window};
    entries::EntryList list{view};
    common::PointerState pointer{window};
    entries::EntryCommands commands{list, pointer, system.platform()};

    Commands()
    {
        list.CreateColumns();
        list.AppendEntry(QStringLiteral("Car"), QStringLiteral("7500"));
        list.AppendEntry(QStringLiteral("House"), QStringLiteral("250000"));
    }
    void answer(std::initializer_list<const char*> answers)
    {
        for (const char* text : answers)
            system.inputs.answers.push_back(QString::fromUtf8(text));
    }
    void select(int row) { view.setCurrentItem(view.topLevelItem(row - 1)); }
    std::vector<entries::Entry> rows() const { return list.rows(); }
};

TEST_F(Commands, AddNewAppendsExactlyWhatWasTyped)
{
    answer({"  Car ", " -0012.50 "});
    commands.PushButton2_Click();
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.label(3), QStringLiteral("  Car "));
    EXPECT_EQ(list.amount(3), QStringLiteral(" -0012.50 "));
    ASSERT_EQ(system.inputs.asked.size(), 2u);
    EXPECT_EQ(system.inputs.asked[0].prompt, QStringLiteral("Enter Asset Type:"));
    EXPECT_EQ(system.inputs.asked[0].title, QStringLiteral("Input Asset Type"));
    EXPECT_EQ(system.inputs.asked[1].prompt, QStringLiteral("Enter Amount:"));
    EXPECT_EQ(system.inputs.asked[1].title, QStringLiteral("Input Amount"));
    answer({"Zero", "0"});
    commands.PushButton2_Click();
    EXPECT_EQ(list.amount(4), QStringLiteral("0"));
}

TEST_F(Commands, AddNewStopsSilentlyOnCancelInvalidOrSeparatorAnswers)
{
    const auto before = rows();
    answer({""});                    // cancelled at the label
    commands.PushButton2_Click();
    answer({"Boat", ""});            // cancelled at the amount
    commands.PushButton2_Click();
    answer({"Boat", "12 apples"});   // not a number
    commands.PushButton2_Click();
    answer({"Bo||SEP2||at", "5"});   // would cut the stored list
    commands.PushButton2_Click();
    answer({"a||SEP2|", "5"});       // would join the separator after it into a new one
    commands.PushButton2_Click();
    EXPECT_EQ(rows(), before);
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(Commands, EditReplacesTheSelectedRowInPlaceOrNothing)
{
    select(1);
    answer({"Boat", "abc"});
    commands.PushButton4_Click();
    EXPECT_EQ(list.label(1), QStringLiteral("Car"));
    EXPECT_EQ(system.inputs.asked[0].defaultText, QStringLiteral("Car"));
    EXPECT_EQ(system.inputs.asked[1].defaultText, QStringLiteral("7500"));
    EXPECT_EQ(system.inputs.asked[1].prompt, QStringLiteral("Enter New Amount:"));

    answer({"Car", "7500"});
    commands.PushButton4_Click();
    answer({"Boat", "-1"});
    commands.PushButton4_Click();
    EXPECT_EQ(rows(), (std::vector<entries::Entry>{{"Boat", "-1"}, {"House", "250000"}}));
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(Commands, WithoutSelectionDeleteAndEditReportOnceAndChangeNothing)
{
    const auto before = rows();
    commands.PushButton3_Click();
    answer({"never asked"});
    commands.PushButton4_Click();
    EXPECT_EQ(rows(), before);
    ASSERT_EQ(system.messages.shown.size(), 2u);
    EXPECT_TRUE(system.messages.shown[0].text.contains(QStringLiteral("in Torvane2021/08/31.Form1.PushButton3_Click at line 102")));
    EXPECT_TRUE(system.messages.shown[1].text.contains(QStringLiteral("in Torvane2021/08/31.Form1.PushButton4_Click at line 102")));
}

TEST_F(Commands, DeleteRemovesTheSelectedRowAndEmptyListsDoNothing)
{
    select(1);
    commands.PushButton3_Click();
    EXPECT_EQ(rows(), (std::vector<entries::Entry>{{"House", "250000"}}));
    list.clear();
    commands.PushButton3_Click();
    commands.PushButton4_Click();
    commands.PushButton5_Click();
    EXPECT_TRUE(system.inputs.asked.empty());
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(Commands, BusyPointerGuardsClearAndSample)
{
    commands.PushButton7_Click();
    commands.PushButton7_Click();
    EXPECT_EQ(rows(), entries::SampleSet());
    pointer.set(common::PointerState::Busy);
    commands.PushButton5_Click();
    EXPECT_EQ(list.count(), 6);
    commands.PushButton7_Click();
    EXPECT_EQ(list.count(), 12);
    pointer.set(common::PointerState::Ordinary);
    commands.PushButton5_Click();
    EXPECT_EQ(list.count(), 0);
}

TEST_F(Commands, HelpNamesTheContactPageUnderTheApplicationTitle)
{
    commands.PushButton6_Click();
    ASSERT_EQ(system.messages.shown.size(), 1u);
    const auto& box = system.messages.shown[0];
    EXPECT_EQ(box.text, QStringLiteral("Questions? Please contact Team Vantrel at https://www.vantrel.example/contact"));
    EXPECT_EQ(box.icon, platform::Icon::None);
    EXPECT_EQ(box.buttons, platform::Buttons::Ok);
    EXPECT_TRUE(box.title.isEmpty());
}

}  // namespace
