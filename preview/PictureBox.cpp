#include "PictureBox.h"

#include "app/Twips.h"

#include <QMouseEvent>
#include <QPainter>

namespace preview {

namespace {
float twipsOf(qreal pixels) { return static_cast<float>(pixels * app::kTwipsPerPixel); }
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const QImage& picture)
{
    picture_ = picture;
    painting_ = QPixmap();
    update();
}

void PictureBox::removePicture()
{
    picture_ = QImage();
    update();
}

void PictureBox::paintScaled(const QImage& source, const QRect& sourceRect, const QSize& size)
{
    painting_ = QPixmap();
    if (!size.isEmpty()) {
        painting_ = QPixmap(size);
        painting_.fill(Qt::white);
        QPainter painter(&painting_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), size), source, sourceRect);
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!painting_.isNull())
        painter.drawPixmap(0, 0, painting_);
    else if (!picture_.isNull())
        painter.drawImage(0, 0, picture_);
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
