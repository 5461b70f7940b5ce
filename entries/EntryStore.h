#pragma once

#include "EntryList.h"

#include "common/Handler.h"
#include "platform/SettingsStore.h"

namespace entries {

inline const QString kAssetsKey = QStringLiteral("Assets");
inline const QString kAmountLocaleKey = QStringLiteral("Amount Locale");

// Restores the list from the settings store as part of a carrying handler: creates the
// columns, reads "Assets" (the sample set when it was never written) and appends a row per
// stored entry, then reads the locale the amounts were typed in. Its statements are numbered from firstLine on; an entry without an amount is
// reported and keeps an empty amount, and restoring goes on. A store that cannot be read in full
// is reported on the reading line, and restoring goes on with what could be read.
void LoadEntryList(EntryList& list, platform::SettingsStore& settings, common::Handler& h, int firstLine);

// Writes the whole list to "Assets", always, also when it is empty, and the locale its amounts were
// typed in to "Amount Locale". Throws when the store fails.
void SaveEntryList(const EntryList& list, platform::SettingsStore& settings);

}  // namespace entries
