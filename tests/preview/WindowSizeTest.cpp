// The preview window at sizes other than its design size, its zoom level and the keys of its
// picture and buttons.

#include "PreviewFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

using preview_testing::PreviewFixture;
using testing_support::control;

class WindowSizeTest : public PreviewFixture {
protected:
    preview::Form2& shown(QSize pictureSize)
    {
        QImage picture(pictureSize, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        form().setPicture(platform::Picture(picture));
        form().show();
        QApplication::setActiveWindow(&form());
        return form();
    }
    QWidget* viewport() { return control<QWidget>(form(), "Picture2"); }
    QRect onWindow(const char* name)
    {
        QWidget* widget = control<QWidget>(form(), name);
        return QRect(widget->mapTo(&form(), QPoint(0, 0)), widget->size());
    }
};

TEST_F(WindowSizeTest, ResizingGrowsTheViewportAndTheBarsAndButtonsKeepToTheirEdges)
{
    preview::Form2& window = shown(QSize(1200, 900));
    const QSize before = window.size();
    const QSize viewportBefore = viewport()->size();
    const int backFromBottom = before.height() - onWindow("PushButton8").top();
    const int saveFromRight = before.width() - onWindow("PushButton6").right();

    window.resize(before + QSize(400, 300));
    QApplication::processEvents();
    EXPECT_EQ(viewport()->size(), viewportBefore + QSize(400, 300));
    EXPECT_EQ(window.zoom().viewportWidth(), viewport()->width() * 15);
    EXPECT_EQ(window.height() - onWindow("PushButton8").top(), backFromBottom);
    EXPECT_EQ(window.width() - onWindow("PushButton6").right(), saveFromRight);
    EXPECT_EQ(onWindow("VScroll1").left(), onWindow("Picture2").right() + 1);
    EXPECT_EQ(onWindow("HScroll1").top(), onWindow("Picture2").bottom() + 1);

    // Scrolled to the far corner, the picture stays in reach of the bars at the new size.
    auto* vertical = control<QScrollBar>(window, "VScroll1");
    vertical->setValue(vertical->maximum());
    window.resize(before + QSize(200, 100));
    QApplication::processEvents();
    const preview::PictureGeometry& picture = window.zoom().picture();
    EXPECT_EQ(picture.top, -window.zoom().verticalStep() * window.zoom().verticalBar().value);
    EXPECT_GE(picture.top + picture.height, window.zoom().viewportInnerHeight() - 10 * 15);
    EXPECT_EQ(vertical->value(), window.zoom().verticalBar().value);
    EXPECT_TRUE(system.messages.shown.empty());
}

// On a screen of 800 x 600 pixels, lower than the window's design: the offscreen platform's screen
// is chosen when the program starts, so a run of this test program of its own has that screen.
TEST_F(WindowSizeTest, AScreenSmallerThanTheWindowKeepsEveryButtonOnIt)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    if (available.height() >= 626) {
        ASSERT_FALSE(qEnvironmentVariableIsSet("TORTELET_SMALL_SCREEN")) << "the platform took no small screen";
        QFile screen(path(QStringLiteral("small-screen.json")));
        ASSERT_TRUE(screen.open(QIODevice::WriteOnly));
        screen.write(R"({"screens": [{"name": "small", "width": 800, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96}]})");
        screen.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + screen.fileName());
        environment.insert(QStringLiteral("TORTELET_SMALL_SCREEN"), QStringLiteral("1"));
        QProcess run;
        run.setProcessEnvironment(environment);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_filter=WindowSizeTest.AScreenSmallerThanTheWindowKeepsEveryButtonOnIt")});
        ASSERT_TRUE(run.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(run.readAll());
        EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
        return;
    }
    preview::Form2& window = shown(QSize(300, 200));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_LE(window.frameGeometry().height(), available.height());
    for (const char* name : {"PushButton1", "PushButton2", "PushButton6", "PushButton8", "Picture2", "HScroll1", "VScroll1"}) {
        QWidget* widget = control<QWidget>(window, name);
        const QRect global(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        EXPECT_TRUE(available.contains(global)) << name;
        EXPECT_GT(widget->height(), 0) << name;
    }
}

TEST_F(WindowSizeTest, FitTakesTheLargestStepThatShowsTheWholePictureAndTheFrameShowsTheZoom)
{
    preview::Form2& window = shown(QSize(100, 80));
    auto* frame = control<QGroupBox>(window, "Frame1");
    EXPECT_EQ(frame->title(), QStringLiteral("Zoom: 100 %"));
    control<QPushButton>(window, "PushButton1")->click();
    EXPECT_EQ(frame->title(), QStringLiteral("Zoom: 125 %"));

    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    // The picture's base is 100 x 80 pixels less 2 twips; the viewport's inside is its size less the border.
    const int insideWidth = (viewport()->width() - 2) * 15;
    const int insideHeight = (viewport()->height() - 2) * 15;
    float largest = 0.25f;
    for (float step = 4.0f; step > 0.25f; step -= 0.25f)
        if (std::floor(step * 1498.0) <= insideWidth && std::floor(step * 1198.0) <= insideHeight) {
            largest = step;
            break;
        }
    EXPECT_EQ(window.zoom().factor(), largest);
    EXPECT_GT(largest, 1.25f);
    EXPECT_EQ(frame->title(), QStringLiteral("Zoom: %1 %").arg(std::lround(largest * 100)));
    EXPECT_FALSE(control<QScrollBar>(window, "HScroll1")->isEnabled());
    EXPECT_FALSE(control<QScrollBar>(window, "VScroll1")->isEnabled());
}

// The picture takes the focus with a frame, Shift+F10 opens its menu there, Ctrl+S saves and
// Escape goes back.
TEST_F(WindowSizeTest, TheKeyboardReachesThePictureItsMenuAndTheButtons)
{
    preview::Form2& window = shown(QSize(300, 200));
    QWidget* picture = control<QWidget>(window, "Picture1");
    QWidget* focus = &window;
    bool reached = false;
    for (int press = 0; press < 10 && !reached; ++press) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : focus, Qt::Key_Tab);
        reached = picture->hasFocus();
    }
    ASSERT_TRUE(reached) << "Tab reaches the picture";

    QStringList offered;
    QString role;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        for (QAction* action : menu->actions())
            offered << action->text();
        if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(menu))
            role = accessible->role() == QAccessible::PopupMenu ? QStringLiteral("menu") : QStringLiteral("other");
        menu->close();
    });
    QTest::keyClick(picture, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(offered.value(0), QStringLiteral("Copy Picture"));
    EXPECT_EQ(offered.value(4), QStringLiteral("Fit"));
    EXPECT_EQ(role, QStringLiteral("menu"));

    QApplication::setActiveWindow(&window);
    QTest::keyClick(picture, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(system.saveDialog.titles.size(), 1) << "Ctrl+S runs Save Results To Excel File";
    EXPECT_EQ(mainWindowShown, 0);
    QTest::keyClick(picture, Qt::Key_Escape);
    EXPECT_EQ(mainWindowShown, 1) << "Escape runs < Back";
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
