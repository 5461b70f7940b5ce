#pragma once

#include "chart/BuildHost.h"
#include "chart/ChartBuild.h"
#include "common/AnchoredLayout.h"
#include "common/Handler.h"
#include "common/Main.h"
#include "common/PointerState.h"
#include "common/WindowMemory.h"
#include "entries/EntryCommands.h"
#include "entries/EntryList.h"
#include "platform/Platform.h"
#include "preview/Form2.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace app {

// The main window: the entry list, its editing buttons and "Start Creating Template".
class Form1 : public QWidget, private chart::BuildHost {
    Q_OBJECT

public:
    // Builds the window and runs its start-up; endProgram ends the whole program.
    Form1(platform::Platform platform, std::function<void()> endProgram,
          QString programFolder = common::ProgramFolder());

    common::PointerState& pointer() override { return pointer_; }
    entries::EntryList& list() { return list_; }
    // The preview window, once the first build has loaded it.
    preview::Form2* previewWindow() { return preview_.get(); }

    // Brings the program to the front: the preview when it is shown, this window otherwise.
    void bringToFront();

    // Ends the run the way closing the window does, whoever asks: stores the list once, removes
    // this run's scratch files and ends the program. Later calls do nothing.
    void endRun();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPushButton* makeButton(const char* name, const QString& caption, int left, int top, int width, int height);
    // Puts a control in the window's layout at its design place (twips).
    void place(QWidget* control, const QRect& twips, common::Anchors anchors);
    // Under any desktop theme the window keeps its white, with controls in a light palette to match.
    void paintLight();
    // The keys of the window and its context menu: undo and redo, Ctrl+Q, F1 and "About".
    void addWindowCommands();
    void showAbout();
    // "Use My Own Template…" and "Use the Built-in Template": the template the builds fill, kept in the settings.
    QString ownTemplate();
    void showTemplateChoice();
    void chooseOwnTemplate();
    void useBuiltInTemplate();
    // The full text of a cut cell as its tooltip.
    bool showCutText(const QEvent& event);
    void nameControls();
    bool listKey(const QEvent& event);
    void selectCurrentRow();
    // The start-up: skin, caption, icon, application title, hand cursor, home-page draw and the list.
    void startUp();
    void loadHandCursor(common::Handler& h);
    void drawHomePage(common::Handler& h);
    // "Start Creating Template": the chart build.
    void createTemplate();
    // Whatever closes the window stores the list first; then the program ends.
    void storeList();
    void endProgram();

    int entryCount() override;
    QString entryLabel(int position) override;
    QString entryAmount(int position) override;
    QString amountLocale() override;
    void deliverPicture(const platform::Picture& picture) override;
    void setPreviewWorkbook(const QString& path) override;
    void showPreview() override;
    void hideMainWindow() override;
    preview::Form2& loadPreview();

    platform::Platform platform_;
    std::function<void()> endProgram_;
    QString programFolder_;
    common::PointerState pointer_;
    // The controls keep their form names as object names ("ListView1", "PushButton1" to
    // "PushButton7"), by which a skin's style sheet and the tests find them.
    QTreeWidget* listView_;
    QPushButton* createTemplateButton_;
    QPushButton* addButton_;
    QPushButton* deleteButton_;
    QPushButton* editButton_;
    QPushButton* clearButton_;
    QPushButton* helpButton_;
    QPushButton* sampleButton_;
    entries::EntryList list_;
    entries::EntryCommands commands_;
    chart::ChartBuild build_;
    std::unique_ptr<preview::Form2> preview_;
    common::AnchoredLayout layout_;
    std::vector<std::pair<QWidget*, int>> placed_;
    common::WindowMemory* memory_ = nullptr;
    QAction* ownTemplateItem_ = nullptr;
    QAction* builtInTemplateItem_ = nullptr;
    bool ended_ = false;
};

}  // namespace app
