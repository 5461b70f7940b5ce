#include "PictureBox.h"

#include "app/Twips.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace preview {

namespace {
float twipsOf(qreal pixels) { return static_cast<float>(pixels * app::kTwipsPerPixel); }
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const platform::Picture& picture)
{
    picture_ = picture;
    paintingSource_ = {};
    update();
}

void PictureBox::removePicture()
{
    picture_ = {};
    update();
}

void PictureBox::paintScaled(const platform::Picture& source, const QRectF& sourceRect, const QSize& size)
{
    paintingSource_ = size.isEmpty() ? platform::Picture() : source;
    paintingSourceRect_ = sourceRect;
    paintingSize_ = size;
    update();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.fillRect(event->rect(), Qt::white);
    if (!paintingSource_.isNull())
        paintingSource_.paint(painter, QRectF(QPointF(0, 0), paintingSize_), paintingSourceRect_);
    else if (!picture_.isNull())
        picture_.paint(painter, QRectF(QPointF(0, 0), picture_.size()), QRectF(QPointF(0, 0), picture_.size()));
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(static_cast<int>(event->buttons()), twipsOf(event->position().x()), twipsOf(event->position().y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(static_cast<int>(event->buttons()), twipsOf(event->position().x()), twipsOf(event->position().y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseUp(static_cast<int>(event->button()), twipsOf(event->position().x()), twipsOf(event->position().y()));
}

}  // namespace preview
