#include "PreviewFixture.h"

#include "resources/ChartTemplate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

using preview_testing::PreviewFixture;

const QByteArray kWorkbook("\xD0\xCF\x11\xE0 scratch workbook bytes", 27);

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class SaveTest : public PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        scratch = path(QStringLiteral("vormel12345678.xls"));
        writeFile(scratch, kWorkbook);
        form().setScratchWorkbook(scratch);
    }

    // "Save Results To Excel File" and "< Back", clicked.
    void save() { testing_support::control<QPushButton>(form(), "PushButton6")->click(); }
    void back() { testing_support::control<QPushButton>(form(), "PushButton8")->click(); }

    QStringList texts() const
    {
        QStringList shown;
        for (const auto& box : system.messages.shown)
            shown << box.text;
        return shown;
    }

    QStringList folderContent() const { return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

    QString scratch;
};

TEST_F(SaveTest, ACancelledDialogWritesNothingAndSaysDone)
{
    save();
    EXPECT_EQ(system.saveDialog.titles, QStringList{QStringLiteral("Save File")});
    EXPECT_EQ(system.saveDialog.filters, QStringList{QStringLiteral("Excel Files (*.xls)|*.xls|Excel Workbook (*.xlsx)|*.xlsx|"
                                                                    "OpenDocument Spreadsheet (*.ods)|*.ods|")});
    ASSERT_EQ(texts(), QStringList{QStringLiteral("Done.")});
    const platform::MessageRequest& done = system.messages.shown[0];
    EXPECT_EQ(done.buttons, platform::Buttons::Ok);
    EXPECT_EQ(done.icon, platform::Icon::None);
    EXPECT_TRUE(done.title.isEmpty());
    EXPECT_EQ(folderContent(), QStringList{QStringLiteral("vormel12345678.xls")});
}

TEST_F(SaveTest, AnExistingFileIsAskedAboutAndKeptOnNo)
{
    const QString existing = path(QStringLiteral("result.xls"));
    writeFile(existing, "old");
    system.saveDialog.answers = {existing};
    system.messages.answers = {platform::AnswerNo};
    save();
    ASSERT_EQ(texts(), (QStringList{QStringLiteral("Are you sure you wish to overwrite ") + existing + QStringLiteral(" ?"),
                                    QStringLiteral("Done.")}));
    const platform::MessageRequest& question = system.messages.shown[0];
    EXPECT_EQ(question.buttons, platform::Buttons::YesNo);
    EXPECT_EQ(question.icon, platform::Icon::None);
    EXPECT_TRUE(question.title.isEmpty());
    EXPECT_EQ(contentOf(existing), QByteArray("old"));
}

TEST_F(SaveTest, YesReplacesAnExistingFileWithTheWorkbook)
{
    const QString existing = path(QStringLiteral("result.xls"));
    writeFile(existing, "old");
    system.saveDialog.answers = {existing};
    system.messages.answers = {platform::AnswerYes};
    save();
    EXPECT_EQ(texts().size(), 2);
    EXPECT_EQ(texts().last(), QStringLiteral("Done."));
    EXPECT_EQ(contentOf(existing), kWorkbook);
    EXPECT_EQ(folderContent().size(), 2);  // no temporary file left behind
}

TEST_F(SaveTest, ANameIsUsedAsTheDialogGivesItAndSavesMakeIdenticalCopies)
{
    const QString bare = path(QStringLiteral("result"));
    const QString second = path(QStringLiteral("second.xls"));
    system.saveDialog.answers = {bare, second};
    save();
    save();
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("Done."), QStringLiteral("Done.")}));
    EXPECT_EQ(contentOf(bare), kWorkbook);
    EXPECT_EQ(contentOf(second), kWorkbook);
    EXPECT_EQ(contentOf(scratch), kWorkbook);
    EXPECT_FALSE(QFile::exists(bare + QStringLiteral(".xls")));
    // The first dialog opens in the person's documents, the next where the last save went.
    ASSERT_EQ(system.saveDialog.startFolders.size(), 2);
    EXPECT_NE(system.saveDialog.startFolders[0], folder.path());
    EXPECT_EQ(system.saveDialog.startFolders[1], QFileInfo(bare).absolutePath());
}

TEST_F(SaveTest, AFailedCopyIsReportedInsteadOfDoneAndKeepsTheOldFile)
{
    const QString existing = path(QStringLiteral("result.xls"));
    writeFile(existing, "old");
    ASSERT_TRUE(QFile::remove(scratch));  // the copy's source is gone
    system.saveDialog.answers = {existing};
    system.messages.answers = {platform::AnswerYes};
    save();
    ASSERT_EQ(system.messages.shown.size(), 2u);
    const platform::MessageRequest& report = system.messages.shown[1];
    EXPECT_EQ(report.title, QStringLiteral("Application Error"));
    EXPECT_TRUE(report.text.contains(QStringLiteral("\r\nin Torvane2021/08/31.Form2.PushButton6_Click at line 112\r\r")));
    EXPECT_FALSE(texts().contains(QStringLiteral("Done.")));
    EXPECT_EQ(contentOf(existing), QByteArray("old"));
}

TEST_F(SaveTest, ADestinationThatCannotBeReplacedIsReportedAndLeftAlone)
{
    const QString taken = path(QStringLiteral("taken.xls"));
    ASSERT_TRUE(QDir().mkdir(taken));
    writeFile(taken + QStringLiteral("/inside"), "kept");
    system.saveDialog.answers = {taken};
    system.messages.answers = {platform::AnswerYes};
    save();
    ASSERT_EQ(system.messages.shown.size(), 2u);
    EXPECT_EQ(system.messages.shown[1].title, QStringLiteral("Application Error"));
    EXPECT_FALSE(texts().contains(QStringLiteral("Done.")));
    EXPECT_EQ(contentOf(taken + QStringLiteral("/inside")), QByteArray("kept"));
    EXPECT_EQ(folderContent().size(), 2);
}

TEST_F(SaveTest, ALinkChosenInTheDialogIsFollowedAndItsTargetKeepsItsMode)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("documents")));
    const QString target = path(QStringLiteral("documents/result.xls"));
    writeFile(target, "old");
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    const QString link = path(QStringLiteral("link.xls"));
    ASSERT_TRUE(QFile::link(QStringLiteral("documents/result.xls"), link));
    system.saveDialog.answers = {link};
    system.messages.answers = {platform::AnswerYes};
    save();
    EXPECT_EQ(texts().last(), QStringLiteral("Done."));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contentOf(target), kWorkbook);
    EXPECT_EQ(QFile::permissions(target) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);  // owner, group, others
    EXPECT_EQ(QDir(path(QStringLiteral("documents"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// The filter decides the format: a bare name gets the filter's extension, the question and "Done." stay,
// and a workbook that cannot be converted is reported like a failed copy, keeping the old file.
TEST_F(SaveTest, TheChosenFilterConvertsTheWorkbookToXlsxOrOds)
{
    writeFile(scratch, resources::chartTemplate());
    const QString ods = path(QStringLiteral("result.ods"));
    writeFile(ods, "old");
    system.saveDialog.answers = {path(QStringLiteral("result")), path(QStringLiteral("result"))};
    system.saveDialog.chosenFilters = {1, 2};
    system.messages.answers = {platform::AnswerYes};
    save();
    save();
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("Done."),
                                    QStringLiteral("Are you sure you wish to overwrite ") + ods + QStringLiteral(" ?"),
                                    QStringLiteral("Done.")}));
    EXPECT_TRUE(contentOf(path(QStringLiteral("result.xlsx"))).contains("xl/charts/chart1.xml"));
    EXPECT_TRUE(contentOf(ods).contains("application/vnd.oasis.opendocument.spreadsheet"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("result"))));

    writeFile(scratch, kWorkbook);  // no workbook to convert
    system.saveDialog.answers = {ods};
    system.saveDialog.chosenFilters = {2};
    system.messages.answers = {platform::AnswerYes};
    save();
    EXPECT_EQ(system.messages.shown.back().title, QStringLiteral("Application Error"));
    EXPECT_TRUE(contentOf(ods).contains("application/vnd.oasis.opendocument.spreadsheet"));
}

// A name typed with an extension decides the format, whatever the filter: openpyxl opens "mine.xlsx"
// chosen under the .xls filter, and "mine.ods" under the .xlsx filter is an OpenDocument spreadsheet.
TEST_F(SaveTest, TheTypedExtensionDecidesTheFormat)
{
    writeFile(scratch, resources::chartTemplate());
    system.saveDialog.answers = {path(QStringLiteral("mine.xlsx")), path(QStringLiteral("mine.ods")),
                                 path(QStringLiteral("mine.XLS"))};
    system.saveDialog.chosenFilters = {0, 1, 2};
    save();
    save();
    save();
    QProcess openpyxl;
    openpyxl.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral("-c"), QStringLiteral("import openpyxl, sys; openpyxl.load_workbook(sys.argv[1])"),
                    path(QStringLiteral("mine.xlsx"))});
    ASSERT_TRUE(openpyxl.waitForFinished(60000));
    EXPECT_EQ(openpyxl.exitCode(), 0) << openpyxl.readAllStandardError().toStdString();
    EXPECT_TRUE(contentOf(path(QStringLiteral("mine.ods"))).contains("application/vnd.oasis.opendocument.spreadsheet"));
    EXPECT_EQ(contentOf(path(QStringLiteral("mine.XLS"))), resources::chartTemplate());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("mine.ods.xlsx"))));
}

TEST_F(SaveTest, BackDeletesTheWorkbookAndShowsTheMainWindow)
{
    form().show();
    back();
    EXPECT_FALSE(QFile::exists(scratch));
    EXPECT_EQ(mainWindowShown, 1);
    EXPECT_TRUE(form().isHidden());
    EXPECT_EQ(programEnded, 0);

    back();  // the workbook is already gone: nothing to report
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(SaveTest, ClosingDeletesTheWorkbookAndEndsTheProgram)
{
    form().show();
    EXPECT_TRUE(form().close());
    EXPECT_FALSE(QFile::exists(scratch));
    EXPECT_EQ(programEnded, 1);
    EXPECT_EQ(mainWindowShown, 0);
    EXPECT_TRUE(system.messages.shown.empty());
}

}  // namespace
