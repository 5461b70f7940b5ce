#pragma once

#include "Handler.h"
#include "Main.h"
#include "PointerState.h"

#include "entries/EntryCommands.h"
#include "entries/EntryList.h"
#include "platform/Platform.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <functional>

namespace app {

// The main window: the entry list, its editing buttons and "Start Creating Template".
class Form1 : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its start-up; endProgram ends the whole program.
    Form1(platform::Platform platform, std::function<void()> endProgram, QString programFolder = ProgramFolder());

    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QPushButton* PushButton3;
    QPushButton* PushButton4;
    QPushButton* PushButton5;
    QPushButton* PushButton6;
    QPushButton* PushButton7;
    QTreeWidget* ListView1;

    PointerState& pointer() { return pointer_; }
    entries::EntryList& list() { return list_; }

    // The click of "Start Creating Template"; the chart build is plugged in by the program.
    void setChartBuild(std::function<void()> build) { chartBuild_ = std::move(build); }

    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* makeButton(const char* name, const QString& caption, int left, int top, int width, int height);
    void loadHandCursor(Handler& h);
    void drawHomePage(Handler& h);

    platform::Platform platform_;
    std::function<void()> endProgram_;
    std::function<void()> chartBuild_;
    QString programFolder_;
    PointerState pointer_;
    entries::EntryList list_;
    entries::EntryCommands commands_;
    bool centred_ = false;
};

}  // namespace app
