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
        for (const QString& kept : keptFiles())
            QFile::remove(kept);
    }
    static QStringList keptFiles()
    {
        const QFileInfo file(fileName());
        QStringList kept;
        for (const QString& name : file.dir().entryList({file.completeBaseName() + QStringLiteral(" (unreadable *")}))
            kept << file.dir().filePath(name);
        return kept;
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

// A damaged section header hides the list from QSettings; its own line still gives it back. Either
// way the damaged file is kept, once, under a name the report gives, before anything writes over it.
TEST_F(SettingsStore, ADamagedFileGivesBackTheListFromItsOwnLineAndIsKept)
{
    const QByteArray damaged = "[Gen\neral]\nAssets=\"a||SEP1||1, 5||SEP2||\"\n";
    for (const QByteArray& bytes : {damaged, QByteArray("[General]\n[broken\nAsets=x\n")}) {
        putFile(fileName(), bytes);
        const std::optional<QString> read = store.read(QStringLiteral("Assets"));
        EXPECT_EQ(read, bytes == damaged ? std::optional(QStringLiteral("a||SEP1||1, 5||SEP2||")) : std::nullopt);
        const QStringList kept = keptFiles();
        ASSERT_EQ(kept.size(), 1);
        QFile copy(kept.front());
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), bytes);
        try {
            store.checkLastRead();
            ADD_FAILURE() << "the damage was not reported";
        } catch (const std::runtime_error& report) {
            EXPECT_TRUE(QString::fromUtf8(report.what()).contains(kept.front())) << report.what();
        }
        store.write(QStringLiteral("Assets"), QStringLiteral("b||SEP1||2||SEP2||"));
        store.write(QStringLiteral("Amount Locale"), QStringLiteral("de_DE"));
        EXPECT_EQ(platform::QtSettingsStore().read(QStringLiteral("Assets")), QStringLiteral("b||SEP1||2||SEP2||"));
        // The live file holds what was written and nothing of the damage, which lives on in the copy only.
        QFile live(fileName());
        ASSERT_TRUE(live.open(QIODevice::ReadOnly));
        EXPECT_EQ(live.readAll().toStdString(), "[General]\nAmount%20Locale=de_DE\nAssets=b||SEP1||2||SEP2||\n");
        EXPECT_EQ(keptFiles(), kept);
        QFile::remove(kept.front());
    }
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
