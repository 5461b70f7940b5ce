#include "entries/EntryList.h"
#include "entries/EntryStore.h"
#include "support/ScriptedPlatform.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

struct Restore : ::testing::Test {
    testing_support::ScriptedPlatform system;
    QTreeWidget view;
    entries::EntryList list{view};

    void load()
    {
        common::Handler h(system.messages, QStringLiteral("Torvane2021/08/31.Form1.Form_Load"));
        entries::LoadEntryList(list, system.settings, h, 122);
    }
};

TEST_F(Restore, NeverWrittenGivesTheSampleSetAndEmptyGivesNothing)
{
    load();
    ASSERT_EQ(list.count(), 6);
    EXPECT_EQ(view.headerItem()->text(0), QStringLiteral("Label"));
    EXPECT_EQ(view.headerItem()->text(1), QStringLiteral("Number (Value)"));
    EXPECT_EQ(list.label(4), QStringLiteral("House"));
    EXPECT_EQ(list.amount(4), QStringLiteral("250000"));

    QTreeWidget other;
    entries::EntryList empty(other);
    system.settings.values[entries::kAssetsKey] = QString();
    common::Handler h(system.messages, QStringLiteral("x"));
    entries::LoadEntryList(empty, system.settings, h, 122);
    EXPECT_EQ(empty.count(), 0);
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(Restore, AnEntryWithoutAmountIsReportedOnceAndRestoringGoesOn)
{
    system.settings.values[entries::kAssetsKey] = QStringLiteral("Ca||SEP2||r||SEP1||7500||SEP2||");
    load();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.label(1), QStringLiteral("Ca"));
    EXPECT_EQ(list.amount(1), QString());
    EXPECT_EQ(list.amount(2), QStringLiteral("7500"));
    ASSERT_EQ(system.messages.shown.size(), 1u);
    EXPECT_TRUE(system.messages.shown[0].text.contains(
        QStringLiteral("in Torvane2021/08/31.Form1.Form_Load at line 130\r\r")));
}

// A huge label is shown cut, so the list draws at once, and kept whole, so the next save loses nothing.
TEST_F(Restore, AHugeLabelIsShownCutAndStoredWhole)
{
    const QString huge(8 << 20, QLatin1Char('h'));
    system.settings.values[entries::kAssetsKey] = huge + QStringLiteral("||SEP2||");
    load();
    ASSERT_EQ(list.count(), 1);
    EXPECT_LE(view.topLevelItem(0)->text(0).size(), 1001);
    ASSERT_EQ(system.messages.shown.size(), 1u);
    EXPECT_LT(system.messages.shown[0].text.size(), 1000);
    list.setAmount(1, QStringLiteral("5"));
    entries::SaveEntryList(list, system.settings);
    EXPECT_EQ(system.settings.values[entries::kAssetsKey], huge + QStringLiteral("||SEP1||5||SEP2||"));
}

TEST_F(Restore, AStoreThatCannotBeReadInFullIsReportedOnTheReadingLineAndRestoringGoesOn)
{
    system.settings.values[entries::kAssetsKey] = QStringLiteral("Car||SEP1||7500||SEP2||");
    system.settings.unreadable = true;
    load();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.amount(1), QStringLiteral("7500"));
    ASSERT_EQ(system.messages.shown.size(), 1u);
    EXPECT_TRUE(system.messages.shown[0].text.startsWith(
        QStringLiteral("The settings store cannot be read\r\nin Torvane2021/08/31.Form1.Form_Load at line 124\r\r")));
}

TEST_F(Restore, SaveWritesEveryRowAlwaysAndAFailedWriteThrows)
{
    list.AppendEntry(QStringLiteral("Car"), QStringLiteral("7,500.5"));
    entries::SaveEntryList(list, system.settings);
    EXPECT_EQ(system.settings.values[entries::kAssetsKey], QStringLiteral("Car||SEP1||7,500.5||SEP2||"));
    list.clear();
    entries::SaveEntryList(list, system.settings);
    EXPECT_EQ(system.settings.values[entries::kAssetsKey], QString());
    EXPECT_EQ(system.settings.writes, 4);  // the list and the locale of its amounts, each time
    system.settings.failWrites = true;
    EXPECT_THROW(entries::SaveEntryList(list, system.settings), std::runtime_error);
}

}  // namespace
