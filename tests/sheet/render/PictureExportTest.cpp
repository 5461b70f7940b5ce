#include "SampleWorkbook.h"

#include "sheet/render/PictureExport.h"
#include "sheet/render/RangePicture.h"
#include "sheet/render/RenderError.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace render_testing;
using sheet::render::exportPicture;
using sheet::render::PictureFormat;

namespace {

// The mean difference of two pictures of one size, per channel, from 0 to 255.
double meanDifference(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * left.width() * left.height());
}

// Runs a reader's tool on a file; its standard output, or nothing when it failed.
std::optional<QString> runTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(tool.readAllStandardOutput());
}

class PictureExportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    const sheet::render::SheetDrawing drawing = sheet::render::recordSheet(sampleWorkbook(sampleEntries()), 0);
    QTemporaryDir folder;
};

TEST_F(PictureExportTest, TheSvgDrawsLikeThePngAtNaturalSize)
{
    const QImage png = QImage::fromData(exportPicture(drawing, PictureFormat::Png));
    ASSERT_EQ(png.size(), drawing.size);
    EXPECT_EQ(QImage::fromData(exportPicture(drawing, PictureFormat::Png, 2)).size(), drawing.size * 2);

    const QByteArray svg = exportPicture(drawing, PictureFormat::Svg);
    EXPECT_TRUE(svg.contains(">My Assets<")) << "text stays text";
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), drawing.size);
    QImage played(drawing.size, QImage::Format_RGB32);
    played.fill(Qt::white);
    QPainter painter(&played);
    renderer.render(&painter, QRectF(QPointF(0, 0), drawing.size));
    painter.end();
    EXPECT_LT(meanDifference(played, png), 3.0);
}

TEST_F(PictureExportTest, ThePdfIsOnePageOfThePictureWithSearchableText)
{
    const QString pdf = write(QStringLiteral("chart.pdf"), exportPicture(drawing, PictureFormat::Pdf));
    const auto info = runTool(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(info) << "pdfinfo refused the file";
    EXPECT_TRUE(info->contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info->toStdString();
    const QString pageSize = QStringLiteral("Page size:\\s+%1 x %2 pts")
                                 .arg(std::ceil(drawing.size.width() * 0.75))
                                 .arg(std::ceil(drawing.size.height() * 0.75));
    EXPECT_TRUE(info->contains(QRegularExpression(pageSize))) << info->toStdString();

    ASSERT_TRUE(runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"),
                                                    QStringLiteral("-singlefile"), pdf, folder.filePath("page")}));
    const QImage page(folder.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    const QImage png = QImage::fromData(exportPicture(drawing, PictureFormat::Png));
    EXPECT_LT(meanDifference(page.copy(QRect(QPoint(0, 0), png.size())), png), 6.0);

    const auto text = runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains(QStringLiteral("My Assets")));
    for (const Entry& entry : sampleEntries())
        EXPECT_GE(text->count(QString::fromStdString(entry.first)), 2) << entry.first << ": in the table and by its slice";
}

// A PDF page is at most 200 inches (14,400 points) either way: a longer picture is cut into pages, each
// at the picture's natural size, down its length.
TEST_F(PictureExportTest, ATallPdfIsCutIntoPagesAtItsNaturalSize)
{
    sheet::model::Workbook workbook = sampleWorkbook(sampleEntries());
    workbook.sheets[0].cells[{2499, 0}] = cellOf(workbook, std::string("far down"), 17);
    const sheet::render::SheetDrawing tall =
        sheet::render::recordRange(workbook, 0, {0, 0, 2499, 1}, {1.0, true});
    ASSERT_GT(tall.size.height() * 0.75, 2 * 14400);
    const QString pdf = write(QStringLiteral("tall.pdf"), exportPicture(tall, PictureFormat::Pdf));
    const auto info = runTool(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                          QStringLiteral("99"), pdf});
    ASSERT_TRUE(info) << "pdfinfo refused the file";
    const int pages = QRegularExpression(QStringLiteral("Pages:\\s+([0-9]+)")).match(*info).captured(1).toInt();
    EXPECT_GE(pages, 3) << info->toStdString();
    static const QRegularExpression pageSize(QStringLiteral("Page +[0-9]+ size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    double length = 0;
    for (auto page = pageSize.globalMatch(*info); page.hasNext();) {
        const QRegularExpressionMatch size = page.next();
        EXPECT_EQ(size.captured(1).toDouble(), std::ceil(tall.size.width() * 0.75));
        EXPECT_LE(size.captured(2).toDouble(), 14400);
        length += size.captured(2).toDouble();
    }
    EXPECT_NEAR(length, tall.size.height() * 0.75, 3) << "the pages together are as long as the picture";

    const auto page = [&](int number) {
        return runTool(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(number), QStringLiteral("-l"),
                                                     QString::number(number), pdf, QStringLiteral("-")})
            .value_or(QString());
    };
    EXPECT_TRUE(page(1).contains(QStringLiteral("Asset Type")));
    EXPECT_FALSE(page(1).contains(QStringLiteral("far down")));
    EXPECT_TRUE(page(pages).contains(QStringLiteral("far down")));
}

// A long text ends at the next filled cell in an SVG reader as on the screen, and the file holds what
// shows of it rather than all of it.
TEST_F(PictureExportTest, TheSvgEndsALongTextAtTheNextFilledCell)
{
    std::vector<Entry> entries = sampleEntries();
    entries[0].first = "Savings " + std::string(30000, 'w');
    const sheet::render::SheetDrawing longText = sheet::render::recordSheet(sampleWorkbook(entries), 0);
    const QByteArray svg = exportPicture(longText, PictureFormat::Svg);
    EXPECT_LT(svg.size(), 2 * exportPicture(drawing, PictureFormat::Svg).size());

    const QString file = write(QStringLiteral("long.svg"), svg);
    ASSERT_TRUE(runTool(QStringLiteral("rsvg-convert"), {file, QStringLiteral("-o"), folder.filePath("long.png")}));
    const QImage played(folder.filePath("long.png"));
    ASSERT_EQ(played.size(), longText.size);
    EXPECT_LT(meanDifference(played, QImage::fromData(exportPicture(longText, PictureFormat::Png))), 3.0);
}

// A picture the program holds as a bitmap goes into the SVG as an image.
TEST_F(PictureExportTest, TheSvgHoldsABitmapPicture)
{
    QImage bitmap(40, 30, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    bitmap.setPixelColor(30, 20, Qt::blue);
    QPicture part;
    QPainter painter(&part);
    painter.drawImage(QPointF(0, 0), bitmap);
    painter.end();
    part.setBoundingRect(bitmap.rect());
    const QString file = write(QStringLiteral("bitmap.svg"),
                               exportPicture(sheet::render::SheetDrawing(bitmap.size(), {part}), PictureFormat::Svg));
    ASSERT_TRUE(runTool(QStringLiteral("rsvg-convert"), {file, QStringLiteral("-o"), folder.filePath("bitmap.png")}));
    const QImage played(folder.filePath("bitmap.png"));
    ASSERT_EQ(played.size(), bitmap.size());
    EXPECT_EQ(played.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(played.pixelColor(30, 20), QColor(Qt::blue));
}

TEST_F(PictureExportTest, AnEmptyDrawingIsRefusedInEveryFormat)
{
    for (PictureFormat format : {PictureFormat::Png, PictureFormat::Bmp, PictureFormat::Svg, PictureFormat::Pdf})
        EXPECT_THROW(exportPicture({}, format), sheet::render::RenderError);
    EXPECT_THROW(exportPicture(drawing, PictureFormat::Png, 0), sheet::render::RenderError);
}

}  // namespace
