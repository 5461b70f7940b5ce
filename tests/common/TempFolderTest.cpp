#include "common/TempFolder.h"
#include "support/EnvironmentValue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testing_support::EnvironmentValue;

mode_t modeOf(const QString& path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

class TempFolder : public ::testing::Test {
protected:
    QTemporaryDir runtime;
    EnvironmentValue temp{"TEMP", std::nullopt};
    EnvironmentValue xdg{"XDG_RUNTIME_DIR", QFile::encodeName(runtime.path())};
    QString privateFolder() const { return runtime.path() + QStringLiteral("/tortelet-studio"); }
};

TEST_F(TempFolder, TempIsReadAfreshForEveryPath)
{
    temp.set(QByteArray("/srv/scratch"));
    EXPECT_EQ(common::TempPath(QStringLiteral("temp.bmp")), QStringLiteral("/srv/scratch/temp.bmp"));
    temp.set(QByteArray("/var/tmp/"));
    EXPECT_EQ(common::TempPath(QStringLiteral("Pie Chart.xlt")), QStringLiteral("/var/tmp/Pie Chart.xlt"));
    temp.set(QByteArray(""));
    EXPECT_EQ(common::TempFolder(), privateFolder());
}

TEST_F(TempFolder, WithoutTempThePrivateFolderIsCreatedForTheUserAlone)
{
    EXPECT_EQ(common::TempPath(QStringLiteral("temp.bmp")), privateFolder() + QStringLiteral("/temp.bmp"));
    EXPECT_EQ(modeOf(privateFolder()) & 07777, 0700u);
    EXPECT_EQ(common::TempFolder(), privateFolder());
}

TEST_F(TempFolder, TheFilesystemRootIsNeverTheFolder)
{
    temp.set(QByteArray("/"));
    EXPECT_EQ(common::TempFolder(), privateFolder());
}

TEST_F(TempFolder, WithoutARuntimeFolderTheSystemTemporaryFolderHoldsIt)
{
    QTemporaryDir system;
    EnvironmentValue tmpdir("TMPDIR", QFile::encodeName(system.path()));
    xdg.set(std::nullopt);
    const QString expected =
        QDir::cleanPath(system.path()) + QStringLiteral("/tortelet-studio-") + QString::number(::getuid());
    EXPECT_EQ(common::TempFolder(), expected);
    EXPECT_EQ(modeOf(expected) & 07777, 0700u);
}

TEST_F(TempFolder, AnOpenFolderOfOursIsMadePrivate)
{
    ASSERT_EQ(::mkdir(QFile::encodeName(privateFolder()).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(privateFolder()).constData(), 0777), 0);
    common::TempFolder();
    EXPECT_EQ(modeOf(privateFolder()) & 07777, 0700u);
}

TEST_F(TempFolder, PlantedLinksFilesAndOtherUsersFoldersAreRefused)
{
    QTemporaryDir elsewhere;
    const QByteArray link = QFile::encodeName(privateFolder());
    ASSERT_EQ(::symlink(QFile::encodeName(elsewhere.path()).constData(), link.constData()), 0);
    EXPECT_THROW(common::TempFolder(), std::runtime_error);
    ASSERT_EQ(::unlink(link.constData()), 0);

    QFile plain(privateFolder());
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_THROW(common::TempFolder(), std::runtime_error);
    ASSERT_TRUE(QFile::remove(privateFolder()));

    ASSERT_EQ(::mkdir(QFile::encodeName(privateFolder()).constData(), 0700), 0);
    if (::chown(QFile::encodeName(privateFolder()).constData(), ::getuid() + 1, static_cast<gid_t>(-1)) != 0)
        GTEST_SKIP() << "cannot give a folder to another user here";
    try {
        common::TempFolder();
        FAIL() << "another user's folder was accepted";
    } catch (const std::runtime_error& failure) {
        EXPECT_NE(std::string(failure.what()).find("another user owns it"), std::string::npos);
    }
}

}  // namespace
