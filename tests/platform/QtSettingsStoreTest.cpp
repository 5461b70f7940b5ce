#include "platform/QtPlatform.h"
#include "platform/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
    // Found without QSettings, which would open whatever is there, a FIFO included.
    static QString fileName() { return platform::userSettingsFiles().first(); }
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

void putFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST_F(SettingsStore, AHandEditedValueWithACommaComesBackAsItsText)
{
    EXPECT_EQ(QSettings(QStringLiteral("Vantrel"), QStringLiteral("Tortelet Studio")).fileName(), fileName());
    putFile(fileName(), "[General]\nAssets=Car, House\n");
    EXPECT_EQ(store.read(QStringLiteral("Assets")), QStringLiteral("Car, House"));
    EXPECT_NO_THROW(store.checkLastRead());
}

TEST_F(SettingsStore, AFormatErrorIsReportedButTheValueAndTheWriteGoThrough)
{
    putFile(fileName(), "[General]\nAssets=a||SEP1||1||SEP2||\n\"garbage\n");
    EXPECT_EQ(store.read(QStringLiteral("Assets")), QStringLiteral("a||SEP1||1||SEP2||"));
    EXPECT_THROW(store.checkLastRead(), std::runtime_error);
    EXPECT_NO_THROW(store.write(QStringLiteral("Assets"), QStringLiteral("b||SEP1||2||SEP2||")));
    EXPECT_EQ(platform::QtSettingsStore().read(QStringLiteral("Assets")), QStringLiteral("b||SEP1||2||SEP2||"));
}

TEST_F(SettingsStore, AFifoInPlaceOfTheFileIsRefusedWithoutWaiting)
{
    QDir().mkpath(QFileInfo(fileName()).path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(fileName()).constData(), 0600), 0);
    EXPECT_EQ(store.read(QStringLiteral("Assets")), std::nullopt);
    EXPECT_THROW(store.checkLastRead(), std::runtime_error);
    EXPECT_THROW(store.write(QStringLiteral("Assets"), QStringLiteral("x")), std::runtime_error);
    EXPECT_FALSE(QFileInfo(fileName()).isFile());
}

TEST(SaveDialogFilter, BarFormBecomesQtForm)
{
    EXPECT_EQ(platform::qtFilter(QStringLiteral("Excel Files (*.xls)|*.xls|")), QStringLiteral("Excel Files (*.xls)"));
    EXPECT_EQ(platform::qtFilter(QStringLiteral("A (*.a)|*.a|B (*.b)|*.b")), QStringLiteral("A (*.a);;B (*.b)"));
}

}  // namespace
