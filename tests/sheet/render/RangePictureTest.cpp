#include "DrawnTexts.h"
#include "SampleWorkbook.h"

#include "sheet/render/RangePicture.h"
#include "sheet/render/RenderError.h"

#include <QPaintEngine>
#include <QPainter>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace render_testing;
using sheet::model::CellRange;
using sheet::render::drawRange;
using sheet::render::drawSheet;
using sheet::render::RenderError;

namespace {

const CellRange usedRange{2, 0, 18, 1};  // A3:B19

int darkPixels(const QImage& image, const QRect& rect)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += qGray(image.pixel(x, y)) < 90 ? 1 : 0;
    }
    return count;
}

int pixelsOf(const QImage& image, unsigned rgb)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == rgb ? 1 : 0;
    }
    return count;
}

TEST(RangePicture, SizeIsTheSumOfWidthsAndHeights)
{
    auto wb = sampleWorkbook(sampleEntries());
    wb.fonts[0] = fontOf("Arial", 200);  // Arial 10 pt: digits 7 pixels wide
    const QImage picture = drawRange(wb, 0, usedRange);
    EXPECT_EQ(picture.width(), 107 + 73);
    EXPECT_EQ(picture.height(), 7 * 20 + 10 * 17);
    const QImage twice = drawRange(wb, 0, usedRange, {2.0});
    EXPECT_EQ(twice.width(), 2 * 180);
    EXPECT_EQ(twice.height(), 2 * 310);
}

TEST(RangePicture, CellsShowFillsTextAndBackground)
{
    const auto wb = sampleWorkbook(sampleEntries());
    const QImage picture = drawRange(wb, 0, usedRange);
    const int width = picture.width();
    const int columnA = width * 3904 / (3904 + 2656);
    // The header's fill at the header's centre line, right of "Amount".
    EXPECT_EQ(picture.pixel(width - 4, 10) & 0xFFFFFF, headerFill);
    // Dark text where the data cells hold labels and amounts, none in the empty rows below.
    for (int row = 1; row <= 6; ++row) {
        EXPECT_GT(darkPixels(picture, QRect(0, row * 20, columnA, 19)), 20) << row;
        EXPECT_GT(darkPixels(picture, QRect(columnA, row * 20, width - columnA, 19)), 20) << row;
    }
    EXPECT_EQ(darkPixels(picture, QRect(0, 7 * 20, width, 5 * 17)), 0);
    // No gridlines: the empty cells are plain white.
    EXPECT_EQ(picture.pixel(columnA - 1, 7 * 20 + 8) & 0xFFFFFF, 0xFFFFFFu);
    // The chart lies beside the range and stays out of its picture.
    for (unsigned colour : sliceColours)
        EXPECT_EQ(pixelsOf(picture, colour), 0);
}

TEST(RangePicture, GridlinesOnlyWhenTheSheetShowsThem)
{
    auto wb = sampleWorkbook(sampleEntries());
    wb.sheets[0].showGridlines = true;
    const QImage picture = drawRange(wb, 0, usedRange);
    const int columnA = picture.width() * 3904 / (3904 + 2656);
    EXPECT_NE(picture.pixel(columnA - 1, 7 * 20 + 8) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(picture.pixel(columnA - 4, 7 * 20 + 8) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(RangePicture, SheetPictureHoldsTheChartWithOneColourPerPositiveEntry)
{
    const auto wb = sampleWorkbook(sampleEntries());
    const QImage sheet = drawSheet(wb, 0);
    for (unsigned colour : sliceColours)
        EXPECT_GT(pixelsOf(sheet, colour), 100) << std::hex << colour;

    const auto fewer = sampleWorkbook({{"a", 5}, {"b", 0}, {"c", 7}, {"d", -2}, {"e", 9}, {"f", 0}});
    const QImage picture = drawSheet(fewer, 0);
    int shown = 0;
    for (unsigned colour : sliceColours)
        shown += pixelsOf(picture, colour) > 100 ? 1 : 0;
    EXPECT_EQ(shown, 3);
}

TEST(RangePicture, DrawingObjectsAreCutAtTheRangesEdges)
{
    const auto wb = sampleWorkbook(sampleEntries());
    const QImage part = drawRange(wb, 0, CellRange{10, 5, 20, 9});  // F11:J21, inside the chart
    const QImage alone = drawRange(wb, 0, CellRange{10, 5, 10, 5});
    EXPECT_EQ(part.width(), 5 * alone.width());
    int sliceColoured = 0;
    for (unsigned colour : sliceColours)
        sliceColoured += pixelsOf(part, colour);
    EXPECT_GT(sliceColoured, part.width() * part.height() / 10);
}

QStringList textsOf(const sheet::render::SheetDrawing& drawing)
{
    DrawnTexts device;
    QPainter painter(&device);
    drawing.play(painter, QRectF(QPointF(0, 0), drawing.size));
    painter.end();
    QStringList texts;
    for (const DrawnText& text : device.texts)
        texts << text.text;
    return texts;
}

TEST(RangePicture, ANumberTooWideForItsCellShowsHashesNeverACutNumber)
{
    auto wb = sampleWorkbook({{"Lottery", 12345678901.0}, {"Savings", 25000.0}});
    auto& sheet = wb.sheets[0];
    sheet.columns.push_back(columnsOf(2, 2, 3 * 256));
    sheet.cells[{3, 2}] = cellOf(wb, 123456789.0, 15);  // General in a column three characters wide
    sheet.cells[{4, 2}] = cellOf(wb, 7.0, 15);
    const QStringList texts = textsOf(sheet::render::recordRange(wb, 0, CellRange{3, 1, 4, 2}));
    EXPECT_TRUE(texts.contains(QStringLiteral("25,000"))) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("7")));
    EXPECT_EQ(texts.filter(QRegularExpression(QStringLiteral("^#+$"))).size(), 2) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.filter(QStringLiteral("345")).isEmpty()) << texts.join('|').toStdString();
}

TEST(RangePicture, TextRunsOnOverEmptyNeighboursAndNumbersThatDoNotFitShowHashes)
{
    auto wb = sampleWorkbook({});
    auto& cells = wb.sheets[0].cells;
    cells[{20, 0}] = cellOf(wb, std::string("A rather long label that runs on"), 15);
    cells[{21, 0}] = cellOf(wb, std::string("A rather long label that is cut"), 15);
    cells[{21, 1}] = cellOf(wb, std::string("x"), 15);
    cells[{22, 0}] = cellOf(wb, 123456789012345.0, 15);
    cells[{22, 1}] = cellOf(wb, 1.0 / 3.0, 15);
    const CellRange range{20, 0, 22, 2};
    const QImage picture = drawRange(wb, 0, range);
    const int columnA = picture.width() - 64 - (picture.width() - 64) * 2656 / (3904 + 2656);
    EXPECT_GT(darkPixels(picture, QRect(columnA, 0, picture.width() - columnA, 17)), 10);
    EXPECT_EQ(darkPixels(picture, QRect(columnA + 20, 17, picture.width() - columnA - 20, 17)), 0);
    // A General number narrows to the cell; the wider number in A stays whole or shows hashes.
    EXPECT_GT(darkPixels(picture, QRect(columnA, 34, picture.width() - columnA - 64, 17)), 10);
    EXPECT_GT(darkPixels(picture, QRect(0, 34, columnA, 17)), 10);
}

// A cell holds up to 32,767 characters of which a few dozen show: the drawing keeps what can show,
// and a long word in a wrapped cell keeps the words after it on their lines.
TEST(RangePicture, ALongTextIsRecordedOnlyAsFarAsItCanShow)
{
    auto wb = sampleWorkbook({});
    auto& sheet = wb.sheets[0];
    wb.xfs.push_back(wb.xfs[15]);
    wb.xfs.back().wrap = true;
    const int wrapped = static_cast<int>(wb.xfs.size()) - 1;
    sheet.rows[21] = rowOf(1200);
    sheet.cells[{20, 0}] = cellOf(wb, "Runs on " + std::string(20000, 'w'), 15);
    sheet.cells[{21, 0}] = cellOf(wb, std::string(20000, 'x') + " tail", wrapped);
    // An indent wider than the cell leaves its text no room at all.
    wb.xfs.push_back(wb.xfs.back());
    wb.xfs.back().horizontal = sheet::model::HorizontalAlignment::Left;
    wb.xfs.back().indent = 40;
    sheet.cells[{22, 0}] = cellOf(wb, std::string(20000, 'y') + " tail", wrapped + 1);
    const QStringList texts = textsOf(sheet::render::recordRange(wb, 0, CellRange{20, 0, 22, 2}));
    ASSERT_EQ(texts.filter(QRegularExpression(QStringLiteral("^Runs on w+$"))).size(), 1) << texts.join('|').toStdString();
    ASSERT_EQ(texts.filter(QRegularExpression(QStringLiteral("^x+$"))).size(), 1) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("tail"))) << texts.join('|').toStdString();
    for (const QString& text : texts)
        EXPECT_LT(text.size(), 1000);
}

TEST(RangePicture, LimitsAndBadInputGiveClearErrors)
{
    auto wb = sampleWorkbook(sampleEntries());
    EXPECT_THROW(drawRange(wb, 3, usedRange), RenderError);
    EXPECT_THROW(drawRange(wb, 0, CellRange{5, 0, 2, 1}), RenderError);
    EXPECT_THROW(drawRange(wb, 0, CellRange{0, 0, 70000, 1}), RenderError);
    EXPECT_THROW(drawRange(wb, 0, usedRange, {0.0}), RenderError);
    try {
        drawRange(wb, 0, CellRange{0, 0, 65535, 0});
        FAIL() << "a picture 1.1 million pixels high was drawn";
    } catch (const sheet::Error& error) {
        EXPECT_NE(std::string(error.what()).find("32767"), std::string::npos) << error.what();
    }
    wb.sheets[0].columns = {columnsOf(0, 255, 0xFFFF)};
    EXPECT_THROW(drawRange(wb, 0, CellRange{0, 0, 0, 255}), sheet::render::PictureTooLarge);
    wb.sheets[0].columns = {columnsOf(0, 255, 4000)};
    for (auto& [row, info] : wb.sheets[0].rows)
        info.height = 0x7FFF;
    EXPECT_THROW(drawRange(wb, 0, CellRange{0, 0, 30, 200}), sheet::render::PictureTooLarge);
    // Within the sides a bitmap allows, but more pixels in all than it may hold.
    try {
        drawRange(wb, 0, CellRange{0, 0, 5, 80});
        FAIL() << "a picture of over 256 MB was drawn";
    } catch (const sheet::render::PictureTooLarge& error) {
        EXPECT_NE(std::string(error.what()).find("pixels; at most 256 MB"), std::string::npos) << error.what();
    }
    wb.sheets[0].columns = {columnsOf(0, 255, 0, true)};
    EXPECT_THROW(drawRange(wb, 0, usedRange), RenderError);
}

TEST(RangePicture, BrokenFormattingDrawsWhatCanBeDrawn)
{
    auto wb = sampleWorkbook(sampleEntries());
    auto& sheet = wb.sheets[0];
    sheet.cells[{3, 0}].xf = 9999;
    sheet.cells[{4, 0}].xf = -3;
    wb.xfs[18].fontIndex = 4;  // the font that does not exist
    wb.xfs[19].fontIndex = 500;
    wb.xfs[17].fillPattern = 77;
    wb.xfs[17].patternForeground = 4000;
    wb.xfs[17].left.style = 99;
    wb.fonts[6].name = "No Such Font Anywhere";
    wb.fonts[6].height = 65000;
    wb.formats.codes[sheet::model::FirstCustomFormat] = "[Red\"0;;;;;";
    sheet.drawings.push_back(chartDrawing({-4, 5000, 99999, 9, 400, -1, -2, 900}, 0));
    sheet.drawings.push_back(chartDrawing({1, 0, 1, 0, 3, 0, 3, 0}, 42));
    EXPECT_NO_THROW(drawRange(wb, 0, usedRange));
    EXPECT_NO_THROW(drawRange(wb, 0, CellRange{0, 0, 30, 20}));
    // The drawing anchored at row 99999 stretches the sheet past what can be drawn.
    EXPECT_THROW(drawSheet(wb, 0), RenderError);
}

// "General" text lies where its script begins: Latin on the left, Hebrew and Arabic on the right.
TEST(RangePicture, GeneralTextWhoseFirstStrongCharacterIsRightToLeftLiesOnTheRight)
{
    auto wb = sampleWorkbook(sampleEntries());
    const CellRange a20{19, 0, 19, 0};
    const struct {
        std::string text;
        bool right;
    } cases[] = {{"Cash", false}, {"\u05D7\u05E1\u05DB", true}, {"12 \u0627\u0628", true},
                 {"(\u05D0) a", true}, {"a \u05D0", false}};
    for (const auto& c : cases) {
        wb.sheets[0].cells[{19, 0}] = cellOf(wb, c.text, 0);
        const QImage picture = drawRange(wb, 0, a20);
        const int half = picture.width() / 2;
        const int left = darkPixels(picture, QRect(0, 0, half, picture.height()));
        const int right = darkPixels(picture, QRect(half, 0, picture.width() - half, picture.height()));
        EXPECT_EQ(c.right ? left : right, 0) << c.text;
        EXPECT_GT(c.right ? right : left, 10) << c.text;
    }
}

}  // namespace
