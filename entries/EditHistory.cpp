#include "EditHistory.h"

#include <QUndoCommand>

namespace entries {

namespace {
// The list with the row that was selected, 0 for none.
struct ListState {
    std::vector<Entry> rows;
    int selected = 0;
};

ListState stateOf(const EntryList& list)
{
    int selected = 0;
    try {
        selected = list.selectedRow();
    } catch (const std::exception&) {
        // No row is selected.
    }
    return ListState{list.rows(), selected};
}

void bringBack(EntryList& list, const ListState& state)
{
    list.setRows(state.rows);
    if (state.selected > 0 && state.selected <= list.count())
        list.select(state.selected);
}

// One command: the edit was done when it was recorded, so the first redo has nothing to do.
class ListEdit final : public QUndoCommand {
public:
    ListEdit(const QString& text, EntryList& list, ListState before, ListState after)
        : QUndoCommand(text), list_(list), before_(std::move(before)), after_(std::move(after))
    {
    }

    void undo() override { bringBack(list_, before_); }
    void redo() override
    {
        if (done_)
            bringBack(list_, after_);
        done_ = true;
    }

private:
    EntryList& list_;
    ListState before_;
    ListState after_;
    bool done_ = false;
};
}  // namespace

EditHistory::EditHistory(EntryList& list) : list_(list) {}

void EditHistory::record(const QString& text, const std::function<void()>& edit)
{
    ListState before = stateOf(list_);
    edit();
    ListState after = stateOf(list_);
    if (after.rows != before.rows)
        stack_.push(new ListEdit(text, list_, std::move(before), std::move(after)));
}

}  // namespace entries
