#include "common/FileRoutines.h"
#include "common/Main.h"
#include "support/ScriptedPlatform.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

int plantLink(const QString& target, const QString& link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData());
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

class FileRoutines : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString path(const QString& name) const { return folder.filePath(name); }
};

TEST_F(FileRoutines, WriteFileIfMissingWritesTheExactBytesAndLeavesNoTemporaryFile)
{
    QByteArray data(300000, '\0');
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    common::WriteFileIfMissing(data, path(QStringLiteral("Pie Chart.xlt")));
    EXPECT_EQ(readAll(path(QStringLiteral("Pie Chart.xlt"))), data);
    EXPECT_EQ(entries(folder.path()), QStringList{QStringLiteral("Pie Chart.xlt")});
}

TEST_F(FileRoutines, WriteFileIfMissingKeepsAnExistingFileWhateverItHolds)
{
    writeAll(path(QStringLiteral("t.xlt")), "other content");
    common::WriteFileIfMissing(QByteArray("new"), path(QStringLiteral("t.xlt")));
    EXPECT_EQ(readAll(path(QStringLiteral("t.xlt"))), QByteArray("other content"));
}

TEST_F(FileRoutines, WriteFileIfMissingNeverWritesThroughAPlantedLink)
{
    const QString target = path(QStringLiteral("victim"));
    ASSERT_EQ(plantLink(target, path(QStringLiteral("t.xlt"))), 0);
    EXPECT_THROW(common::WriteFileIfMissing(QByteArray("data"), path(QStringLiteral("t.xlt"))), std::runtime_error);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(entries(folder.path()), QStringList{QStringLiteral("t.xlt")});
}

TEST_F(FileRoutines, WriteFileIfMissingInAMissingFolderFailsWithTheReason)
{
    try {
        common::WriteFileIfMissing(QByteArray("data"), path(QStringLiteral("missing/t.xlt")));
        FAIL() << "no failure";
    } catch (const std::runtime_error& failure) {
        EXPECT_NE(std::string(failure.what()).find("No such file or directory"), std::string::npos) << failure.what();
    }
}

TEST_F(FileRoutines, WriteFileReplacingReplacesALinkInsteadOfItsTarget)
{
    const QString target = path(QStringLiteral("victim"));
    writeAll(target, "keep");
    ASSERT_EQ(plantLink(target, path(QStringLiteral("temp.bmp"))), 0);
    common::WriteFileReplacing(QByteArray("picture"), path(QStringLiteral("temp.bmp")));
    EXPECT_EQ(readAll(target), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo(path(QStringLiteral("temp.bmp"))).isSymLink());
    EXPECT_EQ(readAll(path(QStringLiteral("temp.bmp"))), QByteArray("picture"));
    EXPECT_EQ(entries(folder.path()).size(), 2);
}

TEST_F(FileRoutines, DeleteFileForcedRemovesReadOnlyFilesAndIgnoresMissingOnes)
{
    const QString readOnly = path(QStringLiteral("vormel12345678.xls"));
    writeAll(readOnly, "x");
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    common::DeleteFileForced(readOnly);
    EXPECT_FALSE(QFile::exists(readOnly));
    common::DeleteFileForced(path(QStringLiteral("never-there")));
    common::DeleteFileForced(QString());
    EXPECT_TRUE(entries(folder.path()).isEmpty());
}

TEST_F(FileRoutines, DeleteFileViaScriptingRemovesReadOnlyFilesAndReportsMissingOnes)
{
    const QString readOnly = path(QStringLiteral("ro"));
    writeAll(readOnly, "x");
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0400), 0);
    common::DeleteFileViaScripting(readOnly);
    EXPECT_FALSE(QFile::exists(readOnly));
    EXPECT_THROW(common::DeleteFileViaScripting(readOnly), std::runtime_error);
}

TEST_F(FileRoutines, ForcedDeletionOfALinkLeavesItsTargetAndItsModeAlone)
{
    const QString target = path(QStringLiteral("victim"));
    writeAll(target, "keep");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0444), 0);
    const QString link = path(QStringLiteral("temp.bmp"));
    ASSERT_EQ(plantLink(target, link), 0);
    common::DeleteFileViaScripting(link);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0444u);
}

TEST(ClipboardPicture, IsReadAtOnceWhenThereIsOne)
{
    testing_support::MemoryClipboard clipboard;
    clipboard.picture = QImage(40, 30, QImage::Format_RGB32);
    clipboard.picture.fill(Qt::red);
    const platform::Picture picture = common::GetClipboardPicture(clipboard, 0);
    EXPECT_EQ(picture.size(), QSize(40, 30));
    EXPECT_EQ(clipboard.reads, 1);
    EXPECT_FALSE(common::GetClipboardPicture(clipboard, 8).isNull());
}

TEST(ClipboardPicture, AnyFormatTakesTheRecordedDrawingBeforeTheBitmap)
{
    testing_support::MemoryClipboard clipboard;
    QPicture part;
    QPainter painter(&part);
    painter.fillRect(QRect(0, 0, 300, 200), Qt::blue);
    painter.end();
    clipboard.setPicture(sheet::render::SheetDrawing{QSize(300, 200), {part}});
    const platform::Picture any = common::GetClipboardPicture(clipboard, 0);
    EXPECT_TRUE(any.hasDrawing());
    EXPECT_TRUE(any.bitmap().isNull());
    EXPECT_EQ(any.size(), QSize(300, 200));
    EXPECT_TRUE(common::GetClipboardPicture(clipboard, 14).hasDrawing());
    EXPECT_EQ(common::GetClipboardPicture(clipboard, 8).size(), QSize(300, 200)) << "a bitmap made from the drawing";
}

TEST(ClipboardPicture, GivesNoneAfterAThousandAttempts)
{
    testing_support::MemoryClipboard clipboard;
    EXPECT_TRUE(common::GetClipboardPicture(clipboard, 0).isNull());
    EXPECT_EQ(clipboard.reads, 1000);
}

TEST(ClipboardPicture, TextFormatsGiveNoPicture)
{
    testing_support::MemoryClipboard clipboard;
    clipboard.picture = QImage(4, 4, QImage::Format_RGB32);
    EXPECT_TRUE(common::GetClipboardPicture(clipboard, 1).isNull());
}

// A clipboard that is busy for a while, as another program holding it would be.
class BusyClipboard final : public platform::Clipboard {
public:
    int failuresLeft = 0;
    int reads = 0;
    QImage image() override
    {
        ++reads;
        if (failuresLeft-- > 0)
            throw std::runtime_error("clipboard busy");
        return QImage(2, 2, QImage::Format_RGB32);
    }
    void setImage(const QImage&) override {}
    sheet::render::SheetDrawing drawing() override { return {}; }
    void setPicture(const sheet::render::SheetDrawing&) override {}
    void offerPicture(const sheet::render::SheetDrawing&, double) override {}
    std::unique_ptr<QMimeData> snapshot() override { return nullptr; }
    void restore(std::unique_ptr<QMimeData>) override {}
};

TEST(ClipboardPicture, FailedReadsAreRetriedAndNeverEscape)
{
    BusyClipboard busy;
    busy.failuresLeft = 5;
    EXPECT_FALSE(common::GetClipboardPicture(busy, 0).isNull());
    EXPECT_EQ(busy.reads, 6);
    busy.failuresLeft = 5000;
    busy.reads = 0;
    EXPECT_TRUE(common::GetClipboardPicture(busy, 0).isNull());
    EXPECT_EQ(busy.reads, 1000);
}

class DecimalSeparator : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    static void use(QLocale::Language language, QLocale::Territory territory)
    {
        QLocale::setDefault(QLocale(language, territory));
    }
};

TEST_F(DecimalSeparator, CommaLocale)
{
    use(QLocale::German, QLocale::Germany);
    EXPECT_EQ(common::LocaleDecimalSeparator(), QStringLiteral(","));
    EXPECT_EQ(common::ConvertDecimalSeparator(QStringLiteral("16.0"), false), QStringLiteral("16,0"));
    EXPECT_EQ(common::ConvertDecimalSeparator(QStringLiteral("1,5"), true), QStringLiteral("1.5"));
    EXPECT_EQ(common::ConvertDecimalSeparator(QStringLiteral("1.234,5"), false), QStringLiteral("1,234,5"));
}

TEST_F(DecimalSeparator, PointLocale)
{
    use(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(common::LocaleDecimalSeparator(), QStringLiteral("."));
    EXPECT_EQ(common::ConvertDecimalSeparator(QStringLiteral("16.0"), false), QStringLiteral("16.0"));
    EXPECT_EQ(common::ConvertDecimalSeparator(QStringLiteral("1,234.5"), false), QStringLiteral("1.234.5"));
    EXPECT_EQ(common::ConvertDecimalSeparator(QStringLiteral("1,5"), true), QStringLiteral("1,5"));
}

}  // namespace

namespace {

TEST(FileExistsProbe, TrueExactlyWhenTheFileCanBeLookedAt)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("there.txt"));
    writeAll(file, "x");
    EXPECT_TRUE(common::FileExists(file));
    EXPECT_TRUE(common::FileExists(folder.path()));
    EXPECT_FALSE(common::FileExists(QString()));
    EXPECT_FALSE(common::FileExists(folder.filePath(QStringLiteral("missing.txt"))));
    EXPECT_FALSE(common::FileExists(folder.filePath(QStringLiteral("missing/there.txt"))));
    EXPECT_FALSE(common::FileExists(file + QStringLiteral("/below-a-file")));
}

}  // namespace
