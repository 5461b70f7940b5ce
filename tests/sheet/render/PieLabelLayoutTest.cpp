#include "sheet/render/PieLabelLayout.h"

#include <QtMath>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using sheet::render::PieLabel;
using sheet::render::PieLabelLayout;

namespace {

const QRectF chartArea(0, 0, 860, 465);
const QPointF centre(430, 250);
constexpr double rx = 190;
constexpr double ry = 95;

// The labels of `count` equal slices of a tilted pie, each outside its slice where the pie painter first puts
// it: beside the rim along the slice's middle, on the side the slice faces.
std::vector<PieLabel> labelsAround(int count, QSizeF size)
{
    std::vector<PieLabel> labels;
    for (int k = 0; k < count; ++k) {
        const double middle = qDegreesToRadians(360.0 * (k + 0.5) / count);
        const double sine = std::sin(middle);
        const double cosine = std::cos(middle);
        PieLabel label;
        label.anchor = centre + QPointF(rx * sine, -ry * cosine);
        label.outward = QPointF(rx * sine, -ry * cosine);
        const QPointF outer = centre + QPointF(rx * 1.08 * sine, -ry * 1.08 * cosine);
        const double x = sine > 0.2 ? outer.x() : sine < -0.2 ? outer.x() - size.width() : outer.x() - size.width() / 2;
        const double y = cosine > 0.2 ? outer.y() - size.height() : cosine < -0.2 ? outer.y() : outer.y() - size.height() / 2;
        label.box = QRectF(QPointF(x, y), size);
        labels.push_back(label);
    }
    return labels;
}

TEST(PieLabelLayout, ACrowdedPieShowsNoLabelOverAnotherNorOverALeaderLine)
{
    std::vector<PieLabel> labels = labelsAround(100, QSizeF(74, 21));
    const std::vector<PieLabel> first = labels;
    PieLabelLayout(chartArea, centre.y(), true).arrange(labels);
    int shown = 0;
    int moved = 0;
    for (std::size_t a = 0; a < labels.size(); ++a) {
        if (!labels[a].shown)
            continue;
        ++shown;
        moved += labels[a].box != first[a].box ? 1 : 0;
        EXPECT_TRUE(chartArea.contains(labels[a].box)) << a;
        const QPointF way = labels[a].box.center() - first[a].box.center();
        const QPointF out = labels[a].outward / std::hypot(labels[a].outward.x(), labels[a].outward.y());
        EXPECT_TRUE(way.x() == 0 || std::abs(way.x() * out.y() - way.y() * out.x()) < 1e-6)
            << "label " << a << " slides straight up or down, or along its leader line";
        EXPECT_GE(QPointF::dotProduct(way, out), 0) << "away from the pie";
        const std::optional<QLineF> leader = PieLabelLayout::leaderLine(labels[a]);
        for (std::size_t b = 0; b < labels.size(); ++b) {
            if (b == a || !labels[b].shown)
                continue;
            EXPECT_FALSE(labels[a].box.intersects(labels[b].box)) << a << " and " << b;
            if (!leader)
                continue;
            const QRectF& box = labels[b].box;
            const QLineF edges[] = {{box.topLeft(), box.topRight()}, {box.topRight(), box.bottomRight()},
                                    {box.bottomRight(), box.bottomLeft()}, {box.bottomLeft(), box.topLeft()}};
            for (const QLineF& edge : edges)
                EXPECT_NE(leader->intersects(edge, nullptr), QLineF::BoundedIntersection) << a << "'s line, " << b;
        }
    }
    EXPECT_GT(shown, 20) << "a crowd still shows many of its labels";
    EXPECT_LT(shown, 100);
    EXPECT_GT(moved, 0);
}

// Labels that may go anywhere there is room show more of a crowd, still apart, inside and no nearer the pie.
TEST(PieLabelLayout, LabelsThatMayGoAnywhereShowMoreOfACrowd)
{
    std::vector<PieLabel> near = labelsAround(100, QSizeF(74, 21));
    std::vector<PieLabel> anywhere = near;
    const std::vector<PieLabel> first = near;
    PieLabelLayout(chartArea, centre.y(), true, PieLabelLayout::Reach::Near).arrange(near);
    EXPECT_FALSE(PieLabelLayout(chartArea, centre.y(), true, PieLabelLayout::Reach::Anywhere).arrangeAll(anywhere));
    EXPECT_TRUE(std::none_of(anywhere.begin(), anywhere.end(), [](const PieLabel& label) { return label.shown; }))
        << "all or none";
    PieLabelLayout(chartArea, centre.y(), true, PieLabelLayout::Reach::Anywhere).arrange(anywhere);
    const auto shown = [](const std::vector<PieLabel>& labels) {
        return std::count_if(labels.begin(), labels.end(), [](const PieLabel& label) { return label.shown; });
    };
    EXPECT_GT(shown(anywhere), shown(near));
    for (std::size_t a = 0; a < anywhere.size(); ++a) {
        if (!anywhere[a].shown)
            continue;
        EXPECT_TRUE(chartArea.contains(anywhere[a].box)) << a;
        EXPECT_GE(QPointF::dotProduct(anywhere[a].box.center() - first[a].box.center(), anywhere[a].outward), 0) << a;
        for (std::size_t b = a + 1; b < anywhere.size(); ++b)
            EXPECT_FALSE(anywhere[b].shown && anywhere[a].box.intersects(anywhere[b].box)) << a << " and " << b;
    }
}

TEST(PieLabelLayout, LabelsWithRoomStayWhereTheyAre)
{
    std::vector<PieLabel> labels = labelsAround(6, QSizeF(74, 21));
    PieLabel inside;
    inside.inside = true;
    inside.box = QRectF(centre - QPointF(20, 10), QSizeF(40, 20));
    labels.push_back(inside);
    const std::vector<PieLabel> first = labels;
    PieLabelLayout(chartArea, centre.y(), true).arrange(labels);
    for (std::size_t k = 0; k < labels.size(); ++k) {
        EXPECT_TRUE(labels[k].shown) << k;
        EXPECT_EQ(labels[k].box, first[k].box) << k;
    }
}

}  // namespace
