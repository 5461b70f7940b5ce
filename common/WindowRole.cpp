#include "WindowRole.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace common {

namespace {
const char* const kAnnounced = "torteletAnnouncedAsWindow";

QAccessibleInterface* windowInterface(const QString&, QObject* object)
{
    if (object == nullptr || !object->isWidgetType() || !object->property(kAnnounced).toBool())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}
}  // namespace

void AnnounceAsWindow(QWidget& window)
{
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    static_cast<void>(installed);
    window.setProperty(kAnnounced, true);
}

}  // namespace common
