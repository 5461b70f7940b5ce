#include "app/Form1.h"
#include "platform/ApplicationTitle.h"
#include "support/Controls.h"
#include "support/ScriptedPlatform.h"

#include <QAccessible>
#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using testing_support::control;

QPushButton* button(const app::Form1& form, const char* name) { return control<QPushButton>(form, name); }

QTreeWidget* listView(const app::Form1& form) { return control<QTreeWidget>(form, "ListView1"); }

// A Windows cursor file: an ico image whose header says "cursor" and carries the hot spot.
QByteArray cursorFile(int hotX, int hotY)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    writer.write(image);
    QByteArray bytes = buffer.data();
    qToLittleEndian<quint16>(2, bytes.data() + 2);
    qToLittleEndian<quint16>(hotX, bytes.data() + 6 + 4);
    qToLittleEndian<quint16>(hotY, bytes.data() + 6 + 6);
    return bytes;
}

struct MainWindow : ::testing::Test {
    testing_support::ScriptedPlatform system;
    QTemporaryDir folder;
    int ended = 0;

    std::unique_ptr<app::Form1> start()
    {
        return std::make_unique<app::Form1>(system.platform(), [this] { ++ended; }, folder.path());
    }
    void put(const QString& name, const QByteArray& bytes)
    {
        QDir(folder.path()).mkpath(QFileInfo(name).path());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(MainWindow, FirstStartShowsTheSampleSetQuietly)
{
    auto form = start();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tortelet Studio"));
    EXPECT_EQ(platform::applicationTitle(), QStringLiteral("Tortelet"));
    EXPECT_EQ(form->list().count(), 6);
    EXPECT_EQ(form->list().label(1), QStringLiteral("Savings"));
    EXPECT_TRUE(system.messages.shown.empty());
    EXPECT_FALSE(form->pointer().hasCustomCursor());
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(form->styleSheet().isEmpty());
}

TEST_F(MainWindow, LayoutFollowsTheTwipTable)
{
    auto form = start();
    EXPECT_EQ(form->size(), QSize(536, 320));
    EXPECT_EQ(button(*form, "PushButton1")->geometry(), QRect(8, 8, 520, 27));
    EXPECT_EQ(button(*form, "PushButton7")->geometry(), QRect(272, 42, 256, 27));
    EXPECT_EQ(listView(*form)->geometry(), QRect(8, 76, 520, 169));
    EXPECT_EQ(button(*form, "PushButton5")->geometry(), QRect(272, 286, 256, 27));
    EXPECT_EQ(button(*form, "PushButton5")->text(), QStringLiteral("Clear List"));
    EXPECT_EQ(button(*form, "PushButton3")->text(), QStringLiteral("Delete Selected Entry"));
    EXPECT_DOUBLE_EQ(button(*form, "PushButton2")->font().pointSizeF(), 11.25);
    EXPECT_TRUE(button(*form, "PushButton2")->font().bold());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMaximizeButtonHint) << "the window can be maximised";
    QWidget* const list = listView(*form);
    std::vector<QWidget*> order;
    QWidget* widget = list;
    do {
        if (widget == list || qobject_cast<QPushButton*>(widget))
            order.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != list);
    std::vector<QWidget*> expected{list};
    for (const char* name : {"PushButton1", "PushButton2", "PushButton3", "PushButton4", "PushButton5", "PushButton6",
                             "PushButton7"})
        expected.push_back(button(*form, name));
    EXPECT_EQ(order, expected);
}

TEST_F(MainWindow, SkinAndCursorBesideTheProgramAreApplied)
{
    put(QStringLiteral("x/o.cjs"), "QPushButton { color: red; }");
    put(QStringLiteral("HAND-M.CUR"), cursorFile(7, 3));
    auto form = start();
    EXPECT_TRUE(system.messages.shown.empty());
    EXPECT_EQ(form->styleSheet(), QStringLiteral("QPushButton { color: red; }"));
    EXPECT_NE(form->palette().color(QPalette::Window), QColor(Qt::white));
    ASSERT_TRUE(form->pointer().hasCustomCursor());
    form->pointer().set(common::PointerState::Custom);
    EXPECT_EQ(form->cursor().hotSpot(), QPoint(7, 3));
}

TEST_F(MainWindow, BrokenOptionalFilesAreReportedAndStartUpGoesOn)
{
    put(QStringLiteral("x/o.cjs"), QByteArray("\xff\xfe\xfa", 3));
    put(QStringLiteral("HAND-M.CUR"), "not a cursor");
    auto form = start();
    ASSERT_EQ(system.messages.shown.size(), 2u);
    EXPECT_TRUE(system.messages.shown[0].text.contains(QStringLiteral("Form1.Form_Load at line 102")));
    EXPECT_TRUE(system.messages.shown[1].text.contains(QStringLiteral("Form1.Form_Load at line 112")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tortelet Studio"));
    EXPECT_EQ(form->list().count(), 6);
}

TEST_F(MainWindow, HomePageOpensOnlyWhenSevenIsDrawn)
{
    system.clock.seconds = 45296;
    system.random.fractions = {0.5};
    start();
    EXPECT_EQ(system.random.seeds, std::vector<std::uint32_t>{45296});
    EXPECT_TRUE(system.launcher.opened.empty());
    system.random.fractions = {0.0625};
    auto form = start();
    ASSERT_EQ(system.launcher.opened.size(), 1u);
    EXPECT_EQ(system.launcher.opened[0], QUrl(QStringLiteral("https://www.vantrel.example/")));
    EXPECT_EQ(form->list().count(), 6);
}

TEST_F(MainWindow, ClosingStoresTheListOnceAndEndsEvenWhenStoringFails)
{
    system.settings.values[QStringLiteral("Assets")] = QString();
    auto form = start();
    EXPECT_EQ(form->list().count(), 0);
    form->close();
    form->endRun();
    EXPECT_EQ(system.settings.writes, 2);  // the list and the locale of its amounts, once each
    EXPECT_EQ(system.settings.values[QStringLiteral("Assets")], QString());
    EXPECT_EQ(ended, 1);

    system.settings.failWrites = true;
    auto second = start();
    second->close();
    EXPECT_EQ(ended, 2);
    ASSERT_EQ(system.messages.shown.size(), 1u);
    EXPECT_TRUE(system.messages.shown[0].text.contains(QStringLiteral("Form1.Form_QueryUnload at line 100")));
}

// The keys reach the buttons' own commands: coming to the list selects the row with the focus frame,
// Delete removes it, Enter and a double-click edit the selected row, Return presses a focused button.
TEST_F(MainWindow, KeysAndDoubleClickReachTheCommandsOfTheButtons)
{
    auto form = start();
    QTreeWidget* list = listView(*form);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(list, &focusIn);
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems().front()->text(0), QStringLiteral("Savings"));

    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(form->list().count(), 5);
    EXPECT_EQ(form->list().label(1), QStringLiteral("401k"));

    list->clearSelection();
    list->topLevelItem(1)->setSelected(true);
    system.inputs.answers = {QStringLiteral("Shares"), QStringLiteral("16000")};
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(form->list().label(2), QStringLiteral("Shares"));
    system.inputs.answers = {QStringLiteral("Cash"), QStringLiteral("1")};
    emit list->itemDoubleClicked(list->topLevelItem(1), 0);
    EXPECT_EQ(form->list().label(2), QStringLiteral("Cash"));
    ASSERT_EQ(system.inputs.asked.size(), 4u);
    EXPECT_EQ(system.inputs.asked[2].prompt, QStringLiteral("Enter New Asset Type:"));

    QTest::keyClick(button(*form, "PushButton5"), Qt::Key_Return);
    EXPECT_EQ(form->list().count(), 0);
    EXPECT_TRUE(system.messages.shown.empty());
}

// A screen reader finds a name for every control, and a description of what it does.
TEST_F(MainWindow, EveryControlHasAnAccessibleNameAndDescription)
{
    auto form = start();
    int controls = 0;
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QStringLiteral("qt_")))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << widget->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Description).isEmpty()) << widget->objectName().toStdString();
        ++controls;
    }
    EXPECT_EQ(controls, 8);
}

TEST_F(MainWindow, HoverFollowsThePointerUnlessBusy)
{
    auto form = start();
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button(*form, "PushButton4"), &move);
    EXPECT_EQ(form->pointer().value(), 99);
    QCoreApplication::sendEvent(listView(*form)->viewport(), &move);
    EXPECT_EQ(form->pointer().value(), 0);
    form->pointer().set(common::PointerState::Busy);
    QCoreApplication::sendEvent(button(*form, "PushButton4"), &move);
    QCoreApplication::sendEvent(form.get(), &move);
    EXPECT_EQ(form->pointer().value(), 11);
    EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
}

}  // namespace
