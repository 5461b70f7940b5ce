#pragma once

#include "platform/Picture.h"

#include <QMenu>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QWidget>

#include <optional>

namespace preview {

// A picture box: shows an assigned picture at its top-left corner over a white background, or a
// painting that persists until the next painting or picture. A painting of a recorded drawing is
// played afresh at its size, so it is as sharp as the screen allows. Mouse positions go out in twips.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent);

    const platform::Picture& picture() const { return picture_; }
    // Assigning a picture replaces any painting.
    void setPicture(const platform::Picture& picture);
    void removePicture();

    // Paints the source rectangle (in the picture's own pixels) into a fresh painting of the given
    // size: a recorded drawing is played at that scale, a bitmap is scaled smoothly.
    void paintScaled(const platform::Picture& source, const QRectF& sourceRect, const QSize& size);

signals:
    void mouseDown(int button, float x, float y);
    void mouseMoved(int button, float x, float y);
    void mouseUp(int button, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The menu of the box's actions opens when the right button is released where it was pressed, so
    // that a drag with the right button pans the picture as any drag does; the Menu key and Shift+F10
    // open it too, in the middle of the part in view.
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Paints what the box shows in the given rectangle of its own.
    void paintShown(QPainter& painter, const QRect& area) const;

    void showMenu(const QPoint& globalPosition);
    QPoint middleInView() const;

    QMenu menu_;
    std::optional<QPointF> rightPress_; // where the right button went down, until the mouse moves away
    platform::Picture picture_;
    platform::Picture paintingSource_;
    QRectF paintingSourceRect_;
    QSize paintingSize_;
    // What the box shows around the part last exposed, so that scrolling and repeated exposures
    // do not play a long drawing again.
    QPixmap shown_;
    QRect shownArea_;
};

}  // namespace preview
