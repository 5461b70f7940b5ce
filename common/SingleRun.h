#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace common {

// Keeps one running copy of the program per settings file, so that no copy stores its list over
// another's. The first copy listens on a local socket of the user, named from the settings file; a
// later start finds it there, asks it to come to the front and ends. A socket that a crashed copy
// left behind is taken over.
class SingleRun : public QObject {
    Q_OBJECT

public:
    explicit SingleRun(const QString& settingsFile);
    ~SingleRun() override;

    // True when another copy runs: it was asked to come to the front, and this start ends.
    bool handedOver() const { return handedOver_; }
    // The socket's path for a settings file: in $XDG_RUNTIME_DIR, or with the user's number in the
    // system's temporary folder.
    static QString socketName(const QString& settingsFile);

signals:
    // Another start asked this copy to come to the front.
    void asked();

private:
    bool askRunningCopy(const QString& name);

    QLocalServer server_;
    bool handedOver_ = false;
};

}  // namespace common
