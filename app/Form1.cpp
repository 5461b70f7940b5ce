#include "Form1.h"

#include "common/FileRoutines.h"
#include "common/Handler.h"
#include "common/Main.h"
#include "common/Twips.h"
#include "entries/EntryStore.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMouseEvent>

namespace app {

namespace {
const QString kLocation = QStringLiteral("Torvane2021/08/31.Form1.");
const QUrl kHomePage(QStringLiteral("https://www.vantrel.example/"));
}  // namespace

Form1::Form1(platform::Platform platform, std::function<void()> endProgram, QString programFolder)
    : platform_(platform),
      endProgram_(std::move(endProgram)),
      programFolder_(std::move(programFolder)),
      pointer_(*this),
      list_(*(ListView1 = new QTreeWidget(this))),
      commands_(list_, pointer_, platform),
      build_(platform, *this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(common::twipsToPixels(8040), common::twipsToPixels(4800));
    common::CentreOnScreen(*this);
    setFont(common::ArialBold(9));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setMouseTracking(true);

    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(common::twipsToPixels(QRect(120, 1140, 7800, 2535)));
    ListView1->setFont(common::ArialBold(9));
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSortingEnabled(false);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->header()->setStretchLastSection(false);
    ListView1->viewport()->setMouseTracking(true);
    ListView1->viewport()->installEventFilter(this);

    PushButton1 = makeButton("PushButton1", QStringLiteral("Start Creating Template"), 120, 120, 7800, 405);
    PushButton6 = makeButton("PushButton6", QStringLiteral("Help"), 120, 630, 3840, 405);
    PushButton7 = makeButton("PushButton7", QStringLiteral("Load Sample/Example Data"), 4080, 630, 3840, 405);
    PushButton2 = makeButton("PushButton2", QStringLiteral("Add New"), 120, 3780, 3840, 405);
    PushButton3 = makeButton("PushButton3", QStringLiteral("Delete Selected Entry"), 4080, 3780, 3840, 405);
    PushButton4 = makeButton("PushButton4", QStringLiteral("Edit Selected Entry"), 120, 4290, 3840, 405);
    PushButton5 = makeButton("PushButton5", QStringLiteral("Clear List"), 4080, 4290, 3840, 405);

    setTabOrder(ListView1, PushButton1);
    setTabOrder(PushButton1, PushButton2);
    setTabOrder(PushButton2, PushButton3);
    setTabOrder(PushButton3, PushButton4);
    setTabOrder(PushButton4, PushButton5);
    setTabOrder(PushButton5, PushButton6);
    setTabOrder(PushButton6, PushButton7);

    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { commands_.PushButton2_Click(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { commands_.PushButton3_Click(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { commands_.PushButton4_Click(); });
    connect(PushButton5, &QPushButton::clicked, this, [this] { commands_.PushButton5_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { commands_.PushButton6_Click(); });
    connect(PushButton7, &QPushButton::clicked, this, [this] { commands_.PushButton7_Click(); });

    Form_Load();
}

QPushButton* Form1::makeButton(const char* name, const QString& caption, int left, int top, int width, int height)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(common::twipsToPixels(QRect(left, top, width, height)));
    button->setFont(common::ArialBold(11.25));
    button->setMouseTracking(true);
    button->installEventFilter(this);
    return button;
}

void Form1::Form_Load()
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

void Form1::PushButton1_Click() { build_.run(); }

int Form1::entryCount() { return list_.count(); }

QString Form1::entryLabel(int position) { return list_.label(position); }

QString Form1::entryAmount(int position) { return list_.amount(position); }

preview::Form2& Form1::loadPreview()
{
    if (!preview_)
        preview_ = std::make_unique<preview::Form2>(
            platform_, [this] { show(); }, endProgram_, nullptr, programFolder_);
    return *preview_;
}

void Form1::deliverPicture(const platform::Picture& picture) { loadPreview().setPicture(picture); }

void Form1::setPreviewWorkbook(const QString& path) { loadPreview().setScratchWorkbook(path); }

void Form1::showPreview() { loadPreview().show(); }

void Form1::hideMainWindow() { hide(); }

void Form1::Form_QueryUnload()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Form_QueryUnload"));
    h(100, [&] { entries::SaveEntryList(list_, platform_.settings); });
}

void Form1::Form_Unload()
{
    if (endProgram_)
        endProgram_();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (watched == ListView1->viewport())
            pointer_.hover(common::PointerState::Ordinary);
        else if (qobject_cast<QPushButton*>(watched))
            pointer_.hover(common::PointerState::Custom);
    }
    return QWidget::eventFilter(watched, event);
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
    Form_QueryUnload();
    if (preview_ && !preview_->scratchWorkbook().isEmpty())
        common::DeleteFileForced(preview_->scratchWorkbook());
    Form_Unload();
}


}  // namespace app
