// Runs the tortelet-studio program as the system runs it: its answers on a full disk, and its ending
// by a signal when nothing can be stored.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const QString kProgram = QStringLiteral(TORTELET_STUDIO_PROGRAM);

TEST(StudioProcess, HelpAndVersionThatCannotBeWrittenAreFailures)
{
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("--version")}) {
        QProcess process;
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(kProgram, {option});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 1) << option.toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(process.readAllStandardError()),
                  QStringLiteral("tortelet-studio: cannot write standard output: No space left on device\n"));
    }
}

// Whether the process has its own handler for the signal yet, as /proc shows it.
bool catches(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// A logout ends the program although the list cannot be stored: the failure goes to standard error,
// no box waits for a click, and the program ends.
TEST(StudioProcess, AnEndingBySignalWaitsForNobody)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("TEMP"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess process;
    process.setProcessEnvironment(environment);
    // A store that takes no byte, whoever runs the test: a read-only folder would not stop root.
    process.setChildProcessModifier([] {
        const rlimit nothing{0, 0};
        ::setrlimit(RLIMIT_FSIZE, &nothing);
        ::signal(SIGXFSZ, SIG_IGN);
    });
    process.start(kProgram, {});
    ASSERT_TRUE(process.waitForStarted(30000));
    for (int wait = 0; wait < 600 && !catches(process.processId(), SIGTERM); ++wait)
        process.waitForFinished(100);
    ASSERT_TRUE(catches(process.processId(), SIGTERM)) << "the program never listened for SIGTERM";

    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    const bool ended = process.waitForFinished(10000);
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    ASSERT_TRUE(ended) << "the program still waits after SIGTERM";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(QString::fromLocal8Bit(process.readAllStandardError())
                    .contains(QStringLiteral("in Torvane2021/08/31.Form1.Form_QueryUnload at line 100")));
}

// A second start for the same user and settings brings the running copy forward and ends at once,
// opening no window of its own; the running copy goes on.
TEST(StudioProcess, ASecondStartHandsOverToTheRunningCopy)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("TEMP"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(kProgram, {});
    ASSERT_TRUE(first.waitForStarted(30000));
    const auto listening = [&home] {
        return !QDir(home.path()).entryList({QStringLiteral("tortelet-studio-*.socket")}, QDir::System).isEmpty();
    };
    for (int wait = 0; wait < 600 && !listening(); ++wait)
        first.waitForFinished(100);
    ASSERT_TRUE(listening()) << "the first copy never listened";

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(kProgram, {});
    ASSERT_TRUE(second.waitForFinished(30000)) << "the second start opened a window of its own";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_FALSE(listening()) << "the ended copy removed its socket";
}

}  // namespace
