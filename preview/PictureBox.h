#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace preview {

// A picture box: shows an assigned picture at its top-left corner over a white background, or a
// painting that persists until the next painting or picture. Mouse positions go out in twips.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent);

    const QImage& picture() const { return picture_; }
    // Assigning a picture replaces any painting.
    void setPicture(const QImage& picture);
    void removePicture();

    // Paints the source rectangle of the picture, smoothly scaled, into a fresh painting of the
    // given size.
    void paintScaled(const QImage& source, const QRect& sourceRect, const QSize& size);
    const QPixmap& painting() const { return painting_; }

signals:
    void mouseDown(int button, float x, float y);
    void mouseMoved(int button, float x, float y);
    void mouseUp(int button, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    QPixmap painting_;
};

}  // namespace preview
