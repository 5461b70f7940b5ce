#include "platform/QtPlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

// The real store, kept in the test-mode configuration folder so no user's settings are touched.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(fileName()); }
    void TearDown() override
    {
        QDir(fileName()).removeRecursively();
        QFile::remove(fileName());
    }
    static QString fileName()
    {
        return QSettings(QStringLiteral("Vantrel"), QStringLiteral("Tortelet Studio")).fileName();
    }
    platform::QtSettingsStore store;
};

TEST_F(SettingsStore, AnyTextComesBackExactlyAndAnUnwrittenKeyIsMissing)
{
    EXPECT_EQ(store.read(QStringLiteral("Assets")), std::nullopt);
    QString text = QStringLiteral("a||SEP1||1||SEP2||\r\n\t\"quoted\" = [x] ; # \\ Ünïcødé 😀 ");
    text += QString(1 << 20, QLatin1Char('z'));
    store.write(QStringLiteral("Assets"), text);
    EXPECT_EQ(platform::QtSettingsStore().read(QStringLiteral("Assets")), text);
    store.write(QStringLiteral("Assets"), QString());
    EXPECT_EQ(store.read(QStringLiteral("Assets")), QString());
}

TEST_F(SettingsStore, AWriteThatCannotBeStoredIsAFailure)
{
    ASSERT_TRUE(QDir().mkpath(fileName() + QStringLiteral("/in-the-way")));
    EXPECT_THROW(store.write(QStringLiteral("Assets"), QStringLiteral("x")), std::runtime_error);
}

TEST(SaveDialogFilter, BarFormBecomesQtForm)
{
    EXPECT_EQ(platform::qtFilter(QStringLiteral("Excel Files (*.xls)|*.xls|")), QStringLiteral("Excel Files (*.xls)"));
    EXPECT_EQ(platform::qtFilter(QStringLiteral("A (*.a)|*.a|B (*.b)|*.b")), QStringLiteral("A (*.a);;B (*.b)"));
}

}  // namespace
