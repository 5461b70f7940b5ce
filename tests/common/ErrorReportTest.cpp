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

// A description is cut after 300 characters or 10 lines, never inside a character, and ends with
// the mark; the location and the request for a screenshot always follow it whole.
struct LongDescription {
    const char* name;
    QString description;
    QString shown;
};

class LongDescriptions : public ::testing::TestWithParam<LongDescription> {};

const QString kCut = QString(QChar(0x2026));

TEST_P(LongDescriptions, AreCutWithTheirMark)
{
    testing_support::ScriptedMessageBoxes boxes;
    common::Handler h(boxes, kLoad);
    const std::string thrown = GetParam().description.toStdString();
    h(104, [&] { throw std::runtime_error(thrown); });
    common::ReportError(boxes, kLoad, 106, GetParam().description);
    ASSERT_EQ(boxes.shown.size(), 2u);
    for (const platform::MessageRequest& shown : boxes.shown)
        EXPECT_TRUE(shown.text.startsWith(GetParam().shown + QStringLiteral("\r\nin ") + kLoad + QStringLiteral(" at line 10")))
            << shown.text.left(400).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    ErrorReport, LongDescriptions,
    ::testing::Values(LongDescription{"Exactly300", QString(300, QLatin1Char('x')), QString(300, QLatin1Char('x'))},
                      LongDescription{"StoredMegabyte", QString(1 << 20, QLatin1Char('x')), QString(300, QLatin1Char('x')) + kCut},
                      LongDescription{"TwoByteCharacters", QString(400, QChar(0xE9)), QString(300, QChar(0xE9)) + kCut},
                      LongDescription{"FourByteCharacters", QString::fromUcs4(std::u32string(400, U'\U0001F600').c_str(), 400),
                                      QString::fromUcs4(std::u32string(300, U'\U0001F600').c_str(), 300) + kCut},
                      LongDescription{"ManyLines", QStringLiteral("line\n").repeated(40),
                                      QStringLiteral("line\n").repeated(10) + kCut}),
    [](const ::testing::TestParamInfo<LongDescription>& info) { return std::string(info.param.name); });

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
