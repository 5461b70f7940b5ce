#pragma once

#include <QObject>

class QAbstractButton;

namespace common {

// Lets Return and Enter press a button that has the focus, as Space does: a window that is no
// dialog has no default button to take them.
class ReturnPress : public QObject {
    Q_OBJECT

public:
    // Watches the button; the watcher belongs to it.
    static void addTo(QAbstractButton& button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ReturnPress(QObject* parent) : QObject(parent) {}
};

}  // namespace common
