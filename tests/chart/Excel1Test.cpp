#include "OtherProcessInstance.h"
#include "QStringPrinter.h"

#include "chart/Excel1.h"
#include "platform/ApplicationTitle.h"
#include "platform/Picture.h"
#include "resources/ChartTemplate.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"
#include "support/EnvironmentValue.h"
#include "support/ScriptedPlatform.h"

#include <QFile>
#include <QPicture>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using testing_support::EnvironmentValue;

class Excel1 : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QTemporaryDir runtime;
    EnvironmentValue runtimeVariable{"XDG_RUNTIME_DIR", QFile::encodeName(runtime.path())};
    testing_support::ScriptedMessageBoxes boxes;
    testing_support::MemoryClipboard clipboard;

    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    QString templateFile()
    {
        const QString path = folder.filePath(QStringLiteral("Pie Chart.xlt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(resources::chartTemplate());
        return path;
    }

    std::vector<int> reportedLines() const
    {
        std::vector<int> lines;
        for (const platform::MessageRequest& shown : boxes.shown) {
            EXPECT_TRUE(shown.text.contains(
                QStringLiteral("in Torvane2021/08/31.Excel1.saveCellsActivesheet at line ")));
            lines.push_back(shown.text.section(QStringLiteral("at line "), 1).section(QLatin1Char('\r'), 0, 0).toInt());
        }
        return lines;
    }
};

TEST_F(Excel1, FileFormatFollowsTheVersionInEveryLocale)
{
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        EXPECT_EQ(chart::fileFormatForVersion(QStringLiteral("11.0")), -4143);
        EXPECT_EQ(chart::fileFormatForVersion(QStringLiteral("9.0")), -4143);
        EXPECT_EQ(chart::fileFormatForVersion(QStringLiteral("12.0")), 56);
        EXPECT_EQ(chart::fileFormatForVersion(QStringLiteral("16,0")), 56);
        EXPECT_THROW(chart::fileFormatForVersion(QStringLiteral("sixteen")), std::runtime_error);
    }
}

TEST_F(Excel1, TheEngineAsksForTheExcel97To2003Workbook)
{
    EXPECT_EQ(chart::getSaveFileFormat(nullptr), 56);
    sheet::Application instance;
    EXPECT_EQ(chart::getSaveFileFormat(&instance), 56);
}

TEST_F(Excel1, OnlyAnInstanceOfAnotherProcessCountsAsRunning)
{
    {
        sheet::Application ours;
        EXPECT_FALSE(chart::isExcelRunning());
        EXPECT_FALSE(chart::warnIfExcelRunning(boxes));
        EXPECT_TRUE(boxes.shown.empty());
    }
    testing_support::OtherProcessInstance other;
    ASSERT_TRUE(other.ready());
    EXPECT_TRUE(chart::isExcelRunning());
}

TEST_F(Excel1, TheSheetPictureIsWrittenAsRecordedDrawingAndTheClipboardIsPutBack)
{
    clipboard.other = std::make_unique<QMimeData>();
    clipboard.other->setText(QStringLiteral("before"));
    sheet::Application instance;
    sheet::Workbook& workbook = instance.workbooks().Open(QFile::encodeName(templateFile()).toStdString());
    instance.setPictureSink(
        [this](const sheet::render::SheetDrawing& drawing) { clipboard.setPicture(drawing); });
    const QString picturePath = folder.filePath(QStringLiteral("temp.bmp"));
    chart::saveCellsActivesheet(boxes, clipboard, &workbook, picturePath);
    EXPECT_TRUE(boxes.shown.empty());
    QFile written(picturePath);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const platform::Picture picture = platform::Picture::fromFileBytes(written.readAll());
    EXPECT_TRUE(picture.hasDrawing());
    EXPECT_GT(picture.size().width(), 1000) << "the table and the pie beside it";
    ASSERT_NE(clipboard.other, nullptr);
    EXPECT_EQ(clipboard.other->text(), QStringLiteral("before"));
}

TEST_F(Excel1, WithoutAWorkbookEachStatementIsReportedAndNothingIsWritten)
{
    clipboard.picture = QImage(10, 10, QImage::Format_RGB32);
    const QString picturePath = folder.filePath(QStringLiteral("temp.bmp"));
    chart::saveCellsActivesheet(boxes, clipboard, nullptr, picturePath);
    EXPECT_EQ(reportedLines(), (std::vector<int>{100, 110, 112}));
    EXPECT_FALSE(QFile::exists(picturePath));
    EXPECT_EQ(clipboard.picture.size(), QSize(10, 10));
}

}  // namespace
