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

// True when a label or an amount reads back as itself wherever it stands in the stored list: it holds
// no separator, and the separators beside it in the stored text cannot complete one with it. So it
// neither begins with the end of a separator nor ends with the beginning of one ("a||SEP2|" before
// "||SEP1||"), nor is it the middle of one ("SEP2" between two).
bool StoresIntact(const QString& text);

}  // namespace entries
