#include "PictureBox.h"

#include "common/Twips.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace preview {

namespace {
float twipsOf(qreal pixels) { return static_cast<float>(pixels * common::kTwipsPerPixel); }
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent), menu_(this)
{
    menu_.setTitle(QStringLiteral("Picture"));
    menu_.setAccessibleName(QStringLiteral("Picture menu"));
    menu_.setAccessibleDescription(QStringLiteral("Copies, exports or prints the picture, or fits it to the view"));
}

void PictureBox::setPicture(const platform::Picture& picture)
{
    picture_ = picture;
    paintingSource_ = {};
    shownArea_ = {};
    update();
}

void PictureBox::removePicture()
{
    picture_ = {};
    shownArea_ = {};
    update();
}

void PictureBox::paintScaled(const platform::Picture& source, const QRectF& sourceRect, const QSize& size)
{
    paintingSource_ = size.isEmpty() ? platform::Picture() : source;
    paintingSourceRect_ = sourceRect;
    paintingSize_ = size;
    shownArea_ = {};
    update();
}

void PictureBox::paintShown(QPainter& painter, const QRect& area) const
{
    painter.setClipRect(area);
    painter.fillRect(area, Qt::white);
    if (!paintingSource_.isNull())
        paintingSource_.paint(painter, QRectF(QPointF(0, 0), paintingSize_), paintingSourceRect_);
    else if (!picture_.isNull())
        picture_.paint(painter, QRectF(QPointF(0, 0), picture_.size()), QRectF(QPointF(0, 0), picture_.size()));
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    const QRect exposed = event->rect();
    const qreal ratio = devicePixelRatioF();
    if (!shownArea_.contains(exposed) || !qFuzzyCompare(shown_.devicePixelRatio(), ratio)) {
        // The exposed part and a quarter of it more on every side, at the screen's pixel ratio.
        const int marginX = exposed.width() / 4;
        const int marginY = exposed.height() / 4;
        shownArea_ = exposed.adjusted(-marginX, -marginY, marginX, marginY) & rect();
        shown_ = QPixmap(shownArea_.size() * ratio);
        shown_.setDevicePixelRatio(ratio);
        QPainter onShown(&shown_);
        onShown.translate(-shownArea_.topLeft());
        paintShown(onShown, shownArea_);
    }
    QPainter painter(this);
    painter.drawPixmap(exposed, shown_, QRectF(QPointF(exposed.topLeft() - shownArea_.topLeft()) * ratio, QSizeF(exposed.size()) * ratio));
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        rightPress_ = event->position();
    emit mouseDown(static_cast<int>(event->buttons()), twipsOf(event->position().x()), twipsOf(event->position().y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    if (rightPress_ && (event->position() - *rightPress_).manhattanLength() >= QApplication::startDragDistance())
        rightPress_.reset();
    emit mouseMoved(static_cast<int>(event->buttons()), twipsOf(event->position().x()), twipsOf(event->position().y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseUp(static_cast<int>(event->button()), twipsOf(event->position().x()), twipsOf(event->position().y()));
    if (event->button() == Qt::RightButton && rightPress_) {
        rightPress_.reset();
        showMenu(event->globalPosition().toPoint());
    }
}

void PictureBox::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard)
        showMenu(middleInView());
    else if (event->reason() != QContextMenuEvent::Mouse)
        showMenu(event->globalPos());
}

void PictureBox::keyPressEvent(QKeyEvent* event)
{
    // On X11 the Menu key comes as a context-menu event of its own as well.
    const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier &&
                         QGuiApplication::platformName() != QLatin1String("xcb");
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (!menuKey && !shiftF10) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    showMenu(middleInView());
}

QPoint PictureBox::middleInView() const
{
    const QRect inView = visibleRegion().boundingRect();
    return mapToGlobal((inView.isEmpty() ? rect() : inView).center());
}

void PictureBox::showMenu(const QPoint& globalPosition)
{
    if (actions().isEmpty())
        return;
    menu_.clear();
    menu_.addActions(actions());
    menu_.exec(globalPosition);
}

}  // namespace preview
