#pragma once

#include <QCursor>
#include <optional>

class QWidget;

namespace common {

// A window's pointer setting: ordinary (0), busy (11, the hourglass) or custom (99, the hand).
class PointerState {
public:
    static constexpr int Ordinary = 0;
    static constexpr int Busy = 11;
    static constexpr int Custom = 99;

    explicit PointerState(QWidget& window);

    int value() const { return value_; }
    bool busy() const { return value_ == Busy; }
    void set(int value);
    // The hover rule: the pointer follows what is under it unless a build shows the hourglass.
    void hover(int value);

    // The custom image; without one the custom state shows the normal arrow.
    void setCustomCursor(const QCursor& cursor);
    bool hasCustomCursor() const { return custom_.has_value(); }

private:
    void apply();

    QWidget& window_;
    int value_ = Ordinary;
    std::optional<QCursor> custom_;
};

// Loads a Windows cursor file with its hot spot; throws when the file cannot be read as a cursor.
QCursor LoadCursorFile(const QString& path);

}  // namespace common
