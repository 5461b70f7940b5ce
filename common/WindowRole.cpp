#include "WindowRole.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace common {

namespace {
// A top-level window made directly from QWidget: Qt's own windows (dialogs, menus, main windows)
// come with their roles.
QAccessibleInterface* windowInterface(const QString&, QObject* object)
{
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (!widget->isWindow() || widget->metaObject()->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}
}  // namespace

void AnnounceWindowsAsWindows()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(windowInterface);
}

}  // namespace common
