#pragma once

#include "WindowPlacement.h"

#include "platform/SettingsStore.h"

#include <QObject>
#include <QSize>
#include <QString>

class QWidget;

namespace common {

// Remembers a window's size and place in the settings store under its own key, and puts them back
// when the window is made: on a screen that still exists, and never larger than the screen. A window
// that was never shown leaves the store alone. Its place is a convenience: a store that cannot be
// read or written is passed over in silence.
class WindowMemory : public QObject {
    Q_OBJECT

public:
    // Sizes in logical pixels: the window's design size and the least it may be made.
    WindowMemory(QWidget& window, platform::SettingsStore& settings, QString key, QSize design, QSize minimum);

    // Gives the window its size, place and state; call before it is first shown.
    void restore();
    // Stores where the window is, when it has been shown and it moved since the last store.
    void store();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the window's frame adds to its inside: measured once it has been shown, guessed before.
    QSize frame() const;

    QWidget& window_;
    platform::SettingsStore& settings_;
    QString key_;
    QSize design_;
    QSize minimum_;
    bool shown_ = false;
    QString stored_;
};

}  // namespace common
