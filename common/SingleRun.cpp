#include "SingleRun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

#include <unistd.h>

namespace common {

namespace {
constexpr int kWaitMs = 2000;
}  // namespace

QString SingleRun::socketName(const QString& settingsFile)
{
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(QFileInfo(settingsFile).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/tortelet-studio-") + digest + QStringLiteral(".socket");
    return QDir::tempPath() + QStringLiteral("/tortelet-studio-%1-").arg(::getuid()) + digest + QStringLiteral(".socket");
}

SingleRun::SingleRun(const QString& settingsFile)
{
    const QString name = socketName(settingsFile);
    if (askRunningCopy(name)) {
        handedOver_ = true;
        return;
    }
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name)) {
        // Another copy may have started just now; otherwise the socket is a crashed copy's.
        if (askRunningCopy(name)) {
            handedOver_ = true;
            return;
        }
        QLocalServer::removeServer(name);
        server_.listen(name);
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = server_.nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            caller->disconnectFromServer();
            emit asked();
        }
    });
}

SingleRun::~SingleRun() { server_.close(); }

bool SingleRun::askRunningCopy(const QString& name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write("raise\n");
    socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    return true;
}

}  // namespace common
