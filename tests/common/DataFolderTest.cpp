#include "common/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DataFolder : public ::testing::Test {
protected:
    QTemporaryDir top;
    QString program = top.path() + QStringLiteral("/bin");
    QString installed = top.path() + QStringLiteral("/share/tortelet-studio");

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(program));
        ASSERT_TRUE(QDir().mkpath(installed + QStringLiteral("/x")));
    }

    static void put(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("data");
    }

    QString chosen() const { return common::DataFolder({program, installed}); }
};

TEST_F(DataFolder, TheProgramFolderComesFirstThenTheInstalledFolder)
{
    put(installed + QStringLiteral("/HAND-M.CUR"));
    EXPECT_EQ(chosen(), installed);
    put(program + QStringLiteral("/HAND-M.CUR"));
    EXPECT_EQ(chosen(), program);
}

TEST_F(DataFolder, ASkinAloneMakesAFolderTheDataFolder)
{
    put(installed + QStringLiteral("/x/o.cjs"));
    EXPECT_EQ(chosen(), installed);
    ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("/x")));
    put(program + QStringLiteral("/x/o.cjs"));
    EXPECT_EQ(chosen(), program);
}

TEST_F(DataFolder, WithoutDataFilesAnywhereItIsTheProgramFolder)
{
    put(installed + QStringLiteral("/readme"));
    EXPECT_EQ(chosen(), program);
    EXPECT_EQ(common::DataFolder({top.path() + QStringLiteral("/missing"), installed}),
              top.path() + QStringLiteral("/missing"));
}

}  // namespace
