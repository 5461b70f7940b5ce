// One running copy per settings file: a later start asks the running copy forward and ends.

#include "common/SingleRun.h"
#include "support/EnvironmentValue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

void waitFor(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// What a crashed copy leaves: a socket file that nobody listens on.
void leaveStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    ASSERT_LT(static_cast<std::size_t>(name.size()), sizeof(address.sun_path));
    std::copy(name.begin(), name.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
}

TEST(SingleRun, ALaterStartAsksTheRunningCopyForwardAndEndsOnlyForTheSameSettings)
{
    QTemporaryDir runtime;
    const testing_support::EnvironmentValue xdg("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString settings = runtime.filePath(QStringLiteral("config/Vantrel/Tortelet Studio.conf"));
    const QString otherSettings = runtime.filePath(QStringLiteral("other/Vantrel/Tortelet Studio.conf"));
    EXPECT_NE(common::SingleRun::socketName(settings), common::SingleRun::socketName(otherSettings));
    EXPECT_TRUE(common::SingleRun::socketName(settings).startsWith(runtime.path() + QLatin1Char('/')));

    // A crash left the socket behind: the next start runs all the same.
    leaveStaleSocket(common::SingleRun::socketName(settings));
    ASSERT_TRUE(QFileInfo::exists(common::SingleRun::socketName(settings)));
    common::SingleRun first(settings);
    EXPECT_FALSE(first.handedOver());
    int asked = 0;
    QObject::connect(&first, &common::SingleRun::asked, [&asked] { ++asked; });

    const common::SingleRun second(settings);
    EXPECT_TRUE(second.handedOver());
    waitFor([&] { return asked == 1; });
    EXPECT_EQ(asked, 1);

    // A copy with settings of its own, as each test run has, runs beside it.
    const common::SingleRun isolated(otherSettings);
    EXPECT_FALSE(isolated.handedOver());
    QCoreApplication::processEvents();
    EXPECT_EQ(asked, 1);
}

}  // namespace
