#include "ReturnPress.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace common {

void ReturnPress::addTo(QAbstractButton& button) { button.installEventFilter(new ReturnPress(&button)); }

bool ReturnPress::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            button->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace common
