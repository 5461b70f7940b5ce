// The main window as a keyboard, a screen reader and a desktop meet it: undo, keys with nothing to
// act on, the remembered place, a dark theme, and the chart described to a screen reader.

#include "app/Form1.h"
#include "support/Controls.h"
#include "support/EnvironmentValue.h"
#include "support/ScriptedPlatform.h"

#include <QAccessible>
#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using testing_support::control;

struct MainWindowAtHome : ::testing::Test {
    testing_support::ScriptedPlatform system;
    QTemporaryDir folder;
    int ended = 0;

    std::unique_ptr<app::Form1> start(bool shown = true)
    {
        auto form = std::make_unique<app::Form1>(system.platform(), [this] { ++ended; }, folder.path());
        if (shown) {
            form->show();
            QApplication::setActiveWindow(form.get());
        }
        return form;
    }
    static QTreeWidget* list(const app::Form1& form) { return control<QTreeWidget>(form, "ListView1"); }
    static QAccessible::Role role(QObject* window) { return QAccessible::queryAccessibleInterface(window)->role(); }
};

TEST_F(MainWindowAtHome, CtrlZAfterDeleteBringsTheRowBackAndKeysWithNothingSelectedDoNothing)
{
    auto form = start();
    QTreeWidget* view = list(*form);
    view->setFocus();
    // A click on the list's empty area clears the selection; Delete, Enter and a double-click there
    // then have nothing to act on.
    const QPoint empty(20, view->viewport()->height() - 4);
    ASSERT_EQ(view->itemAt(empty), nullptr);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, empty);
    ASSERT_TRUE(view->selectedItems().isEmpty());
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::keyClick(view, Qt::Key_Return);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_TRUE(system.messages.shown.empty());
    EXPECT_TRUE(system.inputs.asked.empty());
    EXPECT_EQ(form->list().count(), 6);

    form->list().select(2);
    QTest::keyClick(view, Qt::Key_Delete);
    ASSERT_EQ(form->list().count(), 5);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(form->list().count(), 6);
    EXPECT_EQ(form->list().label(2), QStringLiteral("401k"));
    EXPECT_EQ(form->list().selectedRow(), 2);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->list().count(), 5);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->list().count(), 5);

    // Clear List asks nothing; undo is the safety net, also for the buttons.
    control<QPushButton>(*form, "PushButton5")->click();
    EXPECT_EQ(form->list().count(), 0);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->list().count(), 5);
    // A new entry arrives selected.
    system.inputs.answers = {QStringLiteral("Boat"), QStringLiteral("900")};
    control<QPushButton>(*form, "PushButton2")->click();
    EXPECT_EQ(form->list().selectedRow(), 6);
    EXPECT_TRUE(system.messages.shown.empty());
    EXPECT_EQ(system.settings.writes, 0) << "the list is stored when the window closes, as always";
}

TEST_F(MainWindowAtHome, TheWindowReopensWhereItWasLeftAndItsListGrowsWithIt)
{
    auto form = start();
    const int listHeight = list(*form)->height();
    form->resize(form->size() + QSize(164, 100));
    form->move(40, 30);
    QApplication::processEvents();
    EXPECT_EQ(list(*form)->height(), listHeight + 100);
    EXPECT_EQ(form->height() - control<QPushButton>(*form, "PushButton5")->geometry().bottom(), 320 - 312);
    QTest::keyClick(form.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(ended, 1) << "Ctrl+Q closes the window as its close box does";
    EXPECT_TRUE(system.settings.values.count(QStringLiteral("Assets")));
    EXPECT_EQ(system.settings.values[QStringLiteral("Main Window Geometry")], QStringLiteral("40,30,700,420"));

    auto again = start(false);
    EXPECT_EQ(again->size(), QSize(700, 420));
    EXPECT_EQ(again->pos(), QPoint(40, 30));
    system.settings.values[QStringLiteral("Main Window Geometry")] = QStringLiteral("-9000,-9000,700,420");
    auto elsewhere = start(false);
    EXPECT_EQ(elsewhere->size(), QSize(536, 320)) << "a place on a screen that is gone is not put back";
    // A store that could not be read in full is not read again for the place.
    system.settings.values[QStringLiteral("Main Window Geometry")] = QStringLiteral("40,30,700,420");
    system.settings.unreadable = true;
    auto damaged = start(false);
    EXPECT_EQ(damaged->size(), QSize(536, 320));
}

// The template the builds fill is chosen in the menu and kept; a file the engine cannot fill is named
// and not kept, and the built-in template comes back with one click.
TEST_F(MainWindowAtHome, TheMenuChoosesTheTemplateAndKeepsOnlyOneThatCanBeFilled)
{
    auto form = start();
    QAction* own = form->actions().at(3);
    QAction* builtIn = form->actions().at(4);
    EXPECT_TRUE(builtIn->isChecked());
    const QString key = QStringLiteral("Chart Template");
    const QString mine = QStringLiteral(TORTELET_TEST_DATA "/libreoffice-pie.xls");
    system.openDialog.answers = {QStringLiteral(TORTELET_TEST_DATA "/make-feature-workbook.py"), mine, QString()};
    own->trigger();
    ASSERT_EQ(system.messages.shown.size(), 1u);
    EXPECT_TRUE(system.messages.shown[0].text.contains(QStringLiteral("make-feature-workbook.py")));
    EXPECT_FALSE(system.settings.values.contains(key));
    EXPECT_TRUE(builtIn->isChecked());
    own->trigger();
    EXPECT_EQ(system.settings.values[key], QFileInfo(mine).absoluteFilePath());
    EXPECT_TRUE(own->isChecked());
    own->trigger(); // Cancel keeps the choice
    EXPECT_EQ(system.openDialog.startPaths.last(), QFileInfo(mine).absoluteFilePath());
    EXPECT_EQ(system.settings.values[key], QFileInfo(mine).absoluteFilePath());
    EXPECT_TRUE(own->isChecked());
    builtIn->trigger();
    EXPECT_EQ(system.settings.values[key], QString());
    EXPECT_TRUE(builtIn->isChecked());
    EXPECT_EQ(system.messages.shown.size(), 1u);
}

TEST_F(MainWindowAtHome, UnderADarkThemeTheWindowStaysLightAndItsMenuKeysAndTipsWork)
{
    const QPalette before = QApplication::palette();
    QPalette dark(QColor(0x30, 0x30, 0x30), QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);
    auto form = start();
    QApplication::setPalette(before);
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_GT(list(*form)->palette().color(QPalette::Base).lightness(), 200);
    EXPECT_LT(list(*form)->palette().color(QPalette::Text).lightness(), 100);
    EXPECT_LT(control<QPushButton>(*form, "PushButton1")->palette().color(QPalette::ButtonText).lightness(), 100);
    EXPECT_EQ(role(form.get()), QAccessible::Window);

    QTest::keyClick(form.get(), Qt::Key_F1);
    ASSERT_EQ(system.messages.shown.size(), 1u);
    EXPECT_TRUE(system.messages.shown[0].text.startsWith(QStringLiteral("Questions?")));
    QStringList menu;
    for (QAction* action : form->actions())
        menu << action->text();
    EXPECT_EQ(menu, (QStringList{"Undo", "Redo", "", QStringLiteral("Use My Own Template\u2026"), "Use the Built-in Template",
                                 "", "About Tortelet Studio"}));
    EXPECT_EQ(form->contextMenuPolicy(), Qt::ActionsContextMenu);
    form->actions().at(6)->trigger();
    ASSERT_EQ(system.messages.shown.size(), 2u);
    EXPECT_EQ(system.messages.shown[1].title, QStringLiteral("About Tortelet Studio"));
    EXPECT_TRUE(system.messages.shown[1].text.contains(QStringLiteral("Licence: proprietary")));
    EXPECT_TRUE(system.messages.shown[1].text.contains(QCoreApplication::applicationFilePath()));

    // A label too long for its column shows whole in a tooltip; a short one has none.
    const QString longLabel = QStringLiteral("Savings account at the cooperative bank, opened for the grandchildren");
    form->list().AppendEntry(longLabel, QStringLiteral("1"));
    QTreeWidget* view = list(*form);
    const auto tipAt = [view](int row) {
        const QPoint at = view->visualItemRect(view->topLevelItem(row)).topLeft() + QPoint(4, 4);
        QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0), QString());
    EXPECT_EQ(tipAt(6), longLabel);
}

TEST_F(MainWindowAtHome, TheBuiltChartIsDescribedSliceBySliceAndTheProgramComesToTheFront)
{
    const testing_support::EnvironmentValue temp("TEMP", folder.path().toUtf8());
    auto form = start();
    control<QPushButton>(*form, "PushButton1")->click();
    preview::Form2* preview = form->previewWindow();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(system.messages.shown.empty()) << system.messages.shown[0].text.toStdString();
    EXPECT_EQ(role(preview), QAccessible::Window);
    const QString description =
        QAccessible::queryAccessibleInterface(control<QWidget>(*preview, "Picture1"))->text(QAccessible::Description);
    const QLocale locale;
    // 363,500 in all: Savings 25,000 is 6.9 %, House 250,000 is 68.8 %.
    const QString savings = QStringLiteral("Savings: 25000, ") + locale.toString(6.9, 'f', 1) + QStringLiteral(" %");
    const QString house = QStringLiteral("House: 250000, ") + locale.toString(68.8, 'f', 1) + QStringLiteral(" %");
    EXPECT_TRUE(description.startsWith(QStringLiteral("Pie chart of 6 entries."))) << description.toStdString();
    EXPECT_LT(description.indexOf(savings), description.indexOf(house)) << description.toStdString();
    EXPECT_GE(description.indexOf(savings), 0) << description.toStdString();

    // Another start asks the program forward: the preview, which is the window in use.
    preview->showMinimized();
    form->bringToFront();
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->isMinimized());
    EXPECT_FALSE(form->isVisible());
}

}  // namespace
