#include "PictureBox.h"

#include "common/Twips.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace preview {

namespace {
float twipsOf(qreal pixels) { return static_cast<float>(pixels * common::kTwipsPerPixel); }
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

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
    if (event->reason() != QContextMenuEvent::Mouse)
        showMenu(event->globalPos());
}

void PictureBox::showMenu(const QPoint& globalPosition)
{
    if (!actions().isEmpty())
        QMenu::exec(actions(), globalPosition, nullptr, this);
}

}  // namespace preview
