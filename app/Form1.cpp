#include "Form1.h"

#include "chart/TemplateChoice.h"
#include "common/FileRoutines.h"
#include "common/FocusFrame.h"
#include "common/Handler.h"
#include "common/Main.h"
#include "common/ReturnPress.h"
#include "common/Twips.h"
#include "common/WindowRole.h"
#include "entries/EntryStore.h"
#include "tortelet/Version.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QStandardPaths>
#include <QStyle>
#include <QToolTip>

namespace app {

namespace {
const QString kLocation = QStringLiteral("Torvane2021/08/31.Form1.");
const QUrl kHomePage(QStringLiteral("https://www.vantrel.example/"));
constexpr int kClientWidth = 8040;
constexpr int kClientHeight = 4800;
// The least the window may be made: the buttons' captions and three rows of the list.
const QSize kSmallest(6000, 3465);
const QString kGeometryKey = QStringLiteral("Main Window Geometry");
}  // namespace

Form1::Form1(platform::Platform platform, std::function<void()> endProgram, QString programFolder)
    : platform_(platform),
      endProgram_(std::move(endProgram)),
      programFolder_(std::move(programFolder)),
      pointer_(*this),
      listView_(new QTreeWidget(this)),
      list_(*listView_),
      commands_(list_, pointer_, platform),
      build_(platform, *this),
      layout_(QSize(kClientWidth, kClientHeight))
{
    setObjectName(QStringLiteral("Form1"));
    common::AnnounceAsWindow(*this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(common::twipsToPixels(kClientWidth), common::twipsToPixels(kClientHeight));
    setFont(common::ArialBold(9));
    paintLight();
    setMouseTracking(true);

    listView_->setObjectName(QStringLiteral("ListView1"));
    place(listView_, QRect(120, 1140, 7800, 2535), common::kGrow);
    listView_->setFont(common::ArialBold(9));
    listView_->setRootIsDecorated(false);
    listView_->setSelectionMode(QAbstractItemView::SingleSelection);
    listView_->setSortingEnabled(false);
    listView_->setAllColumnsShowFocus(true);
    listView_->header()->setStretchLastSection(false);
    listView_->viewport()->setMouseTracking(true);
    listView_->viewport()->installEventFilter(this);
    listView_->installEventFilter(this);
    new common::FocusFrame(*listView_, *listView_);

    createTemplateButton_ = makeButton("PushButton1", QStringLiteral("Start Creating Template"), 120, 120, 7800, 405);
    helpButton_ = makeButton("PushButton6", QStringLiteral("Help"), 120, 630, 3840, 405);
    sampleButton_ = makeButton("PushButton7", QStringLiteral("Load Sample/Example Data"), 4080, 630, 3840, 405);
    addButton_ = makeButton("PushButton2", QStringLiteral("Add New"), 120, 3780, 3840, 405);
    deleteButton_ = makeButton("PushButton3", QStringLiteral("Delete Selected Entry"), 4080, 3780, 3840, 405);
    editButton_ = makeButton("PushButton4", QStringLiteral("Edit Selected Entry"), 120, 4290, 3840, 405);
    clearButton_ = makeButton("PushButton5", QStringLiteral("Clear List"), 4080, 4290, 3840, 405);
    // Above the list the buttons keep to the top, below it to the bottom; side by side they share
    // the width.
    place(createTemplateButton_, QRect(120, 120, 7800, 405), {0, 1, 0, 0});
    place(helpButton_, QRect(120, 630, 3840, 405), {0, 0.5, 0, 0});
    place(sampleButton_, QRect(4080, 630, 3840, 405), {0.5, 1, 0, 0});
    place(addButton_, QRect(120, 3780, 3840, 405), {0, 0.5, 1, 1});
    place(deleteButton_, QRect(4080, 3780, 3840, 405), {0.5, 1, 1, 1});
    place(editButton_, QRect(120, 4290, 3840, 405), {0, 0.5, 1, 1});
    place(clearButton_, QRect(4080, 4290, 3840, 405), {0.5, 1, 1, 1});

    setTabOrder(listView_, createTemplateButton_);
    setTabOrder(createTemplateButton_, addButton_);
    setTabOrder(addButton_, deleteButton_);
    setTabOrder(deleteButton_, editButton_);
    setTabOrder(editButton_, clearButton_);
    setTabOrder(clearButton_, helpButton_);
    setTabOrder(helpButton_, sampleButton_);

    connect(createTemplateButton_, &QPushButton::clicked, this, [this] { createTemplate(); });
    connect(addButton_, &QPushButton::clicked, this, [this] { commands_.PushButton2_Click(); });
    connect(deleteButton_, &QPushButton::clicked, this, [this] { commands_.PushButton3_Click(); });
    connect(editButton_, &QPushButton::clicked, this, [this] { commands_.PushButton4_Click(); });
    connect(clearButton_, &QPushButton::clicked, this, [this] { commands_.PushButton5_Click(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] { commands_.PushButton6_Click(); });
    connect(sampleButton_, &QPushButton::clicked, this, [this] { commands_.PushButton7_Click(); });
    connect(listView_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!listView_->selectedItems().isEmpty())
            commands_.PushButton4_Click();
    });
    nameControls();
    addWindowCommands();

    startUp();
    memory_ = new common::WindowMemory(*this, platform_.settings, kGeometryKey,
                                       common::twipsToPixels(QRect(0, 0, kClientWidth, kClientHeight)).size(),
                                       common::twipsToPixels(QRect(QPoint(0, 0), kSmallest)).size());
    memory_->restore();
}

void Form1::place(QWidget* control, const QRect& twips, common::Anchors anchors)
{
    control->setGeometry(common::twipsToPixels(twips));
    placed_.emplace_back(control, layout_.add(twips, anchors));
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize inside(width() * common::kTwipsPerPixel, height() * common::kTwipsPerPixel);
    for (const auto& [control, index] : placed_)
        control->setGeometry(common::twipsToPixels(layout_.place(index, inside)));
}

void Form1::paintLight()
{
    QPalette light = QApplication::style()->standardPalette();
    light.setColor(QPalette::Window, Qt::white);
    setPalette(light);
    setAutoFillBackground(true);
}

void Form1::addWindowCommands()
{
    const auto add = [this](const QString& text, const QList<QKeySequence>& keys, auto handler) {
        auto* action = new QAction(text, this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
        return action;
    };
    entries::EditHistory& history = commands_.history();
    QAction* undo = add(QStringLiteral("Undo"), {QKeySequence::Undo}, [&history] { history.undo(); });
    QAction* redo = add(QStringLiteral("Redo"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                        [&history] { history.redo(); });
    const auto follow = [undo, redo, &history] {
        undo->setEnabled(history.stack().canUndo());
        undo->setText(history.stack().canUndo() ? QStringLiteral("Undo ") + history.stack().undoText() : QStringLiteral("Undo"));
        redo->setEnabled(history.stack().canRedo());
        redo->setText(history.stack().canRedo() ? QStringLiteral("Redo ") + history.stack().redoText() : QStringLiteral("Redo"));
    };
    connect(&history.stack(), &QUndoStack::indexChanged, this, follow);
    follow();
    const auto separate = [this] {
        auto* separator = new QAction(this);
        separator->setSeparator(true);
        addAction(separator);
    };
    separate();
    auto* templates = new QActionGroup(this);
    ownTemplateItem_ = add(QStringLiteral("Use My Own Template\u2026"), {}, [this] { chooseOwnTemplate(); });
    builtInTemplateItem_ = add(QStringLiteral("Use the Built-in Template"), {}, [this] { useBuiltInTemplate(); });
    for (QAction* item : {ownTemplateItem_, builtInTemplateItem_}) {
        item->setCheckable(true);
        templates->addAction(item);
    }
    showTemplateChoice();
    separate();
    add(QStringLiteral("About Tortelet Studio"), {}, [this] { showAbout(); });
    // Keys without a place in the menu.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this, [this] { close(); });
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, helpButton_, &QPushButton::click);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString Form1::ownTemplate()
{
    return platform_.settings.read(QString::fromLatin1(chart::kOwnTemplateKey)).value_or(QString());
}

// The menu marks the template that the next build fills; the own template's item names the file.
void Form1::showTemplateChoice()
{
    const QString own = ownTemplate();
    ownTemplateItem_->setChecked(!own.isEmpty());
    builtInTemplateItem_->setChecked(own.isEmpty());
    ownTemplateItem_->setToolTip(own.isEmpty() ? QStringLiteral("Builds fill a workbook or template of your own")
                                               : QStringLiteral("Builds fill ") + QDir::toNativeSeparators(own));
}

void Form1::chooseOwnTemplate()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("mnuOwnTemplate_Click"));
    QString chosen;
    h(100, [&] {
        const QString own = ownTemplate();
        const QString start = own.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : own;
        chosen = platform_.openDialog.askOpenPath(QStringLiteral("Use My Own Template"), chart::TemplateFilter(), start);
    });
    if (!chosen.isEmpty()) {
        bool usable = false;
        h(102, [&] {
            chart::CheckTemplate(chosen);
            usable = true;
        });
        if (usable)
            h(104, [&] { platform_.settings.write(QString::fromLatin1(chart::kOwnTemplateKey), QFileInfo(chosen).absoluteFilePath()); });
    }
    showTemplateChoice();
}

void Form1::useBuiltInTemplate()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("mnuBuiltInTemplate_Click"));
    h(100, [&] { platform_.settings.write(QString::fromLatin1(chart::kOwnTemplateKey), QString()); });
    showTemplateChoice();
}

void Form1::showAbout()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("mnuAbout_Click"));
    h(100, [&] {
        platform::MessageRequest about;
        about.title = QStringLiteral("About Tortelet Studio");
        about.text = QStringLiteral("Tortelet Studio %1\n\n"
                                    "Turns a list of labelled amounts into a pie-chart workbook.\n\n"
                                    "Copyright 2021-2026 Vantrel.\n"
                                    "Licence: proprietary; all rights reserved.\n"
                                    "Home page: https://www.vantrel.example/\n"
                                    "Program: %2\n"
                                    "Settings: the keys \"Assets\", \"Chart Template\" and the windows' places in the settings "
                                    "of Vantrel, Tortelet Studio")
                         .arg(QString::fromLatin1(tortelet::Version), QCoreApplication::applicationFilePath());
        platform_.messages.show(about);
    });
}

void Form1::bringToFront()
{
    showTemplateChoice();
    if (preview_ && preview_->isVisible()) {
        preview_->bringToFront();
        return;
    }
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

QPushButton* Form1::makeButton(const char* name, const QString& caption, int left, int top, int width, int height)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(common::twipsToPixels(QRect(left, top, width, height)));
    button->setFont(common::ArialBold(11.25));
    button->setMouseTracking(true);
    button->installEventFilter(this);
    common::ReturnPress::addTo(*button);
    return button;
}

// What a screen reader says of each control: its caption, and what it does.
void Form1::nameControls()
{
    const auto name = [](QWidget* control, const QString& description) {
        if (auto* button = qobject_cast<QPushButton*>(control))
            control->setAccessibleName(button->text());
        control->setAccessibleDescription(description);
    };
    listView_->setAccessibleName(QStringLiteral("Entries"));
    name(listView_, QStringLiteral("The labels and amounts that the chart shows. Delete removes the selected entry; "
                                   "Enter or a double-click edits it."));
    name(createTemplateButton_, QStringLiteral("Fills the chart template with the entries and shows the chart"));
    name(helpButton_, QStringLiteral("Tells whom to ask about the program"));
    name(sampleButton_, QStringLiteral("Replaces the entries with the sample entries"));
    name(addButton_, QStringLiteral("Adds an entry after the last one"));
    name(deleteButton_, QStringLiteral("Removes the selected entry"));
    name(editButton_, QStringLiteral("Changes the label and amount of the selected entry"));
    name(clearButton_, QStringLiteral("Removes every entry"));
}

void Form1::startUp()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Form_Load"));
    h(102, [&] { common::ApplySkinIfPresent(*this, programFolder_); });
    h(104, [&] { setWindowTitle(QStringLiteral("Tortelet Studio")); });
    h(106, [&] { setWindowIcon(common::ApplicationIcon()); });
    h(108, [&] { common::SetApplicationTitle(); });
    loadHandCursor(h);
    drawHomePage(h);
    entries::LoadEntryList(list_, platform_.settings, h, 122);
}

void Form1::loadHandCursor(common::Handler& h)
{
    const QString path = programFolder_ + QStringLiteral("/HAND-M.CUR");
    if (h.when(110, [&] { return common::FileExists(path); }))
        h(112, [&] { pointer_.setCustomCursor(common::LoadCursorFile(path)); });
}

void Form1::drawHomePage(common::Handler& h)
{
    int drawn = 0;
    h(114, [&] { platform_.random.seed(static_cast<std::uint32_t>(platform_.clock.secondsSinceMidnight())); });
    h(116, [&] { drawn = static_cast<int>(platform_.random.fraction() * 100) + 1; });
    if (h.when(118, [&] { return drawn == 7; }))
        h(120, [&] { platform_.launcher.openUrl(kHomePage); });
}

void Form1::createTemplate() { build_.run(); }

int Form1::entryCount() { return list_.count(); }

QString Form1::entryLabel(int position) { return list_.label(position); }

QString Form1::entryAmount(int position) { return list_.amount(position); }

QString Form1::amountLocale() { return list_.amountLocale(); }

preview::Form2& Form1::loadPreview()
{
    if (!preview_)
        preview_ = std::make_unique<preview::Form2>(
            platform_, [this] { show(); }, endProgram_, nullptr, programFolder_);
    return *preview_;
}

void Form1::deliverPicture(const platform::Picture& picture)
{
    preview::Form2& preview = loadPreview();
    preview.setPicture(picture);
    std::vector<preview::ChartSlice> slices;
    for (const entries::Entry& entry : list_.rows())
        slices.push_back({entry.label, entry.amount});
    preview.describeChart(slices);
}

void Form1::setPreviewWorkbook(const QString& path) { loadPreview().setScratchWorkbook(path); }

void Form1::showPreview() { loadPreview().show(); }

void Form1::hideMainWindow() { hide(); }

void Form1::storeList()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Form_QueryUnload"));
    h(100, [&] { entries::SaveEntryList(list_, platform_.settings); });
}

void Form1::endProgram()
{
    if (endProgram_)
        endProgram_();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == listView_ && listKey(*event))
        return true;
    if (watched == listView_->viewport() && event->type() == QEvent::ToolTip)
        return showCutText(*event);
    if (watched == listView_ && event->type() == QEvent::FocusIn)
        selectCurrentRow();
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (watched == listView_->viewport())
            pointer_.hover(common::PointerState::Ordinary);
        else if (qobject_cast<QPushButton*>(watched))
            pointer_.hover(common::PointerState::Custom);
    }
    return QWidget::eventFilter(watched, event);
}

// Delete removes the selected entry and Return or Enter edits it, through the buttons' own commands.
bool Form1::listKey(const QEvent& event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const bool acts = key.key() == Qt::Key_Delete || key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    // With no row selected these keys have nothing to act on.
    if (acts && listView_->selectedItems().isEmpty())
        return true;
    if (key.key() == Qt::Key_Delete)
        commands_.PushButton3_Click();
    else if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        commands_.PushButton4_Click();
    else
        return false;
    return true;
}

// The list shows a focus frame on its current row; coming to the list selects that row, so that the
// commands on "the selected entry" act on the row the person sees.
void Form1::selectCurrentRow()
{
    if (listView_->topLevelItemCount() == 0 || !listView_->selectedItems().isEmpty())
        return;
    QTreeWidgetItem* current = listView_->currentItem();
    if (current == nullptr)
        current = listView_->topLevelItem(0);
    listView_->setCurrentItem(current);
    current->setSelected(true);
}

bool Form1::showCutText(const QEvent& event)
{
    const auto& help = static_cast<const QHelpEvent&>(event);
    const QModelIndex index = listView_->indexAt(help.pos());
    const QString full = index.data(Qt::UserRole).toString();
    const QRect cell = listView_->visualRect(index);
    const int room = cell.width() - 2 * listView_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, listView_) - 2;
    if (index.isValid() && (full != index.data(Qt::DisplayRole).toString() ||
                            listView_->fontMetrics().horizontalAdvance(full) > room))
        QToolTip::showText(help.globalPos(), full.left(4000), listView_->viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

void Form1::mouseMoveEvent(QMouseEvent* event)
{
    if (childAt(event->position().toPoint()) == nullptr)
        pointer_.hover(common::PointerState::Ordinary);
    QWidget::mouseMoveEvent(event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    endRun();
}

void Form1::endRun()
{
    if (ended_)
        return;
    ended_ = true;
    if (build_.running())
        build_.stopForExit();
    storeList();
    memory_->store();
    if (preview_ && !preview_->scratchWorkbook().isEmpty())
        common::DeleteFileForced(preview_->scratchWorkbook());
    endProgram();
}


}  // namespace app
