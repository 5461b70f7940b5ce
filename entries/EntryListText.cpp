#include "EntryListText.h"

namespace entries {

QString EncodeEntryList(const std::vector<Entry>& rows)
{
    QString text;
    for (const Entry& row : rows)
        text += row.label + kEntrySeparator + row.amount + kRowSeparator;
    return text;
}

std::vector<QStringList> SplitEntryList(const QString& text)
{
    std::vector<QStringList> entries;
    if (text.isEmpty())
        return entries;
    for (const QString& piece : text.split(kRowSeparator, Qt::KeepEmptyParts, Qt::CaseSensitive)) {
        if (!piece.isEmpty())
            entries.push_back(piece.split(kEntrySeparator, Qt::KeepEmptyParts, Qt::CaseSensitive));
    }
    return entries;
}

// Each separator is found from the left and taken whole, so what precedes an entry's stored text
// ends with a separator already taken, and what follows its closing separator cannot reach back
// into it. The entry at the start of the text and after another one is therefore every case.
bool StoresIntact(const Entry& entry)
{
    const std::vector<Entry> alone{entry};
    const std::vector<Entry> second{{QStringLiteral("a"), QStringLiteral("1")}, entry};
    for (const std::vector<Entry>* rows : {&alone, &second}) {
        const std::vector<QStringList> split = SplitEntryList(EncodeEntryList(*rows));
        if (split.size() != rows->size() || split.back() != QStringList{entry.label, entry.amount})
            return false;
    }
    return true;
}

}  // namespace entries
