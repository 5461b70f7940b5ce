#include "PreviewFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPicture>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

namespace {

using preview_testing::PreviewFixture;
using testing_support::control;

// A picture with a left and a right half in two colours, to tell pictures and halves apart.
QImage twoTone(int width, int height, const QColor& left, const QColor& right)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(right);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, left);
    return image;
}

QColor paintedAt(preview::PictureBox& box, int x, int y) { return box.grab().toImage().pixelColor(x, y); }

void sendMouse(QWidget* widget, QEvent::Type type, QPoint position, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(position), widget->mapToGlobal(QPointF(position)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A recorded drawing with thin lines, a round shape and text, as a sheet picture has them.
platform::Picture sheetDrawing(int width, int height)
{
    QPicture drawing;
    QPainter painter(&drawing);
    painter.fillRect(QRect(0, 0, width, height), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x4F81BD));
    painter.drawEllipse(QRectF(width * 0.4, 10, height - 20, height - 20));
    painter.setFont(QFont(QStringLiteral("DejaVu Serif"), 11));
    for (int row = 0; row < height / 20; ++row)
        painter.drawText(QPointF(4, 16 + row * 20), QStringLiteral("Savings 25,000 %1").arg(row));
    painter.end();
    return platform::Picture(sheet::render::SheetDrawing{QSize(width, height), {drawing}});
}

// The mean difference of two pictures of one size, per channel, from 0 to 255.
double meanDifference(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y)
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * left.width() * left.height());
}

void turnWheel(QWidget* widget, QPoint angle, Qt::KeyboardModifiers modifiers, QPointF at = QPointF(5, 5))
{
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

void hoverOver(QWidget* widget, QPoint position)
{
    sendMouse(widget, QEvent::MouseMove, position, Qt::NoButton, Qt::NoButton);
}

// The window's controls, found by the object names they keep from the form.
struct Controls {
    explicit Controls(const preview::Form2& window)
        : unscaledCopy(control<preview::PictureBox>(window, "Zoom_Ori")),
          zoomFrame(control<QGroupBox>(window, "Frame1")),
          zoomIn(control<QPushButton>(window, "PushButton1")),
          zoomOut(control<QPushButton>(window, "PushButton2")),
          viewport(control<QFrame>(window, "Picture2")),
          picture(control<preview::PictureBox>(window, "Picture1")),
          verticalBar(control<QScrollBar>(window, "VScroll1")),
          horizontalBar(control<QScrollBar>(window, "HScroll1")),
          save(control<QPushButton>(window, "PushButton6")),
          back(control<QPushButton>(window, "PushButton8"))
    {
    }

    preview::PictureBox* unscaledCopy;
    QGroupBox* zoomFrame;
    QPushButton* zoomIn;
    QPushButton* zoomOut;
    QFrame* viewport;
    preview::PictureBox* picture;
    QScrollBar* verticalBar;
    QScrollBar* horizontalBar;
    QPushButton* save;
    QPushButton* back;
};

class Form2Test : public PreviewFixture {
protected:
    void deliverAndShow(const QImage& picture) { deliverAndShow(platform::Picture(picture)); }
    void deliverAndShow(const platform::Picture& picture)
    {
        form().setPicture(picture);
        form().show();
    }
};

TEST_F(Form2Test, LoadPreparesTheWindowAndWaitsForADelivery)
{
    preview::Form2& window = form();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tortelet Studio"));
    EXPECT_TRUE(window.setupPending());
    EXPECT_FALSE(window.pointer().hasCustomCursor());
    EXPECT_TRUE(system.messages.shown.empty());
    // A screen reader finds a name for every control, and what it does.
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->objectName().startsWith(QStringLiteral("qt_")) || widget->parentWidget() == nullptr)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << widget->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Description).isEmpty()) << widget->objectName().toStdString();
    }
}

TEST_F(Form2Test, AnUnreadableCursorFileIsReportedAndTheLoadGoesOn)
{
    QFile cursor(path(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(cursor.open(QIODevice::WriteOnly));
    cursor.write("not a cursor");
    cursor.close();
    preview::Form2& window = form();
    ASSERT_EQ(system.messages.shown.size(), 1u);
    EXPECT_TRUE(system.messages.shown[0].text.contains(
        QStringLiteral("\r\nin Torvane2021/08/31.Form2.Form_Load at line 108\r\r")));
    EXPECT_TRUE(window.setupPending());
}

TEST_F(Form2Test, TheFirstActivationSetsUpTheDeliveredPictureAndLaterOnesChangeNothing)
{
    const QImage chart = twoTone(200, 100, Qt::red, Qt::blue);
    deliverAndShow(chart);
    preview::Form2& window = form();
    const Controls c(window);
    EXPECT_FALSE(window.setupPending());
    EXPECT_TRUE(c.unscaledCopy->isHidden());
    EXPECT_EQ(c.unscaledCopy->picture().bitmap(), chart);
    EXPECT_EQ(window.zoom().baseWidth(), 2998);
    EXPECT_EQ(window.zoom().baseHeight(), 1498);
    EXPECT_EQ(c.picture->geometry(), QRect(0, 0, 200, 100));
    EXPECT_EQ(paintedAt(*c.picture, 10, 50), QColor(Qt::red));
    EXPECT_EQ(paintedAt(*c.picture, 190, 50), QColor(Qt::blue));
    EXPECT_FALSE(c.horizontalBar->isEnabled());
    EXPECT_FALSE(c.verticalBar->isEnabled());

    c.zoomIn->click();
    EXPECT_EQ(window.zoom().factor(), 1.25f);
    EXPECT_EQ(c.picture->size(), QSize(250, 125));
    sendMouse(c.picture, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    sendMouse(c.picture, QEvent::MouseMove, QPoint(10, 30), Qt::NoButton, Qt::LeftButton);
    const QRect placed = c.picture->geometry();

    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activation);
    window.hide();
    window.show();
    EXPECT_EQ(window.zoom().factor(), 1.25f);
    EXPECT_EQ(c.picture->geometry(), placed);
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(Form2Test, EveryZoomIsPaintedFromTheUnscaledCopy)
{
    deliverAndShow(twoTone(250, 200, Qt::darkGreen, Qt::yellow));
    preview::Form2& window = form();
    const Controls c(window);
    const QImage atSetup = c.picture->grab().toImage();
    for (int i = 0; i < 3; ++i)
        c.zoomOut->click();
    EXPECT_EQ(window.zoom().factor(), 0.25f);
    EXPECT_EQ(c.picture->size(), QSize(62, 50));
    for (int i = 0; i < 3; ++i)
        c.zoomIn->click();
    EXPECT_EQ(window.zoom().factor(), 1.0f);
    EXPECT_EQ(c.picture->grab().toImage(), atSetup);
}

TEST_F(Form2Test, ASecondDeliveryReplacesPicture1AndZoomOri)
{
    deliverAndShow(twoTone(200, 100, Qt::red, Qt::red));
    preview::Form2& window = form();
    const Controls c(window);
    c.zoomIn->click();
    window.hide();

    const QImage second = twoTone(120, 90, Qt::blue, Qt::blue);
    window.setPicture(platform::Picture(second));
    EXPECT_TRUE(window.setupPending());
    EXPECT_EQ(c.picture->picture().bitmap(), second);
    window.show();
    EXPECT_EQ(c.unscaledCopy->picture().bitmap(), second);
    EXPECT_EQ(window.zoom().factor(), 1.0f);
    EXPECT_EQ(c.picture->geometry(), QRect(0, 0, 120, 90));
    EXPECT_EQ(paintedAt(*c.picture, 5, 5), QColor(Qt::blue));

    c.zoomIn->click();
    EXPECT_EQ(c.picture->size(), QSize(150, 112));
    EXPECT_EQ(paintedAt(*c.picture, 140, 100), QColor(Qt::blue));
}

TEST_F(Form2Test, TheBarsMoveThePictureAlsoPastA16BitRange)
{
    deliverAndShow(twoTone(3000, 800, Qt::red, Qt::blue));  // 45000 twips wide: 35670 past the viewport
    preview::Form2& window = form();
    const Controls c(window);
    EXPECT_EQ(c.horizontalBar->maximum(), 3567);
    EXPECT_EQ(c.verticalBar->maximum(), 457);
    c.verticalBar->setValue(45);
    EXPECT_EQ(c.picture->y(), -30);
    c.horizontalBar->setValue(c.horizontalBar->maximum());
    EXPECT_EQ(c.picture->x(), -2378);
    EXPECT_EQ(c.picture->geometry().right() + 1, c.viewport->width());
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(Form2Test, DraggingPansAndTheReleaseSnapsToTheGrid)
{
    deliverAndShow(twoTone(1000, 800, Qt::red, Qt::blue));
    preview::Form2& window = form();
    const Controls c(window);
    sendMouse(c.picture, QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
    sendMouse(c.picture, QEvent::MouseMove, QPoint(20, 30), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(c.picture->pos(), QPoint(-30, -20));
    EXPECT_EQ(c.horizontalBar->value(), 0);
    sendMouse(c.picture, QEvent::MouseButtonRelease, QPoint(20, 30), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(c.horizontalBar->value(), 45);  // 7.94 % -> 8 % of 567
    EXPECT_EQ(c.verticalBar->value(), 32);  // 6.56 % -> 7 % of 458
    EXPECT_EQ(c.picture->pos(), QPoint(-30, -21));

    hoverOver(c.picture, QPoint(5, 5));  // no button: no pan
    EXPECT_EQ(c.picture->pos(), QPoint(-30, -21));
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(Form2Test, ThePointerFollowsButtonsFrameAndBackgroundButNotABuild)
{
    deliverAndShow(twoTone(200, 100, Qt::red, Qt::blue));
    preview::Form2& window = form();
    const Controls c(window);
    const int custom = common::PointerState::Custom;
    const int ordinary = common::PointerState::Ordinary;

    hoverOver(c.zoomIn, QPoint(5, 5));
    EXPECT_EQ(window.pointer().value(), custom);
    hoverOver(c.zoomFrame, QPoint(3, 50));
    EXPECT_EQ(window.pointer().value(), ordinary);
    hoverOver(c.back, QPoint(5, 5));
    EXPECT_EQ(window.pointer().value(), custom);
    hoverOver(&window, QPoint(652, 622));
    EXPECT_EQ(window.pointer().value(), ordinary);
    hoverOver(c.save, QPoint(5, 5));
    c.zoomIn->click();  // a painted zoom puts the ordinary pointer back
    EXPECT_EQ(window.pointer().value(), ordinary);

    window.pointer().set(common::PointerState::Busy);
    hoverOver(c.zoomOut, QPoint(5, 5));
    hoverOver(&window, QPoint(652, 622));
    EXPECT_EQ(window.pointer().value(), common::PointerState::Busy);
}

TEST_F(Form2Test, ZoomScalesThePaintingFromAQuarterToFour)
{
    deliverAndShow(sheetDrawing(1500, 300));
    preview::Form2& window = form();
    const Controls c(window);
    for (int i = 0; i < 2; ++i)
        c.zoomOut->click();
    EXPECT_EQ(c.picture->size(), QSize(750, 150));
    for (int i = 0; i < 6; ++i)
        c.zoomIn->click();
    EXPECT_EQ(window.zoom().factor(), 2.0f);
    EXPECT_EQ(c.picture->size(), QSize(3000, 600));
    for (int i = 0; i < 2; ++i)
        c.zoomIn->click();
    EXPECT_EQ(c.picture->width(), 3750);
    for (int i = 0; i < 7; ++i)
        c.zoomIn->click();  // a drawing is played for the part on screen, so 6000 pixels cost nothing
    EXPECT_EQ(window.zoom().factor(), 4.0f);
    EXPECT_EQ(c.picture->size(), QSize(5999, 1199));
    EXPECT_TRUE(system.messages.shown.empty());
}

TEST_F(Form2Test, AZoomedDrawingIsAsSharpAsAFreshDrawingAtThatSize)
{
    const platform::Picture delivered = sheetDrawing(300, 200);
    deliverAndShow(delivered);
    preview::Form2& window = form();
    const Controls c(window);
    for (int i = 0; i < 4; ++i)
        c.zoomIn->click();
    ASSERT_EQ(c.picture->size(), QSize(600, 400));
    const QImage painted = c.picture->grab().toImage();

    QImage fresh(600, 400, QImage::Format_RGB32);
    fresh.fill(Qt::white);
    QPainter onFresh(&fresh);
    delivered.paint(onFresh, QRectF(0, 0, 600, 400), QRectF(0, 0, 300, 200));
    onFresh.end();
    QImage natural(300, 200, QImage::Format_RGB32);
    natural.fill(Qt::white);
    QPainter onNatural(&natural);
    delivered.paint(onNatural, QRectF(0, 0, 300, 200), QRectF(0, 0, 300, 200));
    onNatural.end();
    const QImage enlarged = natural.scaled(600, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const double fromFresh = meanDifference(painted, fresh);
    EXPECT_LT(fromFresh, 1.0);
    EXPECT_GT(meanDifference(painted, enlarged), 4 * fromFresh + 1.0) << "an enlarged bitmap is blurred";
}

TEST_F(Form2Test, TheWheelAndKeysGoThroughTheZoomButtonsAndTheBars)
{
    deliverAndShow(twoTone(400, 2000, Qt::red, Qt::blue));
    preview::Form2& window = form();
    const Controls c(window);
    QApplication::setActiveWindow(&window);
    turnWheel(c.viewport, QPoint(0, 120), Qt::ControlModifier);
    EXPECT_EQ(window.zoom().factor(), 1.25f);
    turnWheel(c.viewport, QPoint(0, -60), Qt::ControlModifier);
    turnWheel(c.viewport, QPoint(0, -60), Qt::ControlModifier);
    EXPECT_EQ(window.zoom().factor(), 1.0f) << "two half notches make one step";

    turnWheel(c.viewport, QPoint(0, -120), Qt::NoModifier);
    EXPECT_EQ(c.verticalBar->value(), 90);  // 60 pixels in steps of 10 twips
    EXPECT_EQ(c.picture->y(), -60);
    EXPECT_EQ(window.zoom().verticalBar().value, 90);
    turnWheel(c.viewport, QPoint(0, -120), Qt::ShiftModifier);
    EXPECT_EQ(c.horizontalBar->value(), 0) << "a picture narrower than the viewport does not move sideways";

    QTest::keyClick(&window, Qt::Key_PageDown);
    EXPECT_GT(c.verticalBar->value(), 90);
    EXPECT_EQ(window.zoom().picture().top, -window.zoom().verticalBar().value * window.zoom().verticalStep());
    // Ctrl+Plus keeps the point at the view's centre where it is, Ctrl+wheel the one under the pointer.
    const auto staysPut = [&](double y, double scale, auto zoom) {
        const int before = c.picture->y();
        zoom();
        EXPECT_NEAR(y - c.picture->y(), (y - before) * scale, 1.0);
    };
    const double centre = preview::ZoomModel::kViewportInnerHeight / 15 / 2.0;
    staysPut(centre, 1.25, [&] { QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier); });
    EXPECT_EQ(window.zoom().factor(), 1.25f);
    staysPut(299, 1.5 / 1.25, [&] { turnWheel(c.viewport, QPoint(0, 120), Qt::ControlModifier, QPointF(200, 300)); });
    staysPut(centre, 1.25 / 1.5, [&] { QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier); });
    EXPECT_EQ(window.zoom().factor(), 1.25f);
    EXPECT_TRUE(system.messages.shown.empty());
}

}  // namespace
