#pragma once

#include "ChartDescription.h"
#include "PictureBox.h"
#include "WheelGestures.h"
#include "ZoomModel.h"

#include "common/AnchoredLayout.h"
#include "common/Main.h"
#include "common/WindowMemory.h"
#include "common/PointerState.h"
#include "platform/Platform.h"

#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace preview {

// The preview window: the sheet picture in a viewport with two scroll bars, zoom buttons, saving
// the result workbook and the way back to the main window.
class Form2 : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its load routine. showMainWindow brings the main window back;
    // endProgram ends the whole program.
    Form2(platform::Platform platform, std::function<void()> showMainWindow, std::function<void()> endProgram,
          QWidget* parent = nullptr, QString programFolder = common::ProgramFolder());

    // The scratch workbook that "Save Results To Excel File" copies, handed over by the chart build.
    const QString& scratchWorkbook() const { return scratchWorkbook_; }
    void setScratchWorkbook(const QString& path) { scratchWorkbook_ = path; }

    // Delivers a picture: it becomes the shown picture and the next activation sets it up.
    void setPicture(const platform::Picture& picture);
    // The entries the delivered chart shows, for the picture's description to a screen reader.
    void describeChart(const std::vector<ChartSlice>& slices);
    // Brings the window to the front of the desktop.
    void bringToFront();

    const ZoomModel& zoom() const { return zoom_; }
    common::PointerState& pointer() { return pointer_; }
    bool setupPending() const { return setupPending_; }

    void SetHScrollbarByPercent(std::int16_t percent);
    void SetVScrollbarByPercent(std::int16_t percent);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void nameControls();
    QPushButton* makeButton(QWidget* container, const char* name, const QString& caption, const QRect& twips);
    QScrollBar* makeScrollBar(Qt::Orientation orientation, const char* name, const QRect& twips);
    // Puts a control in the window's layout at its design place; the anchors say how it follows the
    // window's size.
    void place(QWidget* control, const QRect& twips, common::Anchors anchors);
    // Lays the controls out for the window's size; the viewport's new size goes to the arithmetic.
    void layOut();
    // The load: face colour, caption, icon and hand cursor; then the window waits for a picture.
    void prepare();
    // The set-up at the first activation after a delivery: the unscaled copy takes the picture and
    // the factor starts at 1.0. Later activations change nothing.
    void setUpDeliveredPicture();
    void zoomIn();
    void zoomOut();
    // "Fit": the largest zoom step that shows the whole picture.
    void zoomToFit();
    // Ctrl+wheel and Ctrl+Plus/Minus: a step that keeps the point at `anchor`, in pixels of the
    // viewport's inside, where it is.
    void zoomAround(std::int32_t direction, QPointF anchor);
    QPointF viewCentre() const;
    // The mouse on the picture, in the picture's own twips: a press, a move, a release.
    void grabPicture(int button, float x, float y);
    void dragPicture(int button, float x, float y);
    void dropPicture();
    // "Save Results To Excel File" and "< Back".
    void saveResults();
    void goBack();
    // The picture's context menu: the whole picture, whatever the zoom, onto the clipboard, into a
    // PNG, SVG or PDF file, or onto paper.
    void copyPicture();
    void exportPicture();
    void printPicture();
    void addPictureMenu();
    // The delivered picture at its natural size, as a recorded drawing.
    sheet::render::SheetDrawing naturalPicture() const;
    // Closing the window deletes the scratch workbook; then the program ends.
    void deleteWorkbookOnClose();
    void endProgram();
    // ApplyZoom's painting: the unscaled copy's picture into the picture at the zoomed size.
    void repaintZoomed();
    // Moves the picture and the bars to where the arithmetic has them, and shows the zoom level.
    void showPosition();
    // The keys a picture viewer answers: Ctrl+Plus and Ctrl+Minus zoom, the arrow and Page keys scroll.
    void addViewerKeys();
    // The mouse wheel over the picture: zooms through the zoom buttons' handlers, scrolls through the bars.
    void turnWheel(const QWheelEvent& event);
    void horizontalBarMoved(int value);
    void verticalBarMoved(int value);

    platform::Platform platform_;
    std::function<void()> showMainWindow_;
    std::function<void()> endProgram_;
    QString programFolder_;
    common::PointerState pointer_;
    // The controls keep their form names as object names ("Picture1", "PushButton6", ...), by which
    // the tests find them.
    PictureBox* unscaledCopy_;
    QGroupBox* zoomFrame_;
    QPushButton* zoomInButton_;
    QPushButton* zoomOutButton_;
    QFrame* viewport_;
    QWidget* viewportInside_;
    PictureBox* picture_;
    QScrollBar* verticalBar_;
    QScrollBar* horizontalBar_;
    QPushButton* saveButton_;
    QPushButton* backButton_;
    QString scratchWorkbook_;
    ZoomModel zoom_;
    bool setupPending_ = false;
    WheelGestures wheel_;
    common::AnchoredLayout layout_;
    common::AnchoredLayout zoomFrameLayout_;
    std::vector<std::pair<QWidget*, int>> placed_;
    std::vector<std::pair<QWidget*, int>> placedInZoomFrame_;
    common::WindowMemory* memory_ = nullptr;
};

}  // namespace preview
