#include "preview/ZoomModel.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using preview::ZoomModel;

// A model set up for a delivered picture of the given natural size in twips, as the first
// activation does it; counts the paintings it asks for.
struct Preview {
    int paintings = 0;
    ZoomModel zoom;

    Preview(std::int32_t width, std::int32_t height, std::int32_t widthLimit = ZoomModel::kLargestSide,
            std::int32_t heightLimit = ZoomModel::kLargestSide)
        : zoom([this] { ++paintings; }, widthLimit, heightLimit)
    {
        zoom.takePictureSize(width, height);
        zoom.copyPictureSize();
        zoom.resetFactor();
        zoom.ApplyZoom();
        zoom.SetupScrollbars();
    }

    auto snapshot() const
    {
        const auto& p = zoom.picture();
        return std::make_tuple(zoom.factor(), zoom.zoomedWidth(), zoom.zoomedHeight(), p.left, p.top, p.width, p.height,
                               zoom.horizontalBar().value, zoom.verticalBar().value, zoom.horizontalBar().maximum,
                               zoom.verticalBar().maximum, zoom.horizontalStep(), zoom.verticalStep(), paintings);
    }
};

// The limits of a bitmap painting, below 4000 pixels wide and 9000 high, show how a limit acts.
constexpr std::int32_t kBitmapWidth = 4000 * 15;
constexpr std::int32_t kBitmapHeight = 9000 * 15;

TEST(ZoomModel, TwelveStepsInReachFourAndThreeOutReachAQuarterRefusedStepsChangeNothing)
{
    Preview in(900, 2000);  // base 898 x 1998: 4.0 stays within both limits
    for (int step = 1; step <= 12; ++step) {
        in.zoom.StepZoom(0);
        EXPECT_FLOAT_EQ(in.zoom.factor(), 1.0f + 0.25f * step);
    }
    EXPECT_EQ(in.zoom.factor(), 4.0f);
    EXPECT_EQ(in.zoom.zoomedWidth(), 3592);
    EXPECT_EQ(in.zoom.zoomedHeight(), 7992);
    EXPECT_EQ(in.paintings, 13);
    in.zoom.pressAt(0, 0);
    in.zoom.dragTo(1, -300, -400);
    const auto before = in.snapshot();
    in.zoom.StepZoom(0);
    EXPECT_EQ(in.snapshot(), before);

    Preview out(900, 2000);
    out.zoom.StepZoom(1);
    out.zoom.StepZoom(-5);  // any direction but 0 zooms out
    out.zoom.StepZoom(1);
    EXPECT_EQ(out.zoom.factor(), 0.25f);
    EXPECT_EQ(out.zoom.zoomedWidth(), 224);  // whole part of 224.5
    const auto atQuarter = out.snapshot();
    out.zoom.StepZoom(1);
    EXPECT_EQ(out.snapshot(), atQuarter);
}

TEST(ZoomModel, ABaseOfThreeThousandByFiveThousandPixelsResetsAtTheWidthLimit)
{
    Preview p(45002, 75002, kBitmapWidth, kBitmapHeight);
    EXPECT_EQ(p.zoom.baseWidth(), 45000);
    EXPECT_EQ(p.zoom.baseHeight(), 75000);
    EXPECT_EQ(p.paintings, 1);

    p.zoom.StepZoom(0);
    EXPECT_EQ(p.zoom.factor(), 1.25f);
    EXPECT_EQ(p.zoom.picture().width, 56250);
    EXPECT_EQ(p.zoom.picture().height, 93750);
    EXPECT_EQ(p.paintings, 2);

    p.zoom.pressAt(0, 0);
    p.zoom.dragTo(1, 0, -500);
    p.zoom.StepZoom(0);  // 4500 pixels wide reaches the limit
    EXPECT_EQ(p.paintings, 2);
    EXPECT_EQ(p.zoom.factor(), 1.0f);
    EXPECT_EQ(p.zoom.zoomedWidth(), 45000);
    EXPECT_EQ(p.zoom.zoomedHeight(), 75000);
    EXPECT_EQ(p.zoom.picture().width, 56250);
    EXPECT_EQ(p.zoom.picture().height, 93750);
    EXPECT_EQ(p.zoom.picture().top, 0);  // back at the corner all the same

    p.zoom.StepZoom(0);
    EXPECT_EQ(p.zoom.factor(), 1.25f);
    EXPECT_EQ(p.paintings, 3);
    EXPECT_EQ(p.zoom.picture().width, 56250);
}

TEST(ZoomModel, ABaseOfFiveThousandBySixThousandPixelsKeepsItsNaturalSizeUntilZoomedOut)
{
    Preview p(75002, 90002, kBitmapWidth, kBitmapHeight);
    EXPECT_EQ(p.paintings, 0);
    EXPECT_EQ(p.zoom.picture().width, 75002);
    EXPECT_EQ(p.zoom.picture().height, 90002);
    EXPECT_EQ(p.zoom.factor(), 1.0f);

    p.zoom.StepZoom(1);
    EXPECT_EQ(p.paintings, 1);
    EXPECT_EQ(p.zoom.picture().width, 56250);
    EXPECT_EQ(p.zoom.picture().height, 67500);

    p.zoom.StepZoom(0);
    EXPECT_EQ(p.paintings, 1);
    EXPECT_EQ(p.zoom.factor(), 1.0f);
    EXPECT_EQ(p.zoom.picture().width, 56250);
    EXPECT_EQ(p.zoom.picture().height, 67500);
}

TEST(ZoomModel, TheSampleChartZoomsFromAQuarterToThree)
{
    Preview p(1257 * 15, 480 * 15, kBitmapWidth, kBitmapHeight);
    for (int i = 0; i < 3; ++i)
        p.zoom.StepZoom(1);
    EXPECT_EQ(p.zoom.factor(), 0.25f);
    for (int i = 0; i < 11; ++i)
        p.zoom.StepZoom(0);
    EXPECT_EQ(p.zoom.factor(), 3.0f);
    EXPECT_EQ(p.zoom.picture().width, 56559);
    p.zoom.StepZoom(0);  // 4084 pixels wide
    EXPECT_EQ(p.zoom.factor(), 1.0f);
    EXPECT_EQ(p.zoom.picture().width, 56559);
}

// A thousand entries make a picture 20060 pixels high: every step out is painted, down to a quarter,
// also under limits it is far beyond, and a step in that would pass a limit is still refused.
TEST(ZoomModel, ATallPictureZoomsOutToAQuarterWhateverTheLimits)
{
    for (const std::int32_t heightLimit : {ZoomModel::kLargestSide, kBitmapHeight}) {
        Preview p(1259 * 15, 20062 * 15, kBitmapWidth, heightLimit);
        for (int step = 1; step <= 3; ++step) {
            p.zoom.StepZoom(1);
            EXPECT_EQ(p.zoom.picture().height, static_cast<std::int32_t>((1.0 - 0.25 * step) * (20062 * 15 - 2)));
        }
        EXPECT_EQ(p.zoom.factor(), 0.25f);
        p.zoom.StepZoom(0);
        EXPECT_EQ(p.zoom.factor(), heightLimit == kBitmapHeight ? 1.0f : 0.5f);
    }
    Preview large(1259 * 15, 20062 * 15);
    for (int step = 1; step <= 12; ++step)
        large.zoom.StepZoom(0);
    EXPECT_EQ(large.zoom.factor(), 4.0f);
}

// The wheel's step keeps the point under the pointer where it was, as near as the ten-twip grid
// of the bars allows; at the top-left corner nothing is pushed past it.
TEST(ZoomModel, AStepAroundAPointKeepsThatPointWhereItWas)
{
    Preview p(1259 * 15, 20062 * 15);
    p.zoom.scrollHorizontal(400);
    p.zoom.scrollVertical(500);
    const float x = 3000, y = 2000;
    for (const std::int32_t direction : {0, 0, 1, 1, 1}) {
        const auto before = p.zoom.picture();
        SCOPED_TRACE(p.zoom.factor());
        p.zoom.zoomAround(direction, x, y);
        const auto& after = p.zoom.picture();
        const double scale = static_cast<double>(after.height) / before.height;
        EXPECT_NEAR(y - after.top, (y - before.top) * scale, 10);
        EXPECT_NEAR(x - after.left, (x - before.left) * scale, 10);
        EXPECT_EQ(after.top, -p.zoom.verticalStep() * p.zoom.verticalBar().value);
    }
    EXPECT_EQ(p.zoom.factor(), 0.75f);
    Preview corner(1259 * 15, 20062 * 15);
    corner.zoom.zoomAround(1, 0, 0);
    EXPECT_EQ(corner.zoom.picture().top, 0);
    EXPECT_EQ(corner.zoom.picture().left, 0);
}

TEST(ZoomModel, ScrollStepsAndMaximaFollowTheOverflowWithHalvesToEven)
{
    struct Case {
        std::int32_t overflow;
        std::int16_t step;
        std::int32_t maximum;
    };
    for (const Case& c : {Case{100, 1, 100}, Case{101, 10, 10}, Case{125, 10, 12}, Case{135, 10, 14}}) {
        SCOPED_TRACE(c.overflow);
        // A painted picture is two twips smaller than the delivered one.
        Preview p(ZoomModel::kViewportWidth + c.overflow + 2, ZoomModel::kViewportHeight + c.overflow + 2);
        EXPECT_EQ(p.zoom.horizontalStep(), c.step);
        EXPECT_EQ(p.zoom.horizontalBar().maximum, c.maximum);
        EXPECT_TRUE(p.zoom.horizontalBar().enabled);
        EXPECT_EQ(p.zoom.verticalStep(), c.step);
        EXPECT_EQ(p.zoom.verticalBar().maximum, c.maximum);
        EXPECT_TRUE(p.zoom.verticalBar().enabled);
    }

    // Between the inner and the outer size there is no overflow to scroll.
    Preview within(ZoomModel::kViewportWidth, ZoomModel::kViewportInnerHeight + 2 + 10);
    EXPECT_EQ(within.zoom.horizontalStep(), 0);
    EXPECT_FALSE(within.zoom.horizontalBar().enabled);
    EXPECT_EQ(within.zoom.verticalStep(), 0);
    EXPECT_FALSE(within.zoom.verticalBar().enabled);
}

TEST(ZoomModel, ScrollingMovesThePictureByStepTimesValue)
{
    Preview p(15000, 12000);
    p.zoom.scrollHorizontal(125);
    p.zoom.scrollVertical(7);
    EXPECT_EQ(p.zoom.picture().left, -1250);
    EXPECT_EQ(p.zoom.picture().top, -70);

    // A picture far beyond the zoom limits still reaches its far end: no 16-bit product.
    Preview wide(45002, 100002);
    EXPECT_EQ(wide.zoom.horizontalBar().maximum, 3567);
    EXPECT_EQ(wide.zoom.verticalBar().maximum, 9258);
    wide.zoom.scrollHorizontal(wide.zoom.horizontalBar().maximum);
    wide.zoom.scrollVertical(wide.zoom.verticalBar().maximum);
    EXPECT_EQ(wide.zoom.picture().left, -35670);
    EXPECT_EQ(wide.zoom.picture().top, -92580);

    Preview huge(400000, 3000);
    EXPECT_EQ(huge.zoom.horizontalBar().maximum, 39067);
    huge.zoom.scrollHorizontal(39067);
    EXPECT_EQ(huge.zoom.picture().left, -390670);
}

TEST(ZoomModel, PanningClampsToTheViewportOnBothAxes)
{
    Preview p(15000, 12000);
    p.zoom.pressAt(1000, 1000);
    p.zoom.dragTo(1, 500, 700);
    EXPECT_EQ(p.zoom.picture().left, -500);
    EXPECT_EQ(p.zoom.picture().top, -300);
    EXPECT_EQ(p.zoom.horizontalBar().value, 0);  // the bars wait for the mouse-up

    p.zoom.dragTo(0, 9000, 9000);  // no button held: no pan
    EXPECT_EQ(p.zoom.picture().left, -500);

    p.zoom.dragTo(2, 5000, 5000);
    EXPECT_EQ(p.zoom.picture().left, 0);
    EXPECT_EQ(p.zoom.picture().top, 0);

    p.zoom.dragTo(1, -20000, -20000);
    EXPECT_EQ(p.zoom.picture().left, ZoomModel::kViewportInnerWidth - p.zoom.picture().width);
    EXPECT_EQ(p.zoom.picture().top, ZoomModel::kViewportInnerHeight - p.zoom.picture().height);
}

TEST(ZoomModel, APictureNarrowerThanTheViewportStaysAtItsLeftEdgeWhileTheOtherAxisPans)
{
    Preview p(3002, 12002);
    EXPECT_EQ(p.zoom.horizontalStep(), 0);
    EXPECT_FALSE(p.zoom.horizontalBar().enabled);

    p.zoom.pressAt(100, 100);
    p.zoom.dragTo(1, 200, 100);
    EXPECT_EQ(p.zoom.picture().left, 0);
    p.zoom.dragTo(1, 100, 150);  // a purely vertical drag from left 0
    EXPECT_EQ(p.zoom.picture().left, 0);
    p.zoom.dragTo(1, 20, 40);
    EXPECT_EQ(p.zoom.picture().left, 0);
    EXPECT_EQ(p.zoom.picture().top, -60);

    const auto bar = p.zoom.horizontalBar();
    p.zoom.followHorizontalPosition();
    EXPECT_EQ(p.zoom.horizontalBar().value, bar.value);
    EXPECT_FALSE(p.zoom.horizontalBar().enabled);
    EXPECT_EQ(p.zoom.picture().left, 0);
}

TEST(ZoomModel, MouseUpSnapsThePictureToTheScrollGrid)
{
    Preview p(15002, 12002);  // overflow 5670 x 4575: maxima 567 and 458
    p.zoom.pressAt(0, 0);
    p.zoom.dragTo(1, -1234, -2001);
    p.zoom.followHorizontalPosition();  // 21.76 % -> 22 % of 567 = 124.74 -> 125
    p.zoom.followVerticalPosition();    // 43.74 % -> 44 % of 458 = 201.52 -> 202
    EXPECT_EQ(p.zoom.horizontalBar().value, 125);
    EXPECT_EQ(p.zoom.verticalBar().value, 202);
    EXPECT_EQ(p.zoom.picture().left, -1250);
    EXPECT_EQ(p.zoom.picture().top, -2020);

    // Without movement the values do not change and the picture stays where it is.
    p.zoom.followHorizontalPosition();
    p.zoom.followVerticalPosition();
    EXPECT_EQ(p.zoom.picture().left, -1250);
    EXPECT_EQ(p.zoom.picture().top, -2020);
}

TEST(ZoomModel, APercentageAboveAHundredLeavesBarAndPictureAlone)
{
    Preview p(ZoomModel::kViewportWidth + 12, ZoomModel::kViewportHeight + 22);
    p.zoom.pressAt(0, 0);
    p.zoom.dragTo(1, -500, -500);  // as far as it goes: past the outer overflow by the border
    EXPECT_EQ(p.zoom.picture().left, -40);
    EXPECT_EQ(p.zoom.picture().top, -50);
    p.zoom.followHorizontalPosition();  // 400 %
    p.zoom.followVerticalPosition();    // 250 %
    EXPECT_EQ(p.zoom.horizontalBar().value, 0);
    EXPECT_EQ(p.zoom.verticalBar().value, 0);
    EXPECT_EQ(p.zoom.picture().left, -40);
    EXPECT_EQ(p.zoom.picture().top, -50);

    p.zoom.SetHScrollbarByPercent(-1);
    EXPECT_EQ(p.zoom.horizontalBar().value, 0);
    p.zoom.SetHScrollbarByPercent(100);
    EXPECT_EQ(p.zoom.horizontalBar().value, 10);
    EXPECT_EQ(p.zoom.picture().left, -10);
    p.zoom.SetVScrollbarByPercent(50);
    EXPECT_EQ(p.zoom.verticalBar().value, 10);
    EXPECT_EQ(p.zoom.picture().top, -10);
}

TEST(ZoomModel, AnAcceptedStepPutsThePictureBackAtTheCornerWithFreshBars)
{
    Preview tall(2000, 6000);
    for (int i = 0; i < 2; ++i)
        tall.zoom.StepZoom(0);  // 1.5: 2997 x 8997
    EXPECT_EQ(tall.zoom.zoomedHeight(), 8997);
    EXPECT_TRUE(tall.zoom.verticalBar().enabled);
    EXPECT_EQ(tall.zoom.verticalStep(), 10);
    EXPECT_EQ(tall.zoom.verticalBar().maximum, 157);  // 1572 / 10
    tall.zoom.scrollVertical(100);
    EXPECT_EQ(tall.zoom.picture().top, -1000);
    tall.zoom.StepZoom(1);  // 1.25: 7497 high, 72 past the viewport
    EXPECT_EQ(tall.zoom.picture().top, 0);
    EXPECT_EQ(tall.zoom.verticalBar().value, 0);
    EXPECT_EQ(tall.zoom.verticalStep(), 1);
    EXPECT_EQ(tall.zoom.verticalBar().maximum, 72);
    tall.zoom.StepZoom(1);  // 1.0: 5998 high fits
    EXPECT_FALSE(tall.zoom.verticalBar().enabled);
    EXPECT_EQ(tall.zoom.verticalStep(), 0);
}

// A larger or smaller window changes the viewport: the bars take the new overflow and the picture
// keeps its place as near as their grid allows; Fit takes the largest step that shows it whole.
TEST(ZoomModel, TheViewportFollowsTheWindowAndFitShowsTheWholePicture)
{
    Preview p(20000, 15000);  // base 19998 x 14998
    p.zoom.scrollHorizontal(500);
    p.zoom.scrollVertical(300);
    EXPECT_EQ(p.zoom.picture().left, -5000);

    p.zoom.setViewportSize(12000, 9000);  // inside 11970 x 8970
    EXPECT_EQ(p.zoom.horizontalBar().maximum, 800);
    EXPECT_EQ(p.zoom.picture().left, -5000) << "the picture stays where it was";
    EXPECT_EQ(p.zoom.picture().top, -3000);
    p.zoom.setViewportSize(18000, 14000);
    EXPECT_EQ(p.zoom.horizontalBar().maximum, 200);
    EXPECT_EQ(p.zoom.picture().left, -2000) << "the picture's far edge stays on the viewport's";
    EXPECT_EQ(p.zoom.verticalBar().maximum, 100);
    EXPECT_EQ(p.zoom.picture().top, -1000);
    p.zoom.dragTo(1, -50000, -50000);
    EXPECT_EQ(p.zoom.picture().left, p.zoom.viewportInnerWidth() - 19998) << "a drag keeps to the new inside";

    // 0.75 gives 14998 x 11248, which fits 17970 x 13970; 1.0 does not.
    EXPECT_EQ(p.zoom.fitFactor(), 0.75f);
    p.zoom.fit();
    EXPECT_EQ(p.zoom.factor(), 0.75f);
    EXPECT_FALSE(p.zoom.horizontalBar().enabled);
    EXPECT_FALSE(p.zoom.verticalBar().enabled);
    p.zoom.setViewportSize(100000, 100000);
    EXPECT_EQ(p.zoom.fitFactor(), 4.0f) << "the steps end at 4";
    p.zoom.setViewportSize(3000, 3000);
    EXPECT_EQ(p.zoom.fitFactor(), 0.25f) << "nothing fits: the smallest step";
}

}  // namespace
