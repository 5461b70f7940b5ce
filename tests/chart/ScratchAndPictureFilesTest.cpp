#include "chart/PictureFile.h"
#include "chart/ScratchWorkbook.h"
#include "platform/QtPlatform.h"

#include <QFile>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(ScratchName, RealDrawsDifferWithinTheSameSecond)
{
    platform::QtRandomness random;
    static const QRegularExpression form(QStringLiteral("^[1-9]{8}$"));
    QSet<QString> names;
    bool mixedDigits = false;
    for (int i = 0; i < 200; ++i) {
        const QString digits = chart::drawScratchDigits(random);
        EXPECT_TRUE(form.match(digits).hasMatch()) << digits.toStdString();
        mixedDigits = mixedDigits || digits.count(digits.front()) != 8;
        names.insert(digits);
    }
    EXPECT_TRUE(mixedDigits);
    EXPECT_GT(names.size(), 195);
}

class PictureFile : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString path(const QString& name) const { return folder.filePath(name); }
};

TEST_F(PictureFile, PicturesGoThroughAFileOfTheirOwnFormatAndBack)
{
    QImage picture(33, 17, QImage::Format_RGB32);
    picture.fill(QColor(0x4F, 0x81, 0xBD));
    picture.setPixel(5, 6, qRgb(255, 255, 255));
    const QString file = path(QStringLiteral("temp.bmp"));
    chart::SavePictureFile(platform::Picture(picture), file);
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(raw.read(2), QByteArray("BM"));
    raw.close();
    const QImage back = chart::LoadPictureFile(file).bitmap();
    EXPECT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.pixel(5, 6), qRgb(255, 255, 255));
    EXPECT_EQ(back.pixel(0, 0), picture.pixel(0, 0));
    EXPECT_THROW(chart::SavePictureFile(platform::Picture(), file), std::runtime_error);

    // A recorded drawing keeps its own format whatever the file is called.
    QPicture drawing;
    QPainter painter(&drawing);
    painter.fillRect(QRect(0, 0, 120, 80), Qt::white);
    painter.fillRect(QRect(10, 10, 20, 20), Qt::red);
    painter.end();
    chart::SavePictureFile(platform::Picture(sheet::render::SheetDrawing{QSize(120, 80), {drawing}}), file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(raw.read(4), QByteArray("TDRW"));
    const platform::Picture played = chart::LoadPictureFile(file);
    ASSERT_TRUE(played.hasDrawing());
    EXPECT_EQ(played.size(), QSize(120, 80));
    QImage canvas(240, 160, QImage::Format_RGB32);
    QPainter onCanvas(&canvas);
    played.paint(onCanvas, QRectF(0, 0, 240, 160), QRectF(0, 0, 120, 80));
    onCanvas.end();
    EXPECT_EQ(canvas.pixelColor(40, 40), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(70, 70), QColor(Qt::white));
}

TEST_F(PictureFile, APlantedLinkOrANonPictureIsNeverTakenForThePicture)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const QString real = path(QStringLiteral("real.bmp"));
    chart::SavePictureFile(platform::Picture(picture), real);
    const QString link = path(QStringLiteral("temp.bmp"));
    ASSERT_EQ(::symlink(QFile::encodeName(real).constData(), QFile::encodeName(link).constData()), 0);
    EXPECT_THROW(chart::LoadPictureFile(link), std::runtime_error);
    QFile text(path(QStringLiteral("text.bmp")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no picture");
    text.close();
    EXPECT_THROW(chart::LoadPictureFile(text.fileName()), std::runtime_error);
    EXPECT_THROW(chart::LoadPictureFile(path(QStringLiteral("missing.bmp"))), std::runtime_error);
}

}  // namespace
