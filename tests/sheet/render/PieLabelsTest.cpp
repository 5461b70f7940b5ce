#include "DrawnTexts.h"
#include "SampleWorkbook.h"

#include "sheet/render/PiePainter.h"
#include "sheet/render/RangePicture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

using namespace render_testing;
using sheet::render::PieChart;
using sheet::render::PieSlice;

namespace {

// The template's chart area: 648.75 by 348.75 points at 96 dots per inch.
const QRectF chartArea(0, 0, 865, 465);

QFont constantia(int points)
{
    QFont font(QStringLiteral("Constantia"));
    font.setPointSize(points);
    font.setBold(true);
    return font;
}

// A pie that looks like the template's: 3-D, every slice pulled out, labels of category and percentage.
PieChart templatePie(const std::vector<std::pair<QString, double>>& entries)
{
    PieChart chart;
    chart.threeD = true;
    chart.firstSliceAngle = 210;
    chart.elevation = 30;
    chart.leaderLines = true;
    chart.title = QStringLiteral("My Assets");
    chart.titleFont = constantia(18);
    chart.labelFont = constantia(13);
    chart.labelSeparator = QStringLiteral(" ");
    for (std::size_t k = 0; k < entries.size(); ++k) {
        PieSlice slice;
        slice.value = entries[k].second;
        slice.category = entries[k].first;
        slice.colour = QColor::fromHsv(static_cast<int>(k * 47 % 360), 200, 200);
        slice.explode = 0.1;
        slice.showCategory = true;
        slice.showPercent = true;
        chart.slices.push_back(slice);
    }
    return chart;
}

// The data labels' runs of text as the pie draws them in the chart area.
std::vector<DrawnText> drawnLabels(const PieChart& chart)
{
    DrawnTexts device;
    QPainter painter(&device);
    sheet::render::paintPieChart(painter, chartArea, chart);
    painter.end();
    std::erase_if(device.texts, [&chart](const DrawnText& text) { return text.text == chart.title; });
    return device.texts;
}

TEST(PieLabels, EveryLabelOfACrowdedPieInManyScriptsIsDrawnWithinThePicture)
{
    const std::vector<std::pair<QString, double>> entries{
        {QStringLiteral("Savings"), 25000}, {QStringLiteral("401k"), 55000},
        {QStringLiteral("株式"), 15000}, {QStringLiteral("House"), 250000},
        {QStringLiteral("أسهم عقارية"), 3000}, {QStringLiteral("Bonds"), 11000},
        {QStringLiteral("Car"), 7500}, {QStringLiteral("épargne café"), 100}};
    const std::vector<DrawnText> labels = drawnLabels(templatePie(entries));
    for (const auto& [category, amount] : entries) {
        EXPECT_EQ(std::count_if(labels.begin(), labels.end(), [&](const DrawnText& text) { return text.text.contains(category); }), 1)
            << category.toStdString();
    }
    for (const QString percent : {"68%", "15%", "7%", "4%", "3%", "2%", "1%", "0%"}) {
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](const DrawnText& text) { return text.text.contains(percent); }))
            << percent.toStdString();
    }
    for (const DrawnText& label : labels)
        EXPECT_TRUE(chartArea.contains(label.extent)) << label.text.toStdString() << " stands out of the picture";
}

TEST(PieLabels, AHundredSlicesShowTheLargestSlicesLabelsApartAndInside)
{
    std::vector<std::pair<QString, double>> entries;
    for (int k = 0; k < 100; ++k)
        entries.emplace_back(QStringLiteral("Entry %1").arg(k), 1000.0 / (1 + (k * 37) % 100) + k);
    const PieChart chart = templatePie(entries);
    const std::vector<DrawnText> labels = drawnLabels(chart);
    std::set<double> shown;
    for (std::size_t a = 0; a < labels.size(); ++a) {
        EXPECT_TRUE(chartArea.contains(labels[a].extent)) << labels[a].text.toStdString();
        for (std::size_t b = a + 1; b < labels.size(); ++b)
            EXPECT_FALSE(labels[a].extent.intersects(labels[b].extent)) << labels[a].text.toStdString() << " over "
                                                                        << labels[b].text.toStdString();
        const int entry = labels[a].text.section(u' ', 1, 1).toInt();
        shown.insert(entries[static_cast<std::size_t>(entry)].second);
    }
    EXPECT_GT(shown.size(), 10u);
    ASSERT_LT(shown.size(), entries.size()) << "a hundred labels cannot all fit";
    for (const auto& [category, amount] : entries) {
        if (!shown.contains(amount)) {
            EXPECT_LT(amount, *shown.begin()) << category.toStdString() << " is left out before a smaller slice";
        }
    }

    // The pie shrinks no further than a third of the area's height.
    QImage image(chartArea.size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    sheet::render::paintPieChart(painter, chartArea, chart);
    painter.end();
    int left = image.width();
    int right = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)).hsvSaturation() > 150) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_GE(right - left, chartArea.height() / 3);
}

// Reads the runs of one line of text from right to left, a blank where they stand apart: the line
// whose run is `last`, from that run rightwards.
QString readRightToLeft(const std::vector<DrawnText>& texts, const DrawnText& last)
{
    std::vector<DrawnText> line{last};
    for (bool more = true; more;) {
        more = false;
        for (const DrawnText& text : texts) {
            const QRectF& end = line.back().extent;
            if (std::abs(text.extent.bottom() - end.bottom()) < 1 && text.extent.left() > end.left()
                && text.extent.left() < end.right() + 10) {
                line.push_back(text);
                more = true;
                break;
            }
        }
    }
    QString read;
    for (auto it = line.rbegin(); it != line.rend(); ++it) {
        if (it != line.rbegin() && std::prev(it)->extent.left() - it->extent.right() > 2)
            read += u' ';
        read += it->text;
    }
    return read;
}

TEST(PieLabels, ARightToLeftLabelReadsFromTheRightWithABlankBeforeItsPercentage)
{
    std::vector<Entry> entries = sampleEntries();
    entries[2].first = "أسهم عقارية";
    const sheet::render::SheetDrawing drawing = sheet::render::recordSheet(sampleWorkbook(entries), 0);
    DrawnTexts device;
    QPainter painter(&device);
    drawing.play(painter, QRectF(QPointF(0, 0), drawing.size));
    painter.end();
    // Played from its recording, as the preview, the clipboard and every file show it.
    const auto percent = std::find_if(device.texts.begin(), device.texts.end(),
                                      [](const DrawnText& text) { return text.text == QStringLiteral("4%"); });
    ASSERT_NE(percent, device.texts.end());
    EXPECT_EQ(readRightToLeft(device.texts, *percent), QStringLiteral("أسهم عقارية 4%"));
}

}  // namespace
