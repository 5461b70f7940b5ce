#pragma once

#include "Entry.h"
#include "EntryList.h"

#include <QUndoStack>

#include <functional>
#include <vector>

namespace entries {

// The undo and redo of the editing commands within one run. Each command that changes the list is
// kept as the list before and after it, so that undoing it gives back exactly the list before it.
class EditHistory {
public:
    explicit EditHistory(EntryList& list);

    // Runs an edit of the list; when it changed the list, it becomes the next step to undo, named
    // `text` ("Delete", "Clear List", ...).
    void record(const QString& text, const std::function<void()>& edit);

    void undo() { stack_.undo(); }
    void redo() { stack_.redo(); }
    QUndoStack& stack() { return stack_; }

private:
    EntryList& list_;
    QUndoStack stack_;
};

}  // namespace entries
