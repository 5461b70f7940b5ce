#include "Form2.h"

#include "PictureExport.h"
#include "PrintLayout.h"
#include "ResultFormat.h"
#include "StartingFolder.h"

#include "common/FileRoutines.h"
#include "common/FocusFrame.h"
#include "common/WindowRole.h"
#include "common/Handler.h"
#include "common/ReturnPress.h"
#include "common/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QShortcut>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace preview {

namespace {
const QString kLocation = QStringLiteral("Torvane2021/08/31.Form2.");

// Where the picture was last exported, and as what.
const QString kPictureFolderKey = QStringLiteral("Picture Folder");
const QString kPictureFilterKey = QStringLiteral("Picture Filter");
const QString kWorkbookFolderKey = QStringLiteral("Workbook Folder");

// Window geometry in twips.
const QRect kUnscaledCopy(10320, 480, 735, 375);
const QRect kZoomFrame(120, 7860, 9600, 855);
const QRect kZoomInButton(240, 300, 4440, 405);
const QRect kZoomOutButton(4800, 300, 4560, 405);
const QRect kViewport(120, 120, ZoomModel::kViewportWidth, ZoomModel::kViewportHeight);
const QRect kVerticalBar(9450, 120, 255, 7425);
const QRect kHorizontalBar(120, 7545, 9330, 255);
const QRect kSaveButton(4920, 8850, 4800, 405);
const QRect kBackButton(120, 8850, 4680, 405);
constexpr int kClientWidth = 9840;
constexpr int kClientHeight = 9390;
// The least the window may be made: room for the buttons' captions and a little of the picture.
const QSize kSmallest(7200, 4365);
const QString kGeometryKey = QStringLiteral("Preview Window Geometry");


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
      zoom_([this] { repaintZoomed(); }),
      layout_(QSize(kClientWidth, kClientHeight)),
      zoomFrameLayout_(kZoomFrame.size())
{
    setObjectName(QStringLiteral("Form2"));
    common::AnnounceAsWindow(*this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(common::twipsToPixels(kClientWidth), common::twipsToPixels(kClientHeight));
    setFont(common::ArialBold(9));
    setMouseTracking(true);

    unscaledCopy_ = new PictureBox(this);
    unscaledCopy_->setObjectName(QStringLiteral("Zoom_Ori"));
    unscaledCopy_->setGeometry(common::twipsToPixels(kUnscaledCopy));

    zoomFrame_ = new QGroupBox(QStringLiteral("Zoom:"), this);
    zoomFrame_->setObjectName(QStringLiteral("Frame1"));
    place(zoomFrame_, kZoomFrame, {0, 1, 1, 1});
    zoomFrame_->setMouseTracking(true);
    zoomFrame_->installEventFilter(this);
    zoomInButton_ = makeButton(zoomFrame_, "PushButton1", QStringLiteral("Zoom In"), kZoomInButton);
    zoomOutButton_ = makeButton(zoomFrame_, "PushButton2", QStringLiteral("Zoom Out"), kZoomOutButton);

    viewport_ = new QFrame(this);
    viewport_->setObjectName(QStringLiteral("Picture2"));
    place(viewport_, kViewport, common::kGrow);
    viewport_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    viewport_->setLineWidth(common::twipsToPixels(ZoomModel::kViewportBorder));
    paintWhite(*viewport_);
    viewportInside_ = new QWidget(viewport_);
    viewportInside_->setGeometry(common::twipsToPixels(QRect(ZoomModel::kViewportBorder, ZoomModel::kViewportBorder,
                                                             ZoomModel::kViewportInnerWidth,
                                                             ZoomModel::kViewportInnerHeight)));
    paintWhite(*viewportInside_);
    picture_ = new PictureBox(viewportInside_);
    picture_->setObjectName(QStringLiteral("Picture1"));
    // The picture takes the keyboard: its menu, the arrow keys and the zoom keys act on it.
    picture_->setFocusPolicy(Qt::StrongFocus);
    new common::FocusFrame(*viewport_, *picture_);

    verticalBar_ = makeScrollBar(Qt::Vertical, "VScroll1", kVerticalBar);
    horizontalBar_ = makeScrollBar(Qt::Horizontal, "HScroll1", kHorizontalBar);
    saveButton_ = makeButton(this, "PushButton6", QStringLiteral("Save Results To Excel File"), kSaveButton);
    backButton_ = makeButton(this, "PushButton8", QStringLiteral("< Back"), kBackButton);
    place(zoomInButton_, kZoomInButton, {0, 0.5, 0, 0});
    place(zoomOutButton_, kZoomOutButton, {0.5, 1, 0, 0});
    place(verticalBar_, kVerticalBar, {1, 1, 0, 1});
    place(horizontalBar_, kHorizontalBar, {0, 1, 1, 1});
    place(saveButton_, kSaveButton, {0.5, 1, 1, 1});
    place(backButton_, kBackButton, {0, 0.5, 1, 1});

    connect(zoomInButton_, &QPushButton::clicked, this, [this] { zoomIn(); });
    connect(zoomOutButton_, &QPushButton::clicked, this, [this] { zoomOut(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { saveResults(); });
    connect(backButton_, &QPushButton::clicked, this, [this] { goBack(); });
    connect(horizontalBar_, &QScrollBar::valueChanged, this, [this](int value) { horizontalBarMoved(value); });
    connect(verticalBar_, &QScrollBar::valueChanged, this, [this](int value) { verticalBarMoved(value); });
    connect(picture_, &PictureBox::mouseDown, this, &Form2::grabPicture);
    connect(picture_, &PictureBox::mouseMoved, this, &Form2::dragPicture);
    connect(picture_, &PictureBox::mouseUp, this, [this] { dropPicture(); });
    viewport_->installEventFilter(this);
    addViewerKeys();
    addPictureMenu();
    nameControls();

    showPosition();
    prepare();
    memory_ = new common::WindowMemory(*this, platform_.settings, kGeometryKey,
                                       common::twipsToPixels(QRect(0, 0, kClientWidth, kClientHeight)).size(),
                                       common::twipsToPixels(QRect(QPoint(0, 0), kSmallest)).size());
    memory_->restore();
}

void Form2::place(QWidget* control, const QRect& twips, common::Anchors anchors)
{
    control->setGeometry(common::twipsToPixels(twips));
    if (control->parentWidget() == zoomFrame_)
        placedInZoomFrame_.emplace_back(control, zoomFrameLayout_.add(twips, anchors));
    else
        placed_.emplace_back(control, layout_.add(twips, anchors));
}

void Form2::layOut()
{
    const auto lay = [](const common::AnchoredLayout& layout, const std::vector<std::pair<QWidget*, int>>& controls,
                        const QWidget& container) {
        const QSize inside(twips(container.width()), twips(container.height()));
        for (const auto& [control, index] : controls)
            control->setGeometry(common::twipsToPixels(layout.place(index, inside)));
    };
    lay(layout_, placed_, *this);
    lay(zoomFrameLayout_, placedInZoomFrame_, *zoomFrame_);
    const int border = common::twipsToPixels(ZoomModel::kViewportBorder);
    viewportInside_->setGeometry(viewport_->rect().adjusted(border, border, -border, -border));
    zoom_.setViewportSize(twips(viewport_->width()), twips(viewport_->height()));
    showPosition();
}

void Form2::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void Form2::describeChart(const std::vector<ChartSlice>& slices)
{
    picture_->setAccessibleDescription(DescribeChart(slices) + QStringLiteral(" Its menu copies, exports or prints it."));
}

void Form2::bringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

// What a screen reader says of each control: its caption or role, and what it does.
void Form2::nameControls()
{
    const auto name = [](QWidget* control, const QString& accessibleName, const QString& description) {
        control->setAccessibleName(accessibleName);
        control->setAccessibleDescription(description);
    };
    name(zoomFrame_, QStringLiteral("Zoom"), QStringLiteral("Makes the chart picture larger or smaller"));
    name(zoomInButton_, zoomInButton_->text(), QStringLiteral("Shows the chart picture a quarter larger"));
    name(zoomOutButton_, zoomOutButton_->text(), QStringLiteral("Shows the chart picture a quarter smaller"));
    name(viewport_, QStringLiteral("Chart preview"), QStringLiteral("Drag the picture, or use the scroll bars, to move it"));
    name(viewportInside_, QStringLiteral("Chart preview area"), QStringLiteral("The part of the chart picture in view"));
    name(picture_, QStringLiteral("Chart picture"),
         QStringLiteral("The filled sheet with its chart. Its menu copies, exports or prints it"));
    name(unscaledCopy_, QStringLiteral("Chart picture at its natural size"), QStringLiteral("The source of every zoom"));
    name(horizontalBar_, QStringLiteral("Scroll sideways"), QStringLiteral("Moves the chart picture left and right"));
    name(verticalBar_, QStringLiteral("Scroll up and down"), QStringLiteral("Moves the chart picture up and down"));
    name(saveButton_, saveButton_->text(), QStringLiteral("Saves the filled workbook where you choose"));
    name(backButton_, QStringLiteral("Back"), QStringLiteral("Returns to the entry list"));
}

QPushButton* Form2::makeButton(QWidget* container, const char* name, const QString& caption, const QRect& twips)
{
    auto* button = new QPushButton(caption, container);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(common::twipsToPixels(twips));
    button->setFont(common::ArialBold(11.25));
    button->setMouseTracking(true);
    button->installEventFilter(this);
    common::ReturnPress::addTo(*button);
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
    picture_->setPicture(picture);
    setupPending_ = true;
}

void Form2::prepare()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Form_Load"));
    h(100, [&] { common::ApplyFaceColor(*this); });
    h(102, [&] { setWindowTitle(QStringLiteral("Tortelet Studio")); });
    h(104, [&] { setWindowIcon(common::ApplicationIcon()); });
    const QString cursorFile = programFolder_ + QStringLiteral("/HAND-M.CUR");
    if (h.when(106, [&] { return common::FileExists(cursorFile); }))
        h(108, [&] { pointer_.setCustomCursor(common::LoadCursorFile(cursorFile)); });
    h(110, [&] { setupPending_ = true; });
}

void Form2::setUpDeliveredPicture()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Form_Activate"));
    const bool nothingDelivered = h.when(100, [&] { return !setupPending_; });
    if (!nothingDelivered) {
        h(102, [&] {
            const QSize delivered = picture_->picture().size();
            zoom_.takePictureSize(twips(delivered.width()), twips(delivered.height()));
        });
        h(104, [&] {
            unscaledCopy_->hide();
            zoom_.copyPictureSize();
            unscaledCopy_->resize(pixels(zoom_.unscaledCopyWidth()), pixels(zoom_.unscaledCopyHeight()));
            unscaledCopy_->setPicture(picture_->picture());
        });
        h(106, [&] { zoom_.resetFactor(); });
        h(108, [&] { zoom_.ApplyZoom(); });
        h(110, [&] { zoom_.SetupScrollbars(); });
    }
    h(112, [&] { setupPending_ = false; });
    showPosition();
}

void Form2::repaintZoomed()
{
    picture_->removePicture();
    const QSize size(pixels(zoom_.zoomedWidth()), pixels(zoom_.zoomedHeight()));
    const QRectF source = QRectF(0, 0, exactPixels(zoom_.baseWidth()), exactPixels(zoom_.baseHeight())) &
                          QRectF(QPointF(0, 0), unscaledCopy_->picture().size());
    picture_->paintScaled(unscaledCopy_->picture(), source, size);
    pointer_.set(common::PointerState::Ordinary);
}

void Form2::showPosition()
{
    const PictureGeometry& picture = zoom_.picture();
    picture_->setGeometry(pixels(picture.left), pixels(picture.top), std::max(0, pixels(picture.width)),
                          std::max(0, pixels(picture.height)));
    showBar(*horizontalBar_, zoom_.horizontalBar(), zoom_.horizontalStep(), zoom_.viewportInnerWidth());
    showBar(*verticalBar_, zoom_.verticalBar(), zoom_.verticalStep(), zoom_.viewportInnerHeight());
    if (zoom_.baseWidth() > 0)
        zoomFrame_->setTitle(QStringLiteral("Zoom: %1 %").arg(std::lround(zoom_.shownFactor() * 100)));
}

void Form2::zoomIn()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("PushButton1_Click"));
    h(100, [&] { zoom_.StepZoom(0); });
    showPosition();
}

void Form2::zoomOut()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("PushButton2_Click"));
    h(100, [&] { zoom_.StepZoom(1); });
    showPosition();
}

void Form2::zoomToFit()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("mnuFit_Click"));
    h(100, [&] { zoom_.fit(); });
    showPosition();
}

void Form2::zoomAround(std::int32_t direction, QPointF anchor)
{
    common::Handler h(platform_.messages,
                      kLocation + (direction == 0 ? QStringLiteral("PushButton1_Click") : QStringLiteral("PushButton2_Click")));
    h(100, [&] {
        zoom_.zoomAround(direction, static_cast<float>(anchor.x() * common::kTwipsPerPixel),
                         static_cast<float>(anchor.y() * common::kTwipsPerPixel));
    });
    showPosition();
}

QPointF Form2::viewCentre() const { return QRectF(viewportInside_->rect()).center(); }

void Form2::horizontalBarMoved(int value)
{
    zoom_.scrollHorizontal(value);
    showPosition();
}

void Form2::verticalBarMoved(int value)
{
    zoom_.scrollVertical(value);
    showPosition();
}

void Form2::grabPicture(int, float x, float y)
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("picture1_MouseDown"));
    h(100, [&] { zoom_.pressAt(x, y); });
}

void Form2::dragPicture(int button, float x, float y)
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("picture1_MouseMove"));
    h(100, [&] { zoom_.dragTo(button, x, y); });
    showPosition();
}

void Form2::dropPicture()
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

void Form2::saveResults()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("PushButton6_Click"));
    QString path;
    ResultFormat format = ResultFormat::Excel97;
    std::int16_t answer = platform::AnswerNone;
    h(100, [&] {
        const QString folder = StartingFolder(platform_.settings.read(kWorkbookFolderKey), QStandardPaths::DocumentsLocation);
        const platform::SaveAnswer chosen = platform_.saveDialog.askSavePath(QStringLiteral("Save File"),
                                                                             ResultFilter(ScratchFormat(scratchWorkbook_)), folder);
        format = ChosenResultFormat(chosen.path, chosen.filter, ScratchFormat(scratchWorkbook_));
        path = ResultPath(chosen.path, format);
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
            SaveResult(scratchWorkbook_, path, format);
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
    // The next save starts in the folder of this one.
    if (!copyFailed && answer == platform::AnswerYes)
        h(116, [&] { platform_.settings.write(kWorkbookFolderKey, QFileInfo(path).absolutePath()); });
}

void Form2::addPictureMenu()
{
    const auto add = [this](const QString& text, const QList<QKeySequence>& keys, void (Form2::*handler)()) {
        auto* action = new QAction(text, picture_);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        picture_->addAction(action);
    };
    add(QStringLiteral("Copy Picture"), {QKeySequence::Copy}, &Form2::copyPicture);
    add(QStringLiteral("Export Picture\u2026"),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), QKeySequence(Qt::CTRL | Qt::Key_E)}, &Form2::exportPicture);
    add(QStringLiteral("Print\u2026"), {QKeySequence::Print}, &Form2::printPicture);
    auto* separator = new QAction(picture_);
    separator->setSeparator(true);
    picture_->addAction(separator);
    add(QStringLiteral("Fit"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, &Form2::zoomToFit);
}

sheet::render::SheetDrawing Form2::naturalPicture() const
{
    return (setupPending_ ? picture_->picture() : unscaledCopy_->picture()).asDrawing();
}

void Form2::copyPicture()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("mnuCopyPicture_Click"));
    h(100, [&] { platform_.clipboard.offerPicture(naturalPicture(), devicePixelRatioF()); });
}

void Form2::exportPicture()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("mnuExportPicture_Click"));
    const PictureExport exporting(zoom_.factor());
    platform::PictureSaveRequest request;
    request.title = QStringLiteral("Export Picture");
    request.filters = exporting.filters();
    h(100, [&] {
        request.chosenFilter = exporting.startingFilter(platform_.settings.read(kPictureFilterKey));
        request.startPath = StartingFolder(platform_.settings.read(kPictureFolderKey), QStandardPaths::PicturesLocation) +
                            QStringLiteral("/Pie Chart");
    });
    platform::PictureSaveAnswer answer;
    h(102, [&] { answer = platform_.pictureDialogs.askPicturePath(request); });
    if (h.when(104, [&] { return answer.path.isEmpty(); }))
        return;
    h(106, [&] { PictureExport::write(naturalPicture(), exporting.target(answer.path, answer.filter)); });
    h(108, [&] { platform_.settings.write(kPictureFolderKey, QFileInfo(answer.path).absolutePath()); });
    h(110, [&] { platform_.settings.write(kPictureFilterKey, answer.filter); });
}

void Form2::printPicture()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("mnuPrint_Click"));
    h(100, [&] {
        const sheet::render::SheetDrawing drawing = naturalPicture();
        platform::PrintRequest request;
        request.documentName = QStringLiteral("Tortelet Studio Chart");
        request.orientation = PrintLayout(drawing.size).orientation();
        request.dotsPerInch = PrintLayout::kDotsPerInch;
        request.paint = [&drawing](QPrinter& printer) { PrintLayout::print(drawing, printer); };
        platform_.pictureDialogs.print(request);
    });
}

void Form2::goBack()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("PushButton8_Click"));
    h(100, [&] { common::DeleteFileForced(scratchWorkbook_); });
    h(102, [&] { showMainWindow_(); });
    h(104, [&] { hide(); });
}

void Form2::deleteWorkbookOnClose()
{
    common::Handler h(platform_.messages, kLocation + QStringLiteral("Form_QueryUnload"));
    h(100, [&] { common::DeleteFileForced(scratchWorkbook_); });
    h(102, [&] { QCoreApplication::processEvents(); });
    h(104, [&] { QCoreApplication::processEvents(); });
}

void Form2::endProgram()
{
    if (endProgram_)
        endProgram_();
}

bool Form2::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        setUpDeliveredPicture();
    return QWidget::event(event);
}

void Form2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setUpDeliveredPicture();
}

void Form2::closeEvent(QCloseEvent* event)
{
    deleteWorkbookOnClose();
    event->accept();
    endProgram();
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
    key(QKeySequence::ZoomIn, [this] { zoomAround(0, viewCentre()); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomAround(0, viewCentre()); });
    key(QKeySequence::ZoomOut, [this] { zoomAround(1, viewCentre()); });
    key(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveButton_->click(); });
    key(QKeySequence(Qt::Key_Escape), [this] { backButton_->click(); });
    key(QKeySequence(Qt::Key_Left), [this] { horizontalBar_->triggerAction(QAbstractSlider::SliderSingleStepSub); });
    key(QKeySequence(Qt::Key_Right), [this] { horizontalBar_->triggerAction(QAbstractSlider::SliderSingleStepAdd); });
    key(QKeySequence(Qt::Key_Up), [this] { verticalBar_->triggerAction(QAbstractSlider::SliderSingleStepSub); });
    key(QKeySequence(Qt::Key_Down), [this] { verticalBar_->triggerAction(QAbstractSlider::SliderSingleStepAdd); });
    key(QKeySequence(Qt::Key_PageUp), [this] { verticalBar_->triggerAction(QAbstractSlider::SliderPageStepSub); });
    key(QKeySequence(Qt::Key_PageDown), [this] { verticalBar_->triggerAction(QAbstractSlider::SliderPageStepAdd); });
}

void Form2::turnWheel(const QWheelEvent& event)
{
    const WheelGestures::Action action = wheel_.turn(event.angleDelta(), event.modifiers());
    const QPointF anchor = viewportInside_->mapFrom(viewport_, event.position());
    for (int step = 0; step < action.zoomSteps; ++step)
        zoomAround(0, anchor);
    for (int step = 0; step > action.zoomSteps; --step)
        zoomAround(1, anchor);
    // The bars move the picture, so the arithmetic sees the same change as a click on a bar.
    const auto scroll = [](QScrollBar& bar, std::int16_t twipsPerUnit, int pixels) {
        if (pixels != 0 && bar.isEnabled() && twipsPerUnit > 0)
            bar.setValue(bar.value() + pixels * common::kTwipsPerPixel / twipsPerUnit);
    };
    scroll(*horizontalBar_, zoom_.horizontalStep(), action.scrollX);
    scroll(*verticalBar_, zoom_.verticalStep(), action.scrollY);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == viewport_ && event->type() == QEvent::Wheel) {
        turnWheel(*static_cast<QWheelEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        if (qobject_cast<QPushButton*>(watched))
            pointer_.hover(common::PointerState::Custom);
        else if (watched == zoomFrame_ &&
                 zoomFrame_->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()) == nullptr)
            pointer_.hover(common::PointerState::Ordinary);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace preview
