// The rules of the windows' sizes and places, away from any window.

#include "common/AnchoredLayout.h"
#include "common/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

using common::AnchoredLayout;
using common::Placement;
using common::WindowPlacement;

TEST(AnchoredLayout, DesignSizeKeepsTheDesignAndOtherSizesMoveEachEdgeByItsShare)
{
    AnchoredLayout layout(QSize(8040, 4800));
    const int top = layout.add(QRect(120, 120, 7800, 405), {0, 1, 0, 0});
    const int list = layout.add(QRect(120, 1140, 7800, 2535), common::kGrow);
    const int bottomLeft = layout.add(QRect(120, 4290, 3840, 405), {0, 0.5, 1, 1});
    const int bottomRight = layout.add(QRect(4080, 4290, 3840, 405), {0.5, 1, 1, 1});
    const int fixed = layout.add(QRect(10, 20, 30, 40), common::kKeepTopLeft);

    for (int index : {top, list, bottomLeft, bottomRight, fixed})
        EXPECT_EQ(layout.place(index, QSize(8040, 4800)), layout.place(index, layout.designSize()));
    EXPECT_EQ(layout.place(list, QSize(8040, 4800)), QRect(120, 1140, 7800, 2535));

    // 1200 twips wider and 3000 higher.
    const QSize larger(9240, 7800);
    EXPECT_EQ(layout.place(top, larger), QRect(120, 120, 9000, 405));
    EXPECT_EQ(layout.place(list, larger), QRect(120, 1140, 9000, 5535));
    EXPECT_EQ(layout.place(bottomLeft, larger), QRect(120, 7290, 4440, 405));
    EXPECT_EQ(layout.place(bottomRight, larger), QRect(4680, 7290, 4440, 405));
    EXPECT_EQ(layout.place(fixed, larger), QRect(10, 20, 30, 40));
    // The gap between the two halves and the margins stay as designed.
    EXPECT_EQ(layout.place(bottomRight, larger).left() - layout.place(bottomLeft, larger).right(),
              QRect(4080, 0, 1, 1).left() - QRect(120, 0, 3840, 1).right());
    EXPECT_EQ(larger.width() - layout.place(bottomRight, larger).right() - 1, 120);

    // Smaller: the list gives the room, the buttons keep their sizes and stay inside.
    const QSize smaller(6000, 3600);
    EXPECT_EQ(layout.place(list, smaller), QRect(120, 1140, 5760, 1335));
    EXPECT_EQ(layout.place(bottomRight, smaller).bottom() + 1, 3600 - 105);
    // A window far too small gives controls an empty size, never a negative one.
    EXPECT_EQ(layout.place(list, QSize(100, 100)).size(), QSize(0, 0));
}

TEST(WindowPlacement, TheStoredTextComesBackAndAnythingElseIsNoPlace)
{
    const Placement normal{QRect(-20, 40, 656, 626), false};
    const Placement maximized{QRect(10, 20, 700, 500), true};
    EXPECT_EQ(WindowPlacement::format(normal), QStringLiteral("-20,40,656,626"));
    EXPECT_EQ(WindowPlacement::format(maximized), QStringLiteral("10,20,700,500,maximized"));
    EXPECT_EQ(WindowPlacement::parse(WindowPlacement::format(normal)), normal);
    EXPECT_EQ(WindowPlacement::parse(WindowPlacement::format(maximized)), maximized);
    for (const char* text : {"", "1,2,3", "1,2,3,4,5", "1,2,0,4", "1,2,3,-4", "a,2,3,4", "1,2,3,4,minimized", "1,2,3,4,"})
        EXPECT_FALSE(WindowPlacement::parse(QString::fromLatin1(text))) << text;
}

TEST(WindowPlacement, AWindowOpensOnAScreenThatExistsAndNeverLargerThanIt)
{
    const QSize design(656, 626);
    const QSize minimum(480, 291);
    const QSize frame(0, 30);
    const QRect big(0, 0, 3840, 2120);
    const QRect small(3840, 0, 800, 570);

    // A new window: in the middle of the first screen at its design size...
    EXPECT_EQ(WindowPlacement::choose(std::nullopt, design, minimum, {big, small}, frame),
              (Placement{QRect(1592, 732, 656, 626), false}));
    // ...or fitted to a screen smaller than it, with its frame, whole on the screen.
    const Placement fitted = WindowPlacement::choose(std::nullopt, design, minimum, {small}, frame);
    EXPECT_EQ(fitted.rect.size(), QSize(656, 540));
    EXPECT_TRUE(small.contains(QRect(fitted.rect.topLeft(), fitted.rect.size() + frame)));

    // A remembered place on a screen that still exists comes back, maximised or not.
    const Placement remembered{QRect(100, 200, 1400, 900), true};
    EXPECT_EQ(WindowPlacement::choose(remembered, design, minimum, {big, small}, frame), remembered);
    // On the small screen it is fitted and kept on it.
    const Placement onSmall{QRect(3900, 10, 1400, 900), false};
    const Placement kept = WindowPlacement::choose(onSmall, design, minimum, {big, small}, frame);
    EXPECT_TRUE(small.contains(QRect(kept.rect.topLeft(), kept.rect.size() + frame)));
    EXPECT_EQ(kept.rect.size(), QSize(800, 540));
    // The screen is gone: the window opens as a new one does.
    EXPECT_EQ(WindowPlacement::choose(onSmall, design, minimum, {big}, frame),
              WindowPlacement::choose(std::nullopt, design, minimum, {big}, frame));
    // A remembered size below the least is raised to it.
    EXPECT_EQ(WindowPlacement::choose(Placement{QRect(10, 10, 50, 50), false}, design, minimum, {big}, frame).rect.size(),
              minimum);
}

}  // namespace
