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

// True when a text would cut the stored list if it were kept in a row.
bool HoldsSeparator(const QString& text);

}  // namespace entries
