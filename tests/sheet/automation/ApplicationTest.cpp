#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"
#include "sheet/model/Workbook.h"
#include "sheet/render/RangePicture.h"

#include <QImage>
#include <cstdlib>
#include <memory>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sheet {
namespace {

// Instances register in the user's private folder; these tests keep theirs apart, so that other
// programs and tests running at the same time neither see them nor are seen.
class PrivateRuntimeFolder : public ::testing::Environment {
public:
    void SetUp() override
    {
        folder_ = std::make_unique<test::ScratchFolder>();
        ::setenv("XDG_RUNTIME_DIR", folder_->path("").c_str(), 1);
    }
    void TearDown() override { folder_.reset(); }

private:
    std::unique_ptr<test::ScratchFolder> folder_;
};

[[maybe_unused]] ::testing::Environment* const runtimeFolder =
    ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder);

template <typename Action>
std::string failure(Action action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "<no error>";
}

TEST(Application, FillsTheTemplateAsTheBuildDoes)
{
    test::ScratchFolder folder;
    Application excel;
    excel.setNumberLocale(NumberLocale{U'.', U','});
    EXPECT_EQ(excel.Version(), "16.0");
    Workbook& book = excel.workbooks().Open(test::templatePath());
    EXPECT_EQ(excel.workbooks().count(), 1);
    EXPECT_EQ(&excel.workbooks().item(1), &book);
    Worksheet& sheet = book.ActiveSheet();
    EXPECT_EQ(sheet.Name(), "Assets");
    EXPECT_EQ(std::get<std::string>(sheet.Cells(4, 1).Value()), "Savings");
    EXPECT_EQ(std::get<double>(sheet.Cells(9, 2).Value()), 7500);
    EXPECT_EQ(sheet.UsedRange().address(), "A3:B19");
    for (int row = 4; row <= 9; ++row) {
        sheet.Cells(row, 1).setValue("");
        sheet.Cells(row, 2).setValue("");
    }
    const char* entries[][2] = {{"Haus", "250000"}, {"Auto", "7,500"}, {"日本", "12.5"}};
    for (int i = 0; i < 3; ++i) {
        sheet.Cells(4 + i, 1).setValue(entries[i][0]);
        sheet.Cells(4 + i, 2).setValue(entries[i][1]);
        sheet.Cells(4 + i, 2).setNumberFormat(R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))");
    }
    const std::string target = folder.path("vormel12345678.xls");
    book.SaveAs(target, 56);
    EXPECT_EQ(book.path(), target);
    excel.setDisplayAlerts(false);
    book.Close();
    EXPECT_EQ(excel.workbooks().count(), 0);
    excel.Quit();

    Application second;
    Workbook& saved = second.workbooks().Open(target);
    Worksheet& reread = saved.ActiveSheet();
    EXPECT_EQ(std::get<std::string>(reread.Cells(6, 1).Value()), "日本");
    EXPECT_EQ(std::get<double>(reread.Cells(5, 2).Value()), 7500);
    EXPECT_EQ(reread.Cells(6, 2).NumberFormat(), R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(reread.Cells(7, 1).Value()));
    EXPECT_EQ(reread.UsedRange().address(), "A3:B19");
    render::SheetDrawing drawing;
    second.setPictureSink([&](const render::SheetDrawing& recorded) { drawing = recorded; });
    reread.UsedRange().CopyPicture();
    // The copy of the used range takes in the pie beside the table, as the sheet looks when opened.
    const QImage tableAlone = render::drawRange(saved.model(), 0, {2, 0, 18, 1});
    const QImage whole = render::drawSheet(saved.model(), 0);
    EXPECT_EQ(drawing.size, whole.size());
    EXPECT_GT(whole.width(), 3 * tableAlone.width());
    EXPECT_EQ(folder.entries().size(), 1u) << "no temporary file is left behind";
}

TEST(Application, ObjectsFailCleanlyAfterCloseAndQuit)
{
    Application excel;
    Workbook& book = excel.workbooks().Open(test::templatePath());
    Worksheet& sheet = book.ActiveSheet();
    Cell cell = sheet.Cells(4, 1);
    book.Close();
    EXPECT_EQ(failure([&] { cell.setValue("x"); }), "the workbook is closed");
    EXPECT_EQ(failure([&] { (void)sheet.UsedRange(); }), "the workbook is closed");
    EXPECT_EQ(failure([&] { book.SaveAs("/tmp/never.xls", 56); }), "the workbook is closed");
    EXPECT_EQ(failure([&] { book.Close(); }), "the workbook is closed");
    EXPECT_THROW(excel.workbooks().item(1), ArgumentError);

    Workbook& other = excel.workbooks().Open(test::templatePath());
    Cell still = other.ActiveSheet().Cells(1, 1);
    excel.Quit();
    EXPECT_TRUE(excel.hasQuit());
    EXPECT_EQ(failure([&] { still.setValue("x"); }), "the instance has quit");
    EXPECT_EQ(failure([&] { (void)excel.Version(); }), "the instance has quit");
    EXPECT_EQ(failure([&] { excel.workbooks(); }), "the instance has quit");
    EXPECT_EQ(failure([&] { excel.Quit(); }), "the instance has quit");
}

TEST(Application, BadArgumentsAndFilesGiveClearErrors)
{
    test::ScratchFolder folder;
    Application excel;
    EXPECT_THROW(excel.workbooks().Open(folder.path("missing.xls")), FileError);
    const std::string text = folder.path("text.xls");
    FILE* out = std::fopen(text.c_str(), "w");
    std::fputs("Label,Amount\n", out);
    std::fclose(out);
    EXPECT_NE(failure([&] { excel.workbooks().Open(text); }).find("not a workbook"), std::string::npos);
    EXPECT_EQ(excel.workbooks().count(), 0);

    Workbook& book = excel.workbooks().Open(test::templatePath());
    Worksheet& sheet = book.ActiveSheet();
    EXPECT_THROW(sheet.Cells(0, 1), ArgumentError);
    EXPECT_THROW(sheet.Cells(1, 257), ArgumentError);
    EXPECT_THROW(sheet.Cells(65537, 1), ArgumentError);

    const std::string target = folder.path("out.xls");
    EXPECT_NE(failure([&] { book.SaveAs(target, 53); }).find("unknown file format 53"), std::string::npos);
    EXPECT_NO_THROW(book.SaveAs(target, -4143));
    const auto saved = test::fileBytes(target);
    ::mkdir(folder.path("taken.xls").c_str(), 0700);
    EXPECT_THROW(book.SaveAs(folder.path("taken.xls"), 56), FileError);
    EXPECT_THROW(book.SaveAs(folder.path("no/such/folder.xls"), 56), FileError);
    EXPECT_EQ(test::fileBytes(target), saved);
    for (const std::string& name : folder.entries())
        EXPECT_EQ(name.find(".tortelet-save"), std::string::npos) << name;
}

TEST(Application, SavingATemplateAsAWorkbookDropsTheTemplateMark)
{
    test::ScratchFolder folder;
    Application excel;
    Workbook& book = excel.workbooks().Open(test::templatePath());
    auto& globals = book.model().globalRecords;
    globals.insert(globals.begin() + 1, model::Record{0x0060, {}});
    book.SaveAs(folder.path("saved.xls"), 56);
    Workbook& saved = excel.workbooks().Open(folder.path("saved.xls"));
    for (const model::Record& record : saved.model().globalRecords)
        EXPECT_NE(record.type, 0x0060);
    EXPECT_EQ(std::get<std::string>(saved.ActiveSheet().Cells(4, 1).Value()), "Savings");
}

TEST(Application, SavingReplacesALinkInsteadOfFollowingIt)
{
    test::ScratchFolder folder;
    const std::string victim = folder.path("victim.txt");
    FILE* out = std::fopen(victim.c_str(), "w");
    std::fputs("keep me", out);
    std::fclose(out);
    ASSERT_EQ(::symlink(victim.c_str(), folder.path("planted.xls").c_str()), 0);
    Application excel;
    excel.workbooks().Open(test::templatePath()).SaveAs(folder.path("planted.xls"), 56);
    const auto kept = test::fileBytes(victim);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep me");
    struct stat info {};
    ASSERT_EQ(::lstat(folder.path("planted.xls").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
}

TEST(Application, FindsOnlyInstancesOfOtherProcesses)
{
    EXPECT_EQ(Application::findRunning(), std::nullopt);
    {
        Application own;
        EXPECT_EQ(Application::findRunning(), std::nullopt) << "an instance of this process does not count";
    }
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        {
            Application other;
            char signal = 1;
            (void)!::write(ready[1], &signal, 1);
            (void)!::read(release[0], &signal, 1);
        }
        ::_exit(0);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    EXPECT_EQ(Application::findRunning(), std::optional<std::string>("Tortelet Sheet"));
    (void)!::write(release[1], &signal, 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(Application::findRunning(), std::nullopt) << "a quit instance is not found";

    const pid_t killed = ::fork();
    if (killed == 0) {
        Application other;
        char s = 1;
        (void)!::write(ready[1], &s, 1);
        ::pause();
        ::_exit(0);
    }
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    EXPECT_TRUE(Application::findRunning());
    ::kill(killed, SIGKILL);
    ::waitpid(killed, &status, 0);
    EXPECT_EQ(Application::findRunning(), std::nullopt) << "a dead process's registration is stale";
}

TEST(Application, RefusesAnUnsafePrivateFolder)
{
    test::ScratchFolder runtime;
    ::symlink("/tmp", runtime.path("tortelet-studio").c_str());
    const std::string saved = std::getenv("XDG_RUNTIME_DIR");
    ::setenv("XDG_RUNTIME_DIR", runtime.path("").c_str(), 1);
    {
        Application excel; // works without registering
        EXPECT_EQ(excel.Version(), "16.0");
        const std::string followed = "/tmp/sheet-instance-" + std::to_string(::getpid());
        EXPECT_NE(::access(followed.c_str(), F_OK), 0) << "the link was followed";
        EXPECT_EQ(Application::findRunning(), std::nullopt);
    }
    ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

} // namespace
} // namespace sheet
