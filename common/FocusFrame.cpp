#include "FocusFrame.h"

#include <QEvent>
#include <QPainter>

namespace common {

FocusFrame::FocusFrame(QWidget& framed, QWidget& focusOwner) : QWidget(&framed), framed_(framed), focusOwner_(focusOwner)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Focus frame"));
    setAccessibleDescription(QStringLiteral("Shows that the framed control has the keyboard focus"));
    setGeometry(framed_.rect());
    hide();
    framed_.installEventFilter(this);
    focusOwner_.installEventFilter(this);
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &framed_ && event->type() == QEvent::Resize)
        setGeometry(framed_.rect());
    if (watched == &focusOwner_ && event->type() == QEvent::FocusIn) {
        raise();
        show();
    }
    if (watched == &focusOwner_ && event->type() == QEvent::FocusOut)
        hide();
    return QWidget::eventFilter(watched, event);
}

void FocusFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight));
    pen.setWidth(2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

}  // namespace common
