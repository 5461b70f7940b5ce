#include "sheet/automation/Application.h"
#include "sheet/automation/Cell.h"
#include "sheet/automation/Workbook.h"
#include "sheet/automation/Workbooks.h"
#include "sheet/automation/Worksheet.h"
#include "sheet/render/ChartPie.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string templatePath = TORTELET_TEMPLATE;

// The colour of each of the template's six slices, in row order.
std::vector<QRgb> templateSliceColours()
{
    sheet::Application application;
    sheet::Workbook& workbook = application.workbooks().Open(templatePath);
    const auto& model = workbook.model();
    const auto pie = sheet::render::readPieChart(model, model.sheets.at(0).charts.at(0));
    std::vector<QRgb> colours;
    for (const auto& slice : pie.value().slices)
        colours.push_back(slice.colour.rgb() & 0xFFFFFF);
    application.Quit();
    return colours;
}

// Runs the command as a script would on a machine without a display; keeps what it said on
// standard error.
int runTool(const QStringList& arguments, QString* errors = nullptr)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("XDG_RUNTIME_DIR");
    tool.setProcessEnvironment(environment);
    tool.start(TORTELET_SHEET_PROGRAM, QStringList{"render"} + arguments);
    if (!tool.waitForFinished(60000))
        return -1;
    if (errors)
        *errors = QString::fromUtf8(tool.readAllStandardError());
    return tool.exitCode();
}

int pixelsOf(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == colour ? 1 : 0;
    }
    return count;
}

TEST(RenderCommand, SheetOfTheFilledTemplateShowsOneSlicePerPositiveEntry)
{
    const std::vector<QRgb> colours = templateSliceColours();
    ASSERT_EQ(colours.size(), 6u);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string filled = folder.filePath("filled.xls").toStdString();
    const char* amounts[] = {"25000", "0", "-1500", "250000", "abc", "7500"};
    {
        sheet::Application application;
        sheet::Workbook& workbook = application.workbooks().Open(templatePath);
        for (int k = 0; k < 6; ++k)
            workbook.ActiveSheet().Cells(4 + k, 2).setValue(amounts[k]);
        workbook.SaveAs(filled, 56);
        workbook.Close();
        application.Quit();
    }
    const QString picture = folder.filePath("sheet.png");
    ASSERT_EQ(runTool({QString::fromStdString(filled), picture, "--sheet"}), 0);
    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    const bool positive[] = {true, false, false, true, false, true};
    for (std::size_t k = 0; k < 6; ++k)
        EXPECT_EQ(pixelsOf(image, colours[k]) > 200, positive[k]) << "slice " << k;
}

TEST(RenderCommand, UsedRangeAndRangeAndBadArguments)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString workbook = QString::fromStdString(templatePath);
    const QString used = folder.filePath("used.bmp");
    ASSERT_EQ(runTool({workbook, used}), 0);
    const QImage usedImage(used);
    ASSERT_FALSE(usedImage.isNull());
    const QString range = folder.filePath("range.png");
    ASSERT_EQ(runTool({workbook, range, "--range", "A3:B9"}), 0);
    const QImage rangeImage(range);
    EXPECT_GT(usedImage.width(), 3 * rangeImage.width()) << "the used range takes in the pie beside it";
    EXPECT_LT(rangeImage.height(), usedImage.height());

    EXPECT_EQ(runTool({workbook, folder.filePath("x.gif")}), 2);
    EXPECT_EQ(runTool({workbook, range, "--range", "B9:A3"}), 2);
    QString errors;
    EXPECT_EQ(runTool({workbook, range, "--range", "A1:A65536"}, &errors), 1);  // too tall to draw
    EXPECT_EQ(errors.count(QLatin1Char('\n')), 1) << errors.toStdString();
    EXPECT_TRUE(errors.startsWith(QStringLiteral("tortelet-sheet: ") + workbook)) << errors.toStdString();
    EXPECT_EQ(runTool({folder.filePath("missing.xls"), range}, &errors), 1);
    EXPECT_EQ(errors.count(QLatin1Char('\n')), 1) << errors.toStdString();
}

TEST(RenderCommand, EachExtensionGetsItsFormatAndBitmapsTheirScale)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString workbook = QString::fromStdString(templatePath);
    const auto header = [&folder](const QString& name) {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.read(5) : QByteArray();
    };
    ASSERT_EQ(runTool({workbook, folder.filePath("plain.png")}), 0);
    ASSERT_EQ(runTool({workbook, folder.filePath("sharp.PNG"), "--scale", "2"}), 0);
    ASSERT_EQ(runTool({workbook, folder.filePath("sharp.bmp"), "--scale", "1.5"}), 0);
    const QSize natural = QImage(folder.filePath("plain.png")).size();
    ASSERT_FALSE(natural.isEmpty());
    EXPECT_EQ(QImage(folder.filePath("sharp.PNG")).size(), natural * 2);
    EXPECT_EQ(QImage(folder.filePath("sharp.bmp")).size(), natural * 1.5);
    EXPECT_EQ(header("sharp.bmp").left(2), "BM");

    ASSERT_EQ(runTool({workbook, folder.filePath("chart.svg")}), 0);
    ASSERT_EQ(runTool({workbook, folder.filePath("chart.pdf"), "--sheet"}), 0);
    EXPECT_EQ(header("chart.svg"), "<?xml");
    EXPECT_EQ(header("chart.pdf"), "%PDF-");

    for (const QStringList& wrong : {QStringList{folder.filePath("v.svg"), "--scale", "2"},
                                     QStringList{folder.filePath("s.png"), "--scale", "0"},
                                     QStringList{folder.filePath("s.png"), "--scale", "2x"},
                                     QStringList{folder.filePath("s.png"), "--scale"},
                                     QStringList{folder.filePath("s.png"), "--sheet", "--range", "A1"}})
        EXPECT_EQ(runTool(QStringList{workbook} + wrong), 2) << wrong.join(' ').toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath("v.svg")));
}

// A sheet of 65,533 rows and every column is measured from its row heights and column widths and
// refused before anything is drawn, as a bitmap and as a drawing alike; its workbook holds two cells.
TEST(RenderCommand, APictureTooLargeIsRefusedWithItsSize)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string tall = folder.filePath("tall.xls").toStdString();
    {
        sheet::Application application;
        sheet::Workbook& workbook = application.workbooks().Open(templatePath);
        workbook.ActiveSheet().Cells(4, 1).setValue("first");
        workbook.ActiveSheet().Cells(65536, 256).setValue("last");
        workbook.SaveAs(tall, 56);
        workbook.Close();
        application.Quit();
    }
    static const QRegularExpression size(QStringLiteral("the picture would be [0-9]+ by [0-9]{7} pixels; at most"));
    for (const QString& picture : {QStringLiteral("tall.png"), QStringLiteral("tall.svg"), QStringLiteral("tall.pdf")}) {
        QString errors;
        EXPECT_EQ(runTool({QString::fromStdString(tall), folder.filePath(picture)}, &errors), 1) << picture.toStdString();
        EXPECT_TRUE(errors.contains(size)) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QStringLiteral("draw fewer cells with --range"))) << errors.toStdString();
        EXPECT_EQ(errors.contains(QStringLiteral(".svg or .pdf drawing")), picture.endsWith(QStringLiteral(".png")));
        EXPECT_FALSE(QFile::exists(folder.filePath(picture)));
    }

    // One column of every row: too long for a bitmap, a PDF of pages no longer than a PDF page may be.
    const auto column = [&](const char* picture) {
        return QStringList{QString::fromStdString(tall), folder.filePath(picture), QStringLiteral("--range"),
                           QStringLiteral("A1:A65536")};
    };
    QString errors;
    EXPECT_EQ(runTool(column("column.png"), &errors), 1);
    EXPECT_TRUE(errors.contains(size)) << errors.toStdString();
    ASSERT_EQ(runTool(column("column.pdf")), 0);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("-l"), QStringLiteral("1000"), folder.filePath("column.pdf")});
    ASSERT_TRUE(info.waitForFinished(60000));
    const QString pages = QString::fromUtf8(info.readAllStandardOutput());
    static const QRegularExpression pageSize(QStringLiteral("Page +[0-9]+ size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    double length = 0;
    for (auto page = pageSize.globalMatch(pages); page.hasNext();) {
        const QRegularExpressionMatch match = page.next();
        EXPECT_LE(match.captured(2).toDouble(), 14400) << "page " << match.captured(0).toStdString();
        length += match.captured(2).toDouble();
    }
    EXPECT_GT(length, 65536 * 12) << "each of the 65,536 rows at its natural height, 12 points or more";
}

}  // namespace
