#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <csignal>
#include <gtest/gtest.h>

namespace {

// A real run, ended by a signal as a logout or a shutdown ends it.
class EndingSignal : public ::testing::TestWithParam<int> {};

TEST_P(EndingSignal, StoresTheEditRemovesTheScratchWorkbookAndEnds)
{
    QTemporaryDir home;
    QTemporaryDir temp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("TEMP"), temp.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/app_ending_child"), {});
    while (!child.canReadLine() && child.waitForReadyRead(60000)) {
    }
    const QString ready = QString::fromUtf8(child.readLine()).trimmed();
    ASSERT_TRUE(ready.startsWith(QStringLiteral("ready /"))) << ready.toStdString();
    const QString scratch = ready.section(QLatin1Char(' '), 1);
    EXPECT_TRUE(QFile::exists(scratch));

    ASSERT_EQ(::kill(static_cast<pid_t>(child.processId()), GetParam()), 0);
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);

    const QSettings stored(home.filePath(QStringLiteral("config/Vantrel/Tortelet Studio.conf")), QSettings::IniFormat);
    EXPECT_TRUE(stored.value(QStringLiteral("Assets")).toString().endsWith(QStringLiteral("Edited||SEP1||42||SEP2||")))
        << stored.value(QStringLiteral("Assets")).toString().toStdString();
    const QStringList left = QDir(temp.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
    EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1Char(' ')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(TermHangUpAndInterrupt, EndingSignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

}  // namespace
