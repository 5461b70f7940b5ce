#include "sheet/render/PiePainter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <set>

using sheet::render::PieChart;
using sheet::render::PieSlice;

namespace {

QImage paint(const PieChart& chart, int width = 400, int height = 400)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    sheet::render::paintPieChart(painter, QRectF(0, 0, width, height), chart);
    return image;
}

PieSlice slice(double value, QColor colour, double explode = 0)
{
    PieSlice s;
    s.value = value;
    s.colour = colour;
    s.explode = explode;
    return s;
}

int countColour(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    }
    return count;
}

TEST(PiePainter, FlatSlicesRunClockwiseFromTheFirstAngle)
{
    PieChart chart;
    chart.plotArea = QRectF(0, 0, 1, 1);
    chart.slices = {slice(1, Qt::red), slice(1, Qt::blue)};
    QImage image = paint(chart);
    // Starting at twelve o'clock the first half lies on the right.
    EXPECT_EQ(image.pixel(300, 200) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(100, 200) & 0xFFFFFF, 0x0000FFu);
    chart.firstSliceAngle = 90;  // the first half now lies below
    image = paint(chart);
    EXPECT_EQ(image.pixel(200, 300) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(200, 100) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(PiePainter, ExplodedSlicesLeaveTheCentreOpen)
{
    PieChart chart;
    chart.plotArea = QRectF(0, 0, 1, 1);
    chart.slices = {slice(1, Qt::red, 0.2), slice(1, Qt::blue, 0.2)};
    const QImage image = paint(chart);
    EXPECT_EQ(image.pixel(200, 200) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_GT(countColour(image, qRgb(255, 0, 0)), 5000);
}

TEST(PiePainter, ThreeDimensionalPieShowsEachSliceAndItsRim)
{
    PieChart chart;
    chart.threeD = true;
    chart.elevation = 30;
    chart.firstSliceAngle = 210;
    const QColor colours[] = {QColor(0x004586), QColor(0xFF420E), QColor(0xFFD320), QColor(0x579D1C)};
    for (const QColor& c : colours)
        chart.slices.push_back(slice(25, c, 0.1));
    const QImage image = paint(chart, 600, 350);
    for (const QColor& c : colours)
        EXPECT_GT(countColour(image, c.rgb()), 500) << c.name().toStdString();
    EXPECT_GT(countColour(image, QColor(0xFF420E).darker(125).rgb()) + countColour(image, QColor(0x004586).darker(125).rgb()), 100);
}

TEST(PiePainter, LegendOnTheRightShowsEachSlicesColour)
{
    PieChart chart;
    chart.legend = PieChart::LegendPlace::Right;
    chart.slices = {slice(1, QColor(0x123456)), slice(1, QColor(0x654321))};
    chart.slices[0].category = "First";
    chart.slices[1].category = "Second";
    const QImage image = paint(chart);
    const QImage legend = image.copy(330, 0, 70, 400);
    EXPECT_GT(countColour(legend, 0x123456), 10);
    EXPECT_GT(countColour(legend, 0x654321), 10);
}

TEST(PiePainter, LabelsTitleAndEmptyPies)
{
    PieChart chart;
    chart.title = "My Assets";
    chart.titleFont.setPointSize(18);
    chart.leaderLines = true;
    chart.slices = {slice(3, Qt::red), slice(1, Qt::blue)};
    for (PieSlice& s : chart.slices) {
        s.showPercent = true;
        s.showCategory = true;
        s.category = "Cat";
    }
    QImage image = paint(chart);
    int dark = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < 40; ++y)
            dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    }
    EXPECT_GT(dark, 30);

    chart.slices.clear();
    EXPECT_NO_FATAL_FAILURE(paint(chart, 3, 3));
}

TEST(PiePainter, AmountsWhoseSumOverflowsStillShareThePieFairly)
{
    PieChart chart;
    chart.plotArea = QRectF(0, 0, 1, 1);
    chart.slices = {slice(1e308, Qt::red), slice(1e308, Qt::blue), slice(0.5e308, Qt::green)};
    const QImage image = paint(chart);
    const int red = countColour(image, qRgb(255, 0, 0));
    EXPECT_GT(red, 40000);
    EXPECT_NEAR(countColour(image, qRgb(0, 0, 255)), red, red / 50);
    EXPECT_NEAR(countColour(image, qRgb(0, 255, 0)), red / 2, red / 50);
}

TEST(PiePainter, ADonutKeepsItsHole)
{
    PieChart chart;
    chart.slices = {slice(1, Qt::red)};
    chart.donutHolePercent = 50;
    const QImage image = paint(chart);
    EXPECT_GT(countColour(image, qRgb(255, 0, 0)), 1000);
}

}  // namespace
