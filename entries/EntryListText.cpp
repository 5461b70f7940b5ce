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

bool HoldsSeparator(const QString& text)
{
    return text.contains(kEntrySeparator, Qt::CaseSensitive) || text.contains(kRowSeparator, Qt::CaseSensitive);
}

}  // namespace entries
