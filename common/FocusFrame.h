#pragma once

#include <QWidget>

namespace common {

// A frame in the highlight colour drawn over the edge of a control while the control, or the one it
// holds, has the keyboard focus, so that the person sees where the keys go.
class FocusFrame : public QWidget {
    Q_OBJECT

public:
    // Frames `framed` while `focusOwner` (itself or a control inside it) has the focus.
    FocusFrame(QWidget& framed, QWidget& focusOwner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget& framed_;
    QWidget& focusOwner_;
};

}  // namespace common
