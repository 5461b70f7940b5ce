#pragma once

#include "EditHistory.h"
#include "EntryList.h"

#include "common/PointerState.h"
#include "platform/Platform.h"

namespace entries {

// The editing commands behind the main window's buttons. None of them stores the list; each one
// that changes it can be undone.
class EntryCommands {
public:
    EntryCommands(EntryList& list, const common::PointerState& pointer, platform::Platform platform);

    void PushButton2_Click();  // "Add New"
    void PushButton3_Click();  // "Delete Selected Entry"
    void PushButton4_Click();  // "Edit Selected Entry"
    void PushButton5_Click();  // "Clear List"
    void PushButton6_Click();  // "Help"
    void PushButton7_Click();  // "Load Sample/Example Data"

    EditHistory& history() { return history_; }

private:
    void addNew();
    void deleteSelected();
    void editSelected();
    void clearList();
    void loadSample();

    // An answer the list can keep: not empty, and not cutting the stored list.
    static bool usableLabel(const QString& label);
    static bool usableAmount(const QString& label, const QString& amount);

    EntryList& list_;
    const common::PointerState& pointer_;
    platform::Platform platform_;
    EditHistory history_;
};

}  // namespace entries
