#pragma once

#include "PictureBox.h"
#include "WheelGestures.h"
#include "ZoomModel.h"

#include "common/Main.h"
#include "common/PointerState.h"
#include "platform/Platform.h"

#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <functional>

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

    // The scratch workbook that "Save Results To Excel File" copies.
    QString mExcelFile;

    // Delivers a picture: it becomes Picture1's picture and the next activation sets it up.
    void setPicture(const platform::Picture& picture);

    PictureBox* Zoom_Ori;
    QGroupBox* Frame1;
    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QFrame* Picture2;
    PictureBox* Picture1;
    QScrollBar* VScroll1;
    QScrollBar* HScroll1;
    QPushButton* PushButton6;
    QPushButton* PushButton8;

    const ZoomModel& zoom() const { return zoom_; }
    common::PointerState& pointer() { return pointer_; }
    bool setupPending() const { return mSetupPending; }

    void Form_Load();
    void Form_Activate();
    void PushButton1_Click();
    void PushButton2_Click();
    void picture1_MouseDown(int button, float x, float y);
    void picture1_MouseMove(int button, float x, float y);
    void Picture1_MouseUp();
    void PushButton6_Click();
    void PushButton8_Click();
    void Form_QueryUnload();
    void Form_Unload();

    void SetHScrollbarByPercent(std::int16_t percent);
    void SetVScrollbarByPercent(std::int16_t percent);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* makeButton(QWidget* container, const char* name, const QString& caption, const QRect& twips);
    QScrollBar* makeScrollBar(Qt::Orientation orientation, const char* name, const QRect& twips);
    // ApplyZoom's painting: Zoom_Ori's picture into Picture1 at the zoomed size.
    void repaintZoomed();
    // Moves Picture1 and the bars to where the arithmetic has them.
    void showPosition();
    // The keys a picture viewer answers: Ctrl+Plus and Ctrl+Minus zoom, the arrow and Page keys scroll.
    void addViewerKeys();
    // The mouse wheel over the picture: zooms through the zoom buttons' handlers, scrolls through the bars.
    void turnWheel(const QWheelEvent& event);
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);

    platform::Platform platform_;
    std::function<void()> showMainWindow_;
    std::function<void()> endProgram_;
    QString programFolder_;
    common::PointerState pointer_;
    QWidget* viewportInside_;
    ZoomModel zoom_;
    bool mSetupPending = false;
    WheelGestures wheel_;
};

}  // namespace preview
