#pragma once

#include "Entry.h"

#include <QStringList>
#include <vector>

namespace entries {

inline const QString kEntrySeparator = QStringLiteral("||SEP1||");
inline const QString kRowSeparator = QStringLiteral("||SEP2||");

// The stored form of a list: label, "||SEP1||", amount, "||SEP2||" for every entry.
QString EncodeEntryList(const std::vector<Entry>& rows);

// The stored text cut into entries: each non-empty piece between "||SEP2||" split at "||SEP1||".
// A piece without "||SEP1||" yields one part only; its amount is missing.
std::vector<QStringList> SplitEntryList(const QString& text);

// True when the entry reads back from the stored text as itself wherever it stands in the list.
// Only texts that hold a separator, or that complete one with the separator beside them in the
// stored text ("a||SEP2|" before "||SEP1||"), fail.
bool StoresIntact(const Entry& entry);

}  // namespace entries
