#include "WindowMemory.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <exception>

namespace common {

WindowMemory::WindowMemory(QWidget& window, platform::SettingsStore& settings, QString key, QSize design, QSize minimum)
    : QObject(&window), window_(window), settings_(settings), key_(std::move(key)), design_(design), minimum_(minimum)
{
    window_.installEventFilter(this);
}

QSize WindowMemory::frame() const
{
    if (shown_)
        return window_.frameGeometry().size() - window_.size();
    // Desktops draw title bars of about 24 to 46 pixels; the larger guess keeps the window whole on
    // a small screen.
    const QStyle* style = window_.style();
    const int border = std::max(4, style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window_));
    const int title = std::max(46, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window_));
    return QSize(2 * border, title + 2 * border);
}

void WindowMemory::restore()
{
    std::optional<Placement> remembered;
    try {
        // A store whose last read failed is not read again: each such read keeps another copy of the
        // damaged file.
        settings_.checkLastRead();
        if (const std::optional<QString> text = settings_.read(key_))
            remembered = WindowPlacement::parse(*text);
    } catch (const std::exception&) {
        // An unreadable place opens the window where a new one opens.
    }
    std::vector<QRect> screens;
    const QScreen* first = window_.screen() != nullptr ? window_.screen() : QGuiApplication::primaryScreen();
    if (first != nullptr)
        screens.push_back(first->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != first)
            screens.push_back(screen->availableGeometry());
    const Placement placement = WindowPlacement::choose(remembered, design_, minimum_, screens, frame());
    window_.setMinimumSize(minimum_.boundedTo(placement.rect.size()));
    window_.resize(placement.rect.size());
    window_.move(placement.rect.topLeft());
    if (placement.maximized)
        window_.setWindowState(window_.windowState() | Qt::WindowMaximized);
    stored_ = remembered ? WindowPlacement::format(*remembered) : QString();
}

void WindowMemory::store()
{
    if (!shown_)
        return;
    const bool maximized = window_.isMaximized();
    const QRect normal = maximized ? window_.normalGeometry() : window_.geometry();
    const QPoint corner = maximized ? normal.topLeft() - (window_.geometry().topLeft() - window_.pos()) : window_.pos();
    const QString text = WindowPlacement::format(Placement{QRect(corner, normal.size()), maximized});
    if (text == stored_)
        return;
    try {
        settings_.write(key_, text);
        stored_ = text;
    } catch (const std::exception&) {
        // The window opens where a new one opens next time.
    }
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_) {
        if (event->type() == QEvent::Show)
            shown_ = true;
        else if (event->type() == QEvent::Hide)
            store();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace common
