#include "common/ErrorReport.h"
#include "common/Handler.h"
#include "support/ScriptedPlatform.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

const QString kLoad = QStringLiteral("Torvane2021/08/31.Form2.Form_Load");

TEST(ErrorReport, MessageIsAssembledByteForByte)
{
    EXPECT_EQ(common::errorMessage(QStringLiteral("Disk full"), kLoad, 104),
              QStringLiteral("Disk full\r\nin Torvane2021/08/31.Form2.Form_Load at line 104\r\r"
                             "Please email screenshot of this message to support@vantrel.example"));
    EXPECT_TRUE(common::errorMessage(QString(), kLoad, 0).startsWith(QStringLiteral("\r\nin ")));
}

TEST(ErrorReport, BoxIsAWarningTitledApplicationErrorWithOk)
{
    testing_support::ScriptedMessageBoxes boxes;
    common::ReportError(boxes, kLoad, 100, QStringLiteral("x"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Application Error"));
    EXPECT_EQ(boxes.shown[0].icon, platform::Icon::Warning);
    EXPECT_EQ(boxes.shown[0].buttons, platform::Buttons::Ok);
}

void failingRoutine() { throw std::runtime_error("routine failed"); }

TEST(Handler, ReportsEachFailingLineInOrderAndCompletesTheRest)
{
    testing_support::ScriptedMessageBoxes boxes;
    common::Handler h(boxes, QStringLiteral("Torvane2021/08/31.Form1.PushButton2_Click"));
    std::vector<int> ran;
    h(0, [&] { throw std::runtime_error("before"); });
    h(100, [&] { ran.push_back(100); });
    h(110, [&] { failingRoutine(); ran.push_back(-1); });
    h(112, [&] { ran.push_back(112); });
    h(114, [&] { throw 42; });
    h(116, [&] { ran.push_back(116); });
    EXPECT_EQ(ran, (std::vector<int>{100, 112, 116}));
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("before\r\nin Torvane2021/08/31.Form1.PushButton2_Click at line 0\r\r")));
    EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("routine failed\r\nin Torvane2021/08/31.Form1.PushButton2_Click at line 110\r\r")));
    EXPECT_TRUE(boxes.shown[2].text.contains(QStringLiteral("at line 114\r\r")));
}

TEST(Handler, ADescriptionAlreadyShownInThisRunIsNotShownAgain)
{
    testing_support::ScriptedMessageBoxes boxes;
    const QString location = QStringLiteral("Torvane2021/08/31.Form1.PushButton1_Click");
    std::vector<int> ran;
    {
        common::Handler h(boxes, location);
        for (int line = 112; line <= 118; line += 2)
            h(line, [&] {
                ran.push_back(line);
                throw std::runtime_error("Object variable not set: the workbook");
            });
        h(120, [&] { throw std::runtime_error("Disk full"); });
        EXPECT_TRUE(h.when(122, []() -> bool { throw std::runtime_error("Disk full"); }));
    }
    common::Handler nextRun(boxes, location);
    nextRun(100, [] { throw std::runtime_error("Disk full"); });

    EXPECT_EQ(ran, (std::vector<int>{112, 114, 116, 118}));
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(
        QStringLiteral("Object variable not set: the workbook\r\nin ") + location + QStringLiteral(" at line 112\r\r")));
    EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("Disk full\r\nin ") + location + QStringLiteral(" at line 120\r\r")));
    EXPECT_TRUE(boxes.shown[2].text.contains(QStringLiteral(" at line 100\r\r")));
}

TEST(Handler, FailingConditionEntersTheBlock)
{
    testing_support::ScriptedMessageBoxes boxes;
    common::Handler h(boxes, kLoad);
    EXPECT_TRUE(h.when(102, [] () -> bool { throw std::runtime_error("no selection"); }));
    EXPECT_FALSE(h.when(104, [] { return false; }));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
