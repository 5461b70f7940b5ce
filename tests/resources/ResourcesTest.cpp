#include "common/PointerState.h"
#include "resources/ChartTemplate.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

namespace {

TEST(ChartTemplateResource, IsACompoundFileHoldingAWorkbook)
{
    const QByteArray bytes = resources::chartTemplate();
    ASSERT_GT(bytes.size(), 512);
    EXPECT_EQ(bytes.left(8), QByteArray::fromHex("d0cf11e0a1b11ae1"));
    EXPECT_TRUE(bytes.contains(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16)));
}

TEST(ChartTemplateResource, MatchesTheCommittedFile)
{
    QFile committed(QStringLiteral(TORTELET_SOURCE_DIR "/resources/templates/pie-chart.xlt"));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    EXPECT_EQ(resources::chartTemplate(), committed.readAll());
}

// The icons are reached by path only, without calling into the resource library first.
TEST(ApplicationIconResources, EverySizeIsASquarePictureOfThatSize)
{
    for (int size : {32, 48, 128, 256}) {
        const QImage icon(QStringLiteral(":/icons/tortelet-%1.png").arg(size));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
    }
}

TEST(HandCursorFile, ReadsAsACursorWithItsHotSpotOnTheFingertip)
{
    const QString path = QStringLiteral(TORTELET_SOURCE_DIR "/resources/HAND-M.CUR");
    QImageReader reader(path, "cur");
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0);
    EXPECT_EQ(image.pixel(5, 0), qRgb(0, 0, 0));

    const QCursor cursor = common::LoadCursorFile(path);
    EXPECT_EQ(cursor.hotSpot(), QPoint(5, 0));
}

}  // namespace
