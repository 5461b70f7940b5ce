// Undo and redo of the editing commands: any sequence of commands and undos gives back, step by
// step, exactly the lists before them.

#include "entries/EntryCommands.h"
#include "support/ScriptedPlatform.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

#include <random>

namespace {

struct History : ::testing::Test {
    testing_support::ScriptedPlatform system;
    QWidget window;
    QTreeWidget view{&window};
    entries::EntryList list{view};
    common::PointerState pointer{window};
    entries::EntryCommands commands{list, pointer, system.platform()};

    History() { list.CreateColumns(); }
};

TEST_F(History, AnySequenceOfCommandsAndUndosGivesBackExactlyTheListsBeforeThem)
{
    std::mt19937 draw(20261208);
    const auto pick = [&draw](int count) { return static_cast<int>(draw() % static_cast<unsigned>(count)); };
    entries::EditHistory& history = commands.history();
    for (int run = 0; run < 40; ++run) {
        history.stack().clear();
        list.setRows({{QStringLiteral("Car"), QStringLiteral("7500")}, {QStringLiteral("House"), QStringLiteral("250000")}});
        // The list at each step of the history, and where the history stands.
        std::vector<std::vector<entries::Entry>> states{list.rows()};
        std::size_t at = 0;
        for (int step = 0; step < 14; ++step) {
            if (list.count() > 0 && pick(3) > 0)
                list.select(1 + pick(list.count()));
            system.inputs.answers = {QStringLiteral("L%1").arg(pick(1000)),
                                     pick(5) == 0 ? QStringLiteral("no") : QString::number(pick(100000))};
            switch (pick(7)) {
            case 0: commands.PushButton2_Click(); break;
            case 1: commands.PushButton3_Click(); break;
            case 2: commands.PushButton4_Click(); break;
            case 3: commands.PushButton5_Click(); break;
            case 4: commands.PushButton7_Click(); break;
            case 5:
                history.undo();
                at -= at > 0 ? 1 : 0;
                ASSERT_EQ(list.rows(), states[at]);
                continue;
            default:
                history.redo();
                at += at + 1 < states.size() ? 1 : 0;
                ASSERT_EQ(list.rows(), states[at]);
                continue;
            }
            if (list.rows() != states[at]) {
                states.resize(at + 1);
                states.push_back(list.rows());
                ++at;
            }
            ASSERT_EQ(static_cast<std::size_t>(history.stack().index()), at);
        }
        // Back to the start one step at a time, then forward again to the last step.
        for (; at > 0; --at) {
            history.undo();
            ASSERT_EQ(list.rows(), states[at - 1]);
        }
        for (; at + 1 < states.size(); ++at) {
            history.redo();
            ASSERT_EQ(list.rows(), states[at + 1]);
        }
        EXPECT_FALSE(history.stack().canRedo());
    }
}

}  // namespace
