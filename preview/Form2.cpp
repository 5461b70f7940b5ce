#include "Form2.h"

#include "FileCopy.h"

#include "common/FileRoutines.h"
#include "common/Handler.h"
#include "common/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QShortcut>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace preview {

namespace {
const QString kLocation = QStringLiteral("Torvane2021/08/31.Form2.");

// Window geometry in twips.
const QRect kZoomOri(10320, 480, 735, 375);
const QRect kFrame1(120, 7860, 9600, 855);
const QRect kPushButton1(240, 300, 4440, 405);
const QRect kPushButton2(4800, 300, 4560, 405);
const QRect kPicture2(120, 120, ZoomModel::kViewportWidth, ZoomModel::kViewportHeight);
const QRect kVScroll1(9450, 120, 255, 7425);
const QRect kHScroll1(120, 7545, 9330, 255);
const QRect kPushButton6(4920, 8850, 4800, 405);
const QRect kPushButton8(120, 8850, 4680, 405);
constexpr int kClientWidth = 9840;
constexpr int kClientHeight = 9390;


// What an arrow key or a click on a bar's arrow scrolls: twenty pixels.
constexpr int kLineTwips = 20 * common::kTwipsPerPixel;

// A length or position of the picture in whole pixels.
int pixels(double twips) { return static_cast<int>(std::lround(twips / common::kTwipsPerPixel)); }
double exactPixels(double twips) { return twips / common::kTwipsPerPixel; }

std::int32_t twips(int pixels) { return pixels * common::kTwipsPerPixel; }

void paintWhite(QWidget& widget)
{
    QPalette white = widget.palette();
    white.setColor(QPalette::Window, Qt::white);
    widget.setPalette(white);
    widget.setAutoFillBackground(true);
}

// Mirrors one bar of the arithmetic; a page is about one viewport.
void showBar(QScrollBar& bar, const ScrollBarState& state, std::int16_t step, std::int32_t viewportLength)
{
    const QSignalBlocker quiet(bar);
    // A disabled bar shows an empty trough; the model keeps its maximum and value.
    bar.setMaximum(state.enabled ? state.maximum : 0);
    bar.setValue(state.value);
    bar.setPageStep(std::max(1, viewportLength / std::max<int>(1, step)));
    bar.setSingleStep(std::max(1, kLineTwips / std::max<int>(1, step)));
    bar.setEnabled(state.enabled);
}
}  // namespace

Form2::Form2(platform::Platform platform, std::function<void()> showMainWindow, std::function<void()> endProgram,
             QWidget* parent, QString programFolder)
    : QWidget(parent),
      platform_(platform),
      showMainWindow_(std::move(showMainWindow)),
      endProgram_(std::move(endProgram)),
      programFolder_(std::move(programFolder)),
      pointer_(*this),
      zoom_([this] { repaintZoomed(); })
{
    setObjectName(QStringLiteral("Form2"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(common::twipsToPixels(kClientWidth), common::twipsToPixels(kClientHeight));
    common::CentreOnScreen(*this);
    setFont(common::ArialBold(9));
    setMouseTracking(true);

    Zoom_Ori = new PictureBox(this);
    Zoom_Ori->setObjectName(QStringLiteral("Zoom_Ori"));
    Zoom_Ori->setGeometry(common::twipsToPixels(kZoomOri));

    Frame1 = new QGroupBox(QStringLiteral("Zoom:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(common::twipsToPixels(kFrame1));
    Frame1->setMouseTracking(true);
    Frame1->installEventFilter(this);
    PushButton1 = makeButton(Frame1, "PushButton1", QStringLiteral("Zoom In"), kPushButton1);
    PushButton2 = makeButton(Frame1, "PushButton2", QStringLiteral("Zoom Out"), kPushButton2);

    Picture2 = new QFrame(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(common::twipsToPixels(kPicture2));
    Picture2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture2->setLineWidth(common::twipsToPixels(ZoomModel::kViewportBorder));
    paintWhite(*Picture2);
    viewportInside_ = new QWidget(Picture2);
    viewportInside_->setGeometry(common::twipsToPixels(QRect(ZoomModel::kViewportBorder, ZoomModel::kViewportBorder,
                                                             ZoomModel::kViewportInnerWidth,
                                                             ZoomModel::kViewportInnerHeight)));
    paintWhite(*viewportInside_);
    Picture1 = new PictureBox(viewportInside_);
    Picture1->setObjectName(QStringLiteral("Picture1"));

    VScroll1 = makeScrollBar(Qt::Vertical, "VScroll1", kVScroll1);
    HScroll1 = makeScrollBar(Qt::Horizontal, "HScroll1", kHScroll1);
    PushButton6 = makeButton(this, "PushButton6", QStringLiteral("Save Results To Excel File"), kPushButton6);
    PushButton8 = makeButton(this, "PushButton8", QStringLiteral("< Back"), kPushButton8);

    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(); });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) { HScroll1_Change(value); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int value) { VScroll1_Change(value); });
    connect(Picture1, &PictureBox::mouseDown, this, &Form2::picture1_MouseDown);
    connect(Picture1, &PictureBox::mouseMoved, this, &Form2::picture1_MouseMove);
    connect(Picture1, &PictureBox::mouseUp, this, [this] { Picture1_MouseUp(); });
    Picture2->installEventFilter(this);
    addViewerKeys();

    showPosition();
    Form_Load();
}

QPushButton* Form2::makeButton(QWidget* container, const char* name, const QString& caption, const QRect& twips)
{
    auto* button = new QPushButton(caption, container);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(common::twipsToPixels(twips));
    button->setFont(common::ArialBold(11.25));
    button->setMouseTracking(true);
    button->installEventFilter(this);
    return button;
}

QScrollBar* Form2::makeScrollBar(Qt::Orientation orientation, const char* name, const QRect& twips)
{
    auto* bar = new QScrollBar(orientation, this);
    bar->setObjectName(QLatin1String(name));
    bar->setGeometry(common::twipsToPixels(twips));
    bar->setMinimum(0);
    bar->setSingleStep(1);
    // The picture moves when the thumb is released, not while it is dragged.
    bar->setTracking(false);
    return bar;
}

void Form2::setPicture(const platform::Picture& picture)
{
    Picture1->setPicture(picture);
    mSetupPending = true;
}

void Form2::Form_Load()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Form_Load"));
    h(100, [&] { common::ApplyFaceColor(*this); });
    h(102, [&] { setWindowTitle(QStringLiteral("Tortelet Studio")); });
    h(104, [&] { setWindowIcon(common::ApplicationIcon()); });
    const QString cursorFile = programFolder_ + QStringLiteral("/HAND-M.CUR");
    if (h.when(106, [&] { return common::FileExists(cursorFile); }))
        h(108, [&] { pointer_.setCustomCursor(common::LoadCursorFile(cursorFile)); });
    h(110, [&] { mSetupPending = true; });
}

void Form2::Form_Activate()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Form_Activate"));
    const bool nothingDelivered = h.when(100, [&] { return !mSetupPending; });
    if (!nothingDelivered) {
        h(102, [&] {
            const QSize delivered = Picture1->picture().size();
            zoom_.takePictureSize(twips(delivered.width()), twips(delivered.height()));
        });
        h(104, [&] {
            Zoom_Ori->hide();
            zoom_.copySizeToZoomOri();
            Zoom_Ori->resize(pixels(zoom_.zoomOriWidth()), pixels(zoom_.zoomOriHeight()));
            Zoom_Ori->setPicture(Picture1->picture());
        });
        h(106, [&] { zoom_.resetFactor(); });
        h(108, [&] { zoom_.ApplyZoom(); });
        h(110, [&] { zoom_.SetupScrollbars(); });
    }
    h(112, [&] { mSetupPending = false; });
    showPosition();
}

void Form2::repaintZoomed()
{
    Picture1->removePicture();
    const QSize size(pixels(zoom_.mZoomWidth), pixels(zoom_.mZoomHeight));
    const QRectF source = QRectF(0, 0, exactPixels(zoom_.mBaseWidth), exactPixels(zoom_.mBaseHeight)) &
                          QRectF(QPointF(0, 0), Zoom_Ori->picture().size());
    Picture1->paintScaled(Zoom_Ori->picture(), source, size);
    pointer_.set(common::PointerState::Ordinary);
}

void Form2::showPosition()
{
    const PictureGeometry& picture = zoom_.picture1();
    Picture1->setGeometry(pixels(picture.left), pixels(picture.top), std::max(0, pixels(picture.width)),
                          std::max(0, pixels(picture.height)));
    showBar(*HScroll1, zoom_.hScroll1(), zoom_.mHStep, ZoomModel::kViewportInnerWidth);
    showBar(*VScroll1, zoom_.vScroll1(), zoom_.mVStep, ZoomModel::kViewportInnerHeight);
}

void Form2::PushButton1_Click()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("PushButton1_Click"));
    h(100, [&] { zoom_.StepZoom(0); });
    showPosition();
}

void Form2::PushButton2_Click()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("PushButton2_Click"));
    h(100, [&] { zoom_.StepZoom(1); });
    showPosition();
}

void Form2::HScroll1_Change(int value)
{
    zoom_.scrollHorizontal(value);
    showPosition();
}

void Form2::VScroll1_Change(int value)
{
    zoom_.scrollVertical(value);
    showPosition();
}

void Form2::picture1_MouseDown(int, float x, float y)
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("picture1_MouseDown"));
    h(100, [&] { zoom_.pressAt(x, y); });
}

void Form2::picture1_MouseMove(int button, float x, float y)
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("picture1_MouseMove"));
    h(100, [&] { zoom_.dragTo(button, x, y); });
    showPosition();
}

void Form2::Picture1_MouseUp()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Picture1_MouseUp"));
    h(100, [&] { zoom_.followHorizontalPosition(); });
    h(102, [&] { zoom_.followVerticalPosition(); });
    showPosition();
}

void Form2::SetHScrollbarByPercent(std::int16_t percent)
{
    zoom_.SetHScrollbarByPercent(percent);
    showPosition();
}

void Form2::SetVScrollbarByPercent(std::int16_t percent)
{
    zoom_.SetVScrollbarByPercent(percent);
    showPosition();
}

void Form2::PushButton6_Click()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("PushButton6_Click"));
    QString path;
    std::int16_t answer = platform::AnswerNone;
    h(100, [&] {
        path = platform_.saveDialog.askSavePath(QStringLiteral("Save File"), QStringLiteral("Excel Files (*.xls)|*.xls|"));
    });
    if (h.when(102, [&] { return !path.isEmpty(); })) {
        if (h.when(104, [&] { return common::FileExists(path); })) {
            h(106, [&] {
                platform::MessageRequest question;
                question.text = QStringLiteral("Are you sure you wish to overwrite ") + path + QStringLiteral(" ?");
                question.buttons = platform::Buttons::YesNo;
                question.defaultButton = platform::AnswerYes;
                answer = static_cast<std::int16_t>(platform_.messages.show(question));
            });
        } else {
            h(108, [&] { answer = platform::AnswerYes; });
        }
    }
    // The old file stays until a complete copy replaces it, and a failed copy is not followed by "Done.".
    bool copyFailed = false;
    if (h.when(110, [&] { return answer == platform::AnswerYes; })) {
        h(112, [&] {
            copyFailed = true;
            CopyFileReplacing(mExcelFile, path);
            copyFailed = false;
        });
    }
    if (!copyFailed) {
        h(114, [&] {
            platform::MessageRequest done;
            done.text = QStringLiteral("Done.");
            platform_.messages.show(done);
        });
    }
}

void Form2::PushButton8_Click()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("PushButton8_Click"));
    h(100, [&] { common::DeleteFileForced(mExcelFile); });
    h(102, [&] { showMainWindow_(); });
    h(104, [&] { hide(); });
}

void Form2::Form_QueryUnload()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Form_QueryUnload"));
    h(100, [&] { common::DeleteFileForced(mExcelFile); });
    h(102, [&] { QCoreApplication::processEvents(); });
    h(104, [&] { QCoreApplication::processEvents(); });
}

void Form2::Form_Unload()
{
    if (endProgram_)
        endProgram_();
}

bool Form2::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(event);
}

void Form2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Activate();
}

void Form2::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    event->accept();
    Form_Unload();
}

void Form2::mouseMoveEvent(QMouseEvent* event)
{
    if (childAt(event->position().toPoint()) == nullptr)
        pointer_.hover(common::PointerState::Ordinary);
    QWidget::mouseMoveEvent(event);
}

void Form2::addViewerKeys()
{
    const auto key = [this](const QKeySequence& sequence, auto action) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, action);
    };
    key(QKeySequence::ZoomIn, [this] { PushButton1_Click(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { PushButton1_Click(); });
    key(QKeySequence::ZoomOut, [this] { PushButton2_Click(); });
    key(QKeySequence(Qt::Key_Left), [this] { HScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub); });
    key(QKeySequence(Qt::Key_Right), [this] { HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd); });
    key(QKeySequence(Qt::Key_Up), [this] { VScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub); });
    key(QKeySequence(Qt::Key_Down), [this] { VScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd); });
    key(QKeySequence(Qt::Key_PageUp), [this] { VScroll1->triggerAction(QAbstractSlider::SliderPageStepSub); });
    key(QKeySequence(Qt::Key_PageDown), [this] { VScroll1->triggerAction(QAbstractSlider::SliderPageStepAdd); });
}

void Form2::turnWheel(const QWheelEvent& event)
{
    const WheelGestures::Action action = wheel_.turn(event.angleDelta(), event.modifiers());
    for (int step = 0; step < action.zoomSteps; ++step)
        PushButton1_Click();
    for (int step = 0; step > action.zoomSteps; --step)
        PushButton2_Click();
    // The bars move the picture, so the arithmetic sees the same change as a click on a bar.
    const auto scroll = [](QScrollBar& bar, std::int16_t twipsPerUnit, int pixels) {
        if (pixels != 0 && bar.isEnabled() && twipsPerUnit > 0)
            bar.setValue(bar.value() + pixels * common::kTwipsPerPixel / twipsPerUnit);
    };
    scroll(*HScroll1, zoom_.mHStep, action.scrollX);
    scroll(*VScroll1, zoom_.mVStep, action.scrollY);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture2 && event->type() == QEvent::Wheel) {
        turnWheel(*static_cast<QWheelEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        if (qobject_cast<QPushButton*>(watched))
            pointer_.hover(common::PointerState::Custom);
        else if (watched == Frame1 &&
                 Frame1->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()) == nullptr)
            pointer_.hover(common::PointerState::Ordinary);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace preview
