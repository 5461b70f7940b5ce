#include "common/LiveRun.h"
#include "sheet/io/FileBytes.h"
#include "support/EnvironmentValue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testing_support::EnvironmentValue;

class StaleScratchFiles : public ::testing::Test {
protected:
    QTemporaryDir runtime;
    EnvironmentValue xdg{"XDG_RUNTIME_DIR", QFile::encodeName(runtime.path())};
    QString folder = runtime.path() + QStringLiteral("/tortelet-studio");

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(folder)); }

    // A file in the private folder, last written the given number of seconds ago.
    QByteArray put(const QString& name, int secondsAgo)
    {
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        EXPECT_GE(fd, 0);
        timespec times[2]{};
        ::clock_gettime(CLOCK_REALTIME, &times[0]);
        times[0].tv_sec -= secondsAgo;
        times[1] = times[0];
        ::futimens(fd, times);
        ::close(fd);
        return path;
    }
    // The temporary file of a save that a crash or a power cut stopped half-way, under the name that
    // the writer really gives it, last written the given number of seconds ago.
    QString leftByAnInterruptedSave(int secondsAgo)
    {
        const QStringList before = left();
        const pid_t child = ::fork();
        if (child == 0) {
            sheet::io::writeFileAtomically(QFile::encodeName(folder + QStringLiteral("/vormel33333333.xls")).toStdString(),
                                           [](const sheet::io::ByteSink& sink) {
                                               const std::uint8_t half[512] = {};
                                               sink(half);
                                               ::_exit(0);
                                           });
            ::_exit(1);
        }
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        QStringList added = left();
        for (const QString& name : before)
            added.removeAll(name);
        EXPECT_EQ(added.size(), 1) << added.join(QLatin1Char(' ')).toStdString();
        const QString name = added.value(0);
        put(name, secondsAgo);
        return name;
    }
    QStringList left() const { return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name); }
};

TEST_F(StaleScratchFiles, OnlyWhatNoLiveRunCanOwnIsRemoved)
{
    // A run that started 60 seconds ago still lives; one that is gone left its mark behind.
    const int liveMark = ::open(put(QStringLiteral("studio-run-1"), 60).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(liveMark, LOCK_SH), 0);
    put(QStringLiteral("studio-run-2"), 600);
    put(QStringLiteral("vormel11111111.xls"), 300);
    put(QStringLiteral("Pie Chart.xlt"), 300);
    const QString interrupted = leftByAnInterruptedSave(300);
    put(QStringLiteral("vormel22222222.xls"), 30);
    put(QStringLiteral("notes.xls"), 300);
    ASSERT_EQ(::symlink("/nonexistent", QFile::encodeName(folder + QStringLiteral("/temp.bmp")).constData()), 0);

    {
        const common::LiveRun run;
        EXPECT_TRUE(left().contains(QStringLiteral("studio-run-%1").arg(::getpid())));
        EXPECT_EQ(left().filter(QStringLiteral("studio-run-")).size(), 2);
        EXPECT_TRUE(left().contains(QStringLiteral("studio-run-1")));
        EXPECT_FALSE(left().contains(QStringLiteral("vormel11111111.xls")));
        EXPECT_FALSE(left().contains(QStringLiteral("Pie Chart.xlt")));
        EXPECT_FALSE(left().contains(interrupted)) << interrupted.toStdString();
        EXPECT_TRUE(left().contains(QStringLiteral("vormel22222222.xls")));
        EXPECT_TRUE(left().contains(QStringLiteral("notes.xls")));
        EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/temp.bmp")).isSymLink());
    }
    EXPECT_FALSE(left().contains(QStringLiteral("studio-run-%1").arg(::getpid())));
    ::close(liveMark);
}

}  // namespace
