#include "OtherProcessInstance.h"
#include "QStringPrinter.h"
#include "TestHost.h"
#include "XlrdReader.h"

#include "chart/ChartBuild.h"
#include "chart/TemplateChoice.h"
#include "platform/ApplicationTitle.h"
#include "platform/QtPlatform.h"
#include "resources/ChartTemplate.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"
#include "support/Controls.h"
#include "support/EnvironmentValue.h"
#include "support/ScriptedPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QClipboard>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testing_support::control;
using testing_support::EnvironmentValue;
using testing_support::ReadCell;

const std::vector<std::pair<QString, QString>> kSampleSet = {
    {QStringLiteral("Savings"), QStringLiteral("25000")}, {QStringLiteral("401k"), QStringLiteral("55000")},
    {QStringLiteral("Stocks"), QStringLiteral("15000")},  {QStringLiteral("House"), QStringLiteral("250000")},
    {QStringLiteral("Bonds"), QStringLiteral("11000")},   {QStringLiteral("Car"), QStringLiteral("7500")}};

const QString kClick = QStringLiteral("Torvane2021/08/31.Form1.PushButton1_Click");
const QString kCopy = QStringLiteral("Torvane2021/08/31.Excel1.saveCellsActivesheet");

using Report = std::pair<QString, int>;

std::vector<std::pair<QString, QString>> numberedEntries(int count)
{
    std::vector<std::pair<QString, QString>> entries;
    for (int i = 1; i <= count; ++i)
        entries.emplace_back(QStringLiteral("Asset %1").arg(i), QString::number(i * 1000 + 7));
    return entries;
}

QString storedText(const std::vector<std::pair<QString, QString>>& entries)
{
    QString text;
    for (const auto& [label, amount] : entries)
        text += label + QStringLiteral("||SEP1||") + amount + QStringLiteral("||SEP2||");
    return text;
}

// The size of the engine's own picture of a workbook's used range, to compare the delivered picture with.
QSize enginePictureSize(const QString& path)
{
    QSize size;
    sheet::Application instance;
    instance.setPictureSink([&size](const sheet::render::SheetDrawing& drawing) { size = drawing.size; });
    instance.workbooks().Open(QFile::encodeName(path).toStdString()).ActiveSheet().UsedRange().CopyPicture();
    instance.Quit();
    return size;
}

class ChartBuildRun : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QTemporaryDir runtime;
    EnvironmentValue tempVariable{"TEMP", QFile::encodeName(temp.path())};
    EnvironmentValue runtimeVariable{"XDG_RUNTIME_DIR", QFile::encodeName(runtime.path())};
    testing_support::ScriptedPlatform scripted;
    platform::QtRandomness random;
    platform::Platform platform{scripted.messages, scripted.inputs, scripted.saveDialog, scripted.settings,
                                scripted.clipboard, scripted.launcher, random,          scripted.clock,
                                scripted.pictureDialogs, scripted.openDialog};
    testing_support::TestHost host{platform};
    chart::ChartBuild build{platform, host};

    void SetUp() override { platform::setApplicationTitle(QStringLiteral("Tortelet")); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    static QStringList filesIn(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    QStringList files() const { return filesIn(temp.path()); }

    std::vector<Report> reports() const
    {
        static const QRegularExpression where(QStringLiteral("\r\nin (\\S+) at line (\\d+)\r\r"));
        std::vector<Report> found;
        for (const platform::MessageRequest& shown : scripted.messages.shown) {
            const QRegularExpressionMatch match = where.match(shown.text);
            if (shown.title == QStringLiteral("Application Error") && match.hasMatch())
                found.emplace_back(match.captured(1), match.captured(2).toInt());
        }
        return found;
    }

    // The one scratch workbook the build left, checked against its name rule.
    QString onlyScratchWorkbook() const
    {
        const QStringList left = files();
        EXPECT_EQ(left.size(), 1) << left.join(QLatin1Char(' ')).toStdString();
        if (left.size() != 1)
            return {};
        static const QRegularExpression name(QStringLiteral("^vormel[1-9]{8}\\.xls$"));
        EXPECT_TRUE(name.match(left.first()).hasMatch()) << left.first().toStdString();
        return temp.filePath(left.first());
    }

    void expectShownInPreview(const QString& scratch)
    {
        ASSERT_NE(host.previewWindow(), nullptr);
        EXPECT_TRUE(host.previewWindow()->isVisible());
        EXPECT_EQ(host.previewWindow()->scratchWorkbook(), scratch);
        EXPECT_FALSE(host.mainWindow.isVisible());
        ASSERT_FALSE(host.delivered.empty());
        EXPECT_FALSE(host.delivered.back().isNull());
        const QSize drawn = enginePictureSize(scratch);
        EXPECT_EQ(host.delivered.back().size(), drawn);
        EXPECT_EQ(control<preview::PictureBox>(*host.previewWindow(), "Zoom_Ori")->picture().size(), drawn);
    }

    void expectCells(const QString& scratch, const std::vector<std::pair<QString, QString>>& entries)
    {
        const testing_support::ReadSheet sheet = testing_support::readWithXlrd(scratch);
        EXPECT_EQ(sheet.name, QStringLiteral("Assets"));
        EXPECT_EQ(sheet.cell(3, 1).value.toString(), QStringLiteral("Asset Type"));
        for (int i = 1; i <= static_cast<int>(entries.size()); ++i) {
            const ReadCell label = sheet.cell(i + 3, 1);
            const ReadCell amount = sheet.cell(i + 3, 2);
            EXPECT_EQ(label.kind, ReadCell::Text) << "row " << i + 3;
            EXPECT_EQ(label.value.toString(), entries[static_cast<size_t>(i - 1)].first);
            EXPECT_EQ(amount.kind, ReadCell::Number) << "row " << i + 3;
            EXPECT_DOUBLE_EQ(amount.value.toDouble(), entries[static_cast<size_t>(i - 1)].second.toDouble());
            EXPECT_EQ(amount.format, QString::fromUtf8(chart::ChartBuild::AmountFormat)) << "row " << i + 3;
        }
        for (int row = static_cast<int>(entries.size()) + 4; row <= 9; ++row) {
            for (int column = 1; column <= 2; ++column) {
                const int kind = sheet.cell(row, column).kind;
                EXPECT_TRUE(kind == ReadCell::Empty || kind == ReadCell::Blank)
                    << "row " << row << " column " << column;
            }
        }
    }
};

TEST_F(ChartBuildRun, SampleSetLeavesOneFilledWorkbookAndShowsItsPicture)
{
    host.entries = kSampleSet;
    build.run();
    EXPECT_TRUE(scripted.messages.shown.empty()) << scripted.messages.shown.front().text.toStdString();
    const QString scratch = onlyScratchWorkbook();
    ASSERT_FALSE(scratch.isEmpty());
    expectShownInPreview(scratch);
    EXPECT_EQ(host.previewLoads, 1);
    expectCells(scratch, kSampleSet);
    EXPECT_EQ(scripted.settings.values[QStringLiteral("Assets")], storedText(kSampleSet));
    EXPECT_EQ(scripted.settings.writes, 2);  // the list and the locale of its amounts, once each
    EXPECT_EQ(host.pointerWhileReading, (std::vector<int>{common::PointerState::Busy, common::PointerState::Ordinary}));
    EXPECT_EQ(host.pointerState.value(), common::PointerState::Ordinary);
    EXPECT_EQ(std::strlen(chart::ChartBuild::AmountFormat), 44u);
    EXPECT_TRUE(scripted.clipboard.picture.isNull());
    EXPECT_EQ(scripted.clipboard.other, nullptr);
}

TEST_F(ChartBuildRun, NoAtTheQuestionChangesNothingAtAll)
{
    testing_support::OtherProcessInstance other;
    ASSERT_TRUE(other.ready());
    scripted.messages.answers = {platform::AnswerNo};
    host.entries = kSampleSet;
    build.run();
    ASSERT_EQ(scripted.messages.shown.size(), 1u);
    const platform::MessageRequest& question = scripted.messages.shown[0];
    EXPECT_EQ(question.text, QStringLiteral("Excel may be open. It is recommended that you close Excel first.\r"
                                            "Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.\r\n\r\n"
                                            "Would you like to proceed anyway?"));
    EXPECT_EQ(question.buttons, platform::Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, platform::AnswerYes);
    EXPECT_EQ(question.icon, platform::Icon::None);
    EXPECT_EQ(question.title, QStringLiteral("Tortelet"));
    EXPECT_TRUE(files().isEmpty());
    EXPECT_EQ(scripted.settings.writes, 0);
    EXPECT_TRUE(host.pointerWhileReading.empty());
    EXPECT_EQ(host.pointerState.value(), common::PointerState::Ordinary);
    EXPECT_EQ(host.previewWindow(), nullptr);
    EXPECT_TRUE(host.mainWindow.isVisible());
}

TEST_F(ChartBuildRun, YesAtTheQuestionBuildsAnyway)
{
    testing_support::OtherProcessInstance other;
    ASSERT_TRUE(other.ready());
    scripted.messages.answers = {platform::AnswerYes};
    host.entries = kSampleSet;
    build.run();
    EXPECT_EQ(scripted.messages.shown.size(), 1u);
    expectShownInPreview(onlyScratchWorkbook());
}

TEST_F(ChartBuildRun, AnEmptyListStillBuildsAndStoresTheEmptyText)
{
    build.run();
    EXPECT_TRUE(reports().empty());
    const QString scratch = onlyScratchWorkbook();
    ASSERT_FALSE(scratch.isEmpty());
    expectShownInPreview(scratch);
    expectCells(scratch, {});
    EXPECT_EQ(scripted.settings.values[QStringLiteral("Assets")], QString());
    EXPECT_EQ(scripted.settings.writes, 2);
}

class LongerLists : public ChartBuildRun, public ::testing::WithParamInterface<int> {};

TEST_P(LongerLists, RowsBelowTheTableAreFilledToo)
{
    host.entries = numberedEntries(GetParam());
    build.run();
    EXPECT_TRUE(reports().empty());
    const QString scratch = onlyScratchWorkbook();
    ASSERT_FALSE(scratch.isEmpty());
    expectCells(scratch, host.entries);
    expectShownInPreview(scratch);
    EXPECT_EQ(scripted.settings.values[QStringLiteral("Assets")], storedText(host.entries));
}

INSTANTIATE_TEST_SUITE_P(SevenAndTwenty, LongerLists, ::testing::Values(7, 20));

TEST_F(ChartBuildRun, AmountsWithADecimalCommaReachTheSheetAsTyped)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    host.entries = {{QStringLiteral("Gold"), QStringLiteral("2,5")},
                    {QStringLiteral("Cash"), QStringLiteral("1234,75")}};
    build.run();
    EXPECT_TRUE(reports().empty());
    const QString scratch = onlyScratchWorkbook();
    ASSERT_FALSE(scratch.isEmpty());
    const testing_support::ReadSheet sheet = testing_support::readWithXlrd(scratch);
    EXPECT_EQ(sheet.cell(4, 2).kind, ReadCell::Number);
    EXPECT_DOUBLE_EQ(sheet.cell(4, 2).value.toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(sheet.cell(5, 2).value.toDouble(), 1234.75);
    EXPECT_EQ(scripted.settings.values[QStringLiteral("Assets")], storedText(host.entries));
}

// A list typed under German settings and built under English ones: what English does not read is
// read the German way, so every amount is a slice; an amount no locale reads is named once.
TEST_F(ChartBuildRun, AmountsAreReadInTheLocaleTheListWasTypedInAndTheRestAreNamed)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    host.typedIn = QStringLiteral("de_DE");
    host.entries = {{QStringLiteral("Gold"), QStringLiteral("12,5")},
                    {QStringLiteral("Cash"), QStringLiteral("1.234,50")},
                    {QStringLiteral("Car"), QStringLiteral("7,500.25")},
                    {QStringLiteral("Boat"), QStringLiteral("lots")}};
    build.run();
    ASSERT_EQ(reports(), (std::vector<Report>{{kClick, 144}}));
    EXPECT_TRUE(scripted.messages.shown.front().text.startsWith(
        QStringLiteral("1 entry is not in the chart, as its amount is not a number: \u201CBoat\u201D (\u201Clots\u201D)")));
    const testing_support::ReadSheet sheet = testing_support::readWithXlrd(onlyScratchWorkbook());
    const double slices[] = {12.5, 1234.5, 7500.25};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(sheet.cell(4 + i, 2).kind, ReadCell::Number) << i;
        EXPECT_DOUBLE_EQ(sheet.cell(4 + i, 2).value.toDouble(), slices[i]);
    }
    EXPECT_EQ(sheet.cell(7, 2).kind, ReadCell::Text);
    EXPECT_EQ(scripted.settings.values[QStringLiteral("Amount Locale")], QStringLiteral("de_DE"));
}

// A person's template whose entry rows are merged would hide the entries: it is reported once, by the
// merged range, and the build fills the program's own template instead.
TEST_F(ChartBuildRun, ATemplateWithMergedEntryRowsGivesWayToTheBuiltInOne)
{
    const QString planted = temp.filePath(QStringLiteral("Pie Chart.xlt"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TORTELET_TEST_DATA "/merged-entry-rows.xls"), planted));
    host.entries = kSampleSet;
    build.run();
    ASSERT_EQ(reports(), (std::vector<Report>{{kClick, 110}}));
    EXPECT_TRUE(scripted.messages.shown.front().text.contains(QStringLiteral("merged cells A4:A8")));
    EXPECT_TRUE(QFile::exists(planted));
    ASSERT_NE(host.previewWindow(), nullptr);
    expectCells(host.previewWindow()->scratchWorkbook(), kSampleSet);
    build.run();
    EXPECT_EQ(reports().size(), 1u);  // said once a run
}

// The labels of column A from row 4, as the engine reads them from a scratch workbook of any format.
QStringList labelsIn(const QString& scratch, int count)
{
    sheet::Application instance;
    sheet::Worksheet& sheet = instance.workbooks().Open(QFile::encodeName(scratch).toStdString()).ActiveSheet();
    QStringList labels;
    for (int row = 4; row < 4 + count; ++row)
        labels << QString::fromStdString(std::get<std::string>(sheet.Cells(row, 1).Value()));
    instance.Quit();
    return labels;
}

class OwnTemplate : public ChartBuildRun, public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

// A template of the person's own is copied into the temporary folder under the template's name with its
// own extension, filled, and removed; the scratch workbook keeps the template's format.
TEST_P(OwnTemplate, IsFilledAndTheScratchWorkbookKeepsItsFormat)
{
    const auto [source, extension] = GetParam();
    QTemporaryDir mine;
    const QString own = mine.filePath(QStringLiteral("My Pie.") + QLatin1String(extension));
    ASSERT_TRUE(QFile::copy(QLatin1String(source), own));
    scripted.settings.values[QStringLiteral("Chart Template")] = own;
    host.entries = numberedEntries(9);
    build.run();
    EXPECT_TRUE(reports().empty());
    ASSERT_NE(host.previewWindow(), nullptr);
    const QString scratch = host.previewWindow()->scratchWorkbook();
    EXPECT_EQ(files(), QStringList{QFileInfo(scratch).fileName()});
    EXPECT_TRUE(scratch.endsWith(chart::ScratchExtension(*chart::TemplateKind(own))));
    QStringList expected;
    for (const auto& entry : host.entries)
        expected << entry.first;
    EXPECT_EQ(labelsIn(scratch, 9), expected);
    EXPECT_TRUE(QFile::exists(own));
}

INSTANTIATE_TEST_SUITE_P(Formats, OwnTemplate,
                         ::testing::Values(std::pair{TORTELET_TEST_DATA "/libreoffice-pie.xls", "xlt"}));

// An own template that cannot be read or filled is named once, its copy removed, and the build fills the
// program's own template.
TEST_F(ChartBuildRun, AnOwnTemplateThatCannotBeFilledGivesWayToTheBuiltInOne)
{
    QTemporaryDir mine;
    const QString own = mine.filePath(QStringLiteral("Broken.ots"));
    QFile broken(own);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("PK\x03\x04 not really a package");
    broken.close();
    scripted.settings.values[QStringLiteral("Chart Template")] = own;
    host.entries = kSampleSet;
    build.run();
    ASSERT_EQ(reports(), (std::vector<Report>{{kClick, 110}}));
    EXPECT_TRUE(scripted.messages.shown.front().text.contains(own));
    expectCells(onlyScratchWorkbook(), kSampleSet);
    scripted.settings.values[QStringLiteral("Chart Template")] = mine.filePath(QStringLiteral("gone.xltx"));
    build.run();
    EXPECT_EQ(reports().size(), 2u);
    EXPECT_EQ(reports().back(), (Report{kClick, 106}));
}

TEST_F(ChartBuildRun, WithoutTempEverythingHappensInThePrivateFolder)
{
    tempVariable.set(std::nullopt);
    host.entries = kSampleSet;
    build.run();
    EXPECT_TRUE(reports().empty());
    // The engine keeps its own registration in the same private folder.
    const QString folder = runtime.path() + QStringLiteral("/tortelet-studio");
    const QStringList left = filesIn(folder);
    const QStringList scratch = left.filter(QRegularExpression(QStringLiteral("^vormel[1-9]{8}\\.xls$")));
    ASSERT_EQ(scratch.size(), 1) << left.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(left.contains(QStringLiteral("Pie Chart.xlt")));
    EXPECT_FALSE(left.contains(QStringLiteral("temp.bmp")));
    ASSERT_NE(host.previewWindow(), nullptr);
    EXPECT_EQ(host.previewWindow()->scratchWorkbook(), folder + QLatin1Char('/') + scratch.first());
    expectCells(host.previewWindow()->scratchWorkbook(), kSampleSet);
}

TEST_F(ChartBuildRun, ACorruptTemplateShowsEachFailureOnceAndTheBuildGoesOn)
{
    QFile planted(temp.filePath(QStringLiteral("Pie Chart.xlt")));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.write("this is no workbook at all");
    planted.close();
    host.entries = kSampleSet;
    build.run();

    // The first line that misses the workbook says so; the lines after it that fail the same way
    // are not shown again.
    const std::vector<Report> expected{{kClick, 110}, {kClick, 112}, {kClick, 176}, {kClick, 180},
                                       {kCopy, 100},  {kCopy, 110},  {kCopy, 112},  {kClick, 192}};
    EXPECT_EQ(reports(), expected);
    ASSERT_FALSE(scripted.messages.shown.empty());
    EXPECT_FALSE(scripted.messages.shown[0].text.startsWith(QStringLiteral("\r\n")));

    EXPECT_TRUE(files().isEmpty()) << files().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(host.pointerState.value(), common::PointerState::Ordinary);
    ASSERT_NE(host.previewWindow(), nullptr);
    EXPECT_TRUE(host.previewWindow()->isVisible());
    EXPECT_FALSE(host.mainWindow.isVisible());
    EXPECT_EQ(scripted.settings.values[QStringLiteral("Assets")], storedText(kSampleSet));
}

TEST_F(ChartBuildRun, AMissingTempFolderShowsAFewBoxesHoweverLongTheList)
{
    tempVariable.set(QFile::encodeName(temp.filePath(QStringLiteral("missing"))));
    std::vector<std::vector<Report>> shown;
    for (int count : {6, 100}) {
        scripted.messages.shown.clear();
        host.entries = numberedEntries(count);
        build.run();
        shown.push_back(reports());
        QStringList descriptions;
        for (const platform::MessageRequest& box : scripted.messages.shown)
            descriptions << box.text.section(QStringLiteral("\r\n"), 0, 0);
        EXPECT_TRUE(descriptions.filter(QStringLiteral("Pie Chart.xlt")).size() >= 1);
        EXPECT_EQ(scripted.settings.values[QStringLiteral("Assets")], storedText(host.entries));
    }
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_LE(shown[0].size(), 10u);
    EXPECT_EQ(shown[0].front(), Report(kClick, 106));
    EXPECT_TRUE(files().isEmpty()) << files().join(QLatin1Char(' ')).toStdString();
}

TEST_F(ChartBuildRun, EntriesBeyondTheSheetsLastRowAreReportedOnceAndTheRestIsBuilt)
{
    host.entries = numberedEntries(65533 + 7);
    build.run();
    // The only box; the picture of so many rows is drawn and shown all the same.
    ASSERT_EQ(scripted.messages.shown.size(), 1u);
    ASSERT_EQ(host.delivered.size(), 1u);
    EXPECT_TRUE(host.delivered[0].hasDrawing());
    EXPECT_TRUE(scripted.messages.shown[0].text.startsWith(
        QStringLiteral("the sheet holds 65,533 entries; 7 were left out\r\nin ") + kClick + QStringLiteral(" at line 136\r\r")));
    ASSERT_NE(host.previewWindow(), nullptr);
    sheet::Application instance;
    sheet::Worksheet& sheet =
        instance.workbooks().Open(QFile::encodeName(host.previewWindow()->scratchWorkbook()).toStdString()).ActiveSheet();
    EXPECT_EQ(std::get<std::string>(sheet.Cells(65536, 1).Value()), host.entries[65532].first.toStdString());
    instance.Quit();
    EXPECT_EQ(scripted.settings.values[QStringLiteral("Assets")], storedText(host.entries));
}

// A person's own template whose sheet reaches row 20,000 of the last column gives a picture too large
// to keep: the copy is refused from the sheet's size before anything is drawn, and the build goes on.
TEST_F(ChartBuildRun, APictureTooLargeToShowIsRefusedAtTheCopyWithItsSize)
{
    QTemporaryDir elsewhere;
    const QString original = elsewhere.filePath(QStringLiteral("original.xls"));
    QFile copy(original);
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write(resources::chartTemplate());
    copy.close();
    {
        sheet::Application application;
        sheet::Workbook& workbook = application.workbooks().Open(QFile::encodeName(original).toStdString());
        workbook.ActiveSheet().Cells(20000, 256).setValue("far");
        workbook.SaveAs(QFile::encodeName(temp.filePath(QStringLiteral("Pie Chart.xlt"))).toStdString(), 56);
        workbook.Close();
        application.Quit();
    }
    host.entries = kSampleSet;
    build.run();

    const std::vector<Report> shown = reports();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), Report(kCopy, 110));
    static const QRegularExpression size(QStringLiteral("^the picture would be [0-9]{5} by [0-9]{6} pixels; at most"));
    EXPECT_TRUE(size.match(scripted.messages.shown.front().text).hasMatch())
        << scripted.messages.shown.front().text.toStdString();
    EXPECT_TRUE(host.delivered.empty());
    ASSERT_NE(host.previewWindow(), nullptr);
    EXPECT_TRUE(host.previewWindow()->isVisible());
    EXPECT_EQ(scripted.settings.values[QStringLiteral("Assets")], storedText(kSampleSet));
}

class RefusedTemplate : public ChartBuildRun, public ::testing::WithParamInterface<const char*> {};

// The build goes on with the built-in template, so the chart still shows; the refusal is said once
// in a run, and the refused file, whatever it points to and the private folder keep nothing new.
TEST_P(RefusedTemplate, IsReportedOnceLeftAsItIsAndTheBuiltInTemplateIsUsed)
{
    const QString templatePath = temp.filePath(QStringLiteral("Pie Chart.xlt"));
    const QByteArray name = QFile::encodeName(templatePath);
    const std::string kind = GetParam();
    QTemporaryDir elsewhere;
    if (kind == "fifo")
        ASSERT_EQ(::mkfifo(name.constData(), 0600), 0);
    else if (kind == "link")
        ASSERT_EQ(::symlink(QFile::encodeName(elsewhere.filePath(QStringLiteral("t.xlt"))).constData(), name.constData()), 0);
    else {
        QFile foreign(templatePath);
        ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
        foreign.write(resources::chartTemplate());
        foreign.close();
        if (::geteuid() != 0)
            GTEST_SKIP() << "only root can give a file to another user";
        ASSERT_EQ(::chown(name.constData(), 65534, 65534), 0);
    }
    host.entries = kSampleSet;
    build.run();

    const std::vector<Report> shown = reports();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), Report(kClick, 106));
    const QString refusal = scripted.messages.shown.front().text.section(QStringLiteral("\r\n"), 0, 0);
    EXPECT_TRUE(refusal.contains(templatePath)) << refusal.toStdString();
    int mentions = 0;
    for (const platform::MessageRequest& box : scripted.messages.shown)
        mentions += box.text.contains(QStringLiteral("Pie Chart.xlt")) ? 1 : 0;
    EXPECT_EQ(mentions, 1);
    EXPECT_EQ(shown.size(), 1u);
    ASSERT_EQ(host.delivered.size(), 1u);
    EXPECT_TRUE(host.delivered[0].hasDrawing());
    EXPECT_EQ(files().filter(QStringLiteral(".xlt")), QStringList{QStringLiteral("Pie Chart.xlt")});
    EXPECT_TRUE(filesIn(elsewhere.path()).isEmpty());
    EXPECT_EQ(scripted.settings.values[QStringLiteral("Assets")], storedText(kSampleSet));

    scripted.messages.shown.clear();
    build.run();
    EXPECT_TRUE(scripted.messages.shown.empty());
    EXPECT_EQ(host.delivered.size(), 2u);
    EXPECT_EQ(files().filter(QStringLiteral(".xlt")), QStringList{QStringLiteral("Pie Chart.xlt")});
    EXPECT_FALSE(QFileInfo::exists(runtime.filePath(QStringLiteral("tortelet-studio/Pie Chart (built-in).xlt"))));
}

INSTANTIATE_TEST_SUITE_P(FifoLinkAndForeignFile, RefusedTemplate, ::testing::Values("fifo", "link", "foreign"));

TEST_F(ChartBuildRun, ASecondBuildAfterBackShowsTheNewChartAndLeavesNoOldScratchFile)
{
    host.entries = kSampleSet;
    build.run();
    ASSERT_NE(host.previewWindow(), nullptr);
    const QString firstScratch = host.previewWindow()->scratchWorkbook();
    control<QPushButton>(*host.previewWindow(), "PushButton8")->click();
    EXPECT_TRUE(host.mainWindow.isVisible());
    EXPECT_FALSE(QFile::exists(firstScratch));

    host.entries = numberedEntries(7);
    build.run();
    EXPECT_TRUE(reports().empty());
    const QString secondScratch = onlyScratchWorkbook();
    ASSERT_FALSE(secondScratch.isEmpty());
    EXPECT_NE(secondScratch, firstScratch);
    expectShownInPreview(secondScratch);
    expectCells(secondScratch, host.entries);
    ASSERT_EQ(host.delivered.size(), 2u);
    EXPECT_NE(host.delivered[0].fileBytes(), host.delivered[1].fileBytes());
    EXPECT_EQ(host.previewLoads, 1);
}

TEST_F(ChartBuildRun, AClickDuringABuildDoesNothing)
{
    bool clicked = false;
    host.whileReading = [&] {
        if (clicked)
            return;
        clicked = true;
        EXPECT_TRUE(build.running());
        build.run();
    };
    host.entries = kSampleSet;
    build.run();
    EXPECT_FALSE(build.running());
    EXPECT_TRUE(scripted.messages.shown.empty());
    EXPECT_EQ(host.pointerWhileReading.size(), 2u);
    EXPECT_EQ(host.delivered.size(), 1u);
    onlyScratchWorkbook();
}

TEST_F(ChartBuildRun, EndingTheProgramWhileTheTemplateIsWrittenLeavesNothingBehind)
{
    QTimer::singleShot(0, [&] { build.stopForExit(); });
    host.entries = kSampleSet;
    build.run();
    EXPECT_TRUE(files().isEmpty()) << files().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(host.previewWindow(), nullptr);
    EXPECT_EQ(scripted.settings.writes, 0);
    EXPECT_EQ(host.pointerState.value(), common::PointerState::Ordinary);
}

TEST_F(ChartBuildRun, EndingTheProgramAfterTheSaveRemovesTheScratchWorkbook)
{
    QFile existing(temp.filePath(QStringLiteral("Pie Chart.xlt")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write(resources::chartTemplate());
    existing.close();
    QTimer::singleShot(0, [&] { build.stopForExit(); });
    host.entries = kSampleSet;
    build.run();
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(files().isEmpty()) << files().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(host.previewWindow(), nullptr);
    EXPECT_TRUE(host.delivered.empty());
}

TEST_F(ChartBuildRun, EndingTheProgramAfterTheHandoverStillRemovesTheScratchWorkbook)
{
    host.whileShowing = [&] { build.stopForExit(); };
    host.entries = kSampleSet;
    build.run();
    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(host.delivered.size(), 1u);
    EXPECT_TRUE(files().isEmpty()) << files().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(scripted.settings.writes, 0);
}

TEST_F(ChartBuildRun, WhatTheClipboardHeldIsPutBack)
{
    scripted.clipboard.other = std::make_unique<QMimeData>();
    scripted.clipboard.other->setText(QStringLiteral("the person's text"));
    host.entries = kSampleSet;
    build.run();
    ASSERT_EQ(host.delivered.size(), 1u);
    EXPECT_FALSE(host.delivered[0].isNull());
    ASSERT_NE(scripted.clipboard.other, nullptr);
    EXPECT_EQ(scripted.clipboard.other->text(), QStringLiteral("the person's text"));
    EXPECT_TRUE(scripted.clipboard.picture.isNull());
}

TEST_F(ChartBuildRun, ThePictureTravelsThroughTheSystemClipboard)
{
    platform::QtClipboard system;
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    chart::ChartBuild systemBuild{platform::Platform{scripted.messages, scripted.inputs, scripted.saveDialog,
                                                     scripted.settings, system, scripted.launcher, random,
                                                     scripted.clock, scripted.pictureDialogs, scripted.openDialog},
                                  host};
    host.entries = kSampleSet;
    systemBuild.run();
    EXPECT_TRUE(reports().empty());
    ASSERT_EQ(host.delivered.size(), 1u);
    EXPECT_EQ(host.delivered[0].size(), enginePictureSize(onlyScratchWorkbook()));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(ChartBuildRun, TakenScratchNamesAreDrawnAgainAndPlantedLinksAreNeverFollowed)
{
    testing_support::ScriptedRandomness scriptedRandom;
    for (std::uint32_t digit : {0u, 1u, 2u})
        scriptedRandom.strongs.insert(scriptedRandom.strongs.end(), 8, digit);
    QFile taken(temp.filePath(QStringLiteral("vormel11111111.xls")));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("someone else's");
    taken.close();
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(),
                        QFile::encodeName(temp.filePath(QStringLiteral("vormel22222222.xls"))).constData()), 0);
    QFile kept(elsewhere.filePath(QStringLiteral("kept")));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("keep me");
    kept.close();
    ASSERT_EQ(::symlink(QFile::encodeName(kept.fileName()).constData(),
                        QFile::encodeName(temp.filePath(QStringLiteral("temp.bmp"))).constData()), 0);

    chart::ChartBuild scriptedBuild{platform::Platform{scripted.messages, scripted.inputs, scripted.saveDialog,
                                                       scripted.settings, scripted.clipboard, scripted.launcher,
                                                       scriptedRandom, scripted.clock, scripted.pictureDialogs,
                                                       scripted.openDialog},
                                    host};
    host.entries = kSampleSet;
    scriptedBuild.run();
    EXPECT_TRUE(reports().empty());
    ASSERT_NE(host.previewWindow(), nullptr);
    EXPECT_EQ(host.previewWindow()->scratchWorkbook(), temp.filePath(QStringLiteral("vormel33333333.xls")));
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), QByteArray("someone else's"));
    EXPECT_FALSE(QFile::exists(victim));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    const QFileInfo picture(temp.filePath(QStringLiteral("temp.bmp")));
    EXPECT_FALSE(picture.exists() || picture.isSymLink());
}

}  // namespace
