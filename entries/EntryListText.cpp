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

namespace {
const QString kSeparators[] = {kEntrySeparator, kRowSeparator};

bool endsOfAny(const QString& part, bool beginning)
{
    for (const QString& separator : kSeparators)
        if (beginning ? separator.startsWith(part, Qt::CaseSensitive) : separator.endsWith(part, Qt::CaseSensitive))
            return true;
    return false;
}
}  // namespace

bool StoresIntact(const QString& text)
{
    for (const QString& separator : kSeparators) {
        if (text.contains(separator, Qt::CaseSensitive))
            return false;
        for (qsizetype part = 1; part < separator.size(); ++part) {
            if (text.endsWith(separator.left(part), Qt::CaseSensitive) ||
                text.startsWith(separator.right(part), Qt::CaseSensitive))
                return false;
        }
        // Between two separators, a text that is the middle of a third ("SEP2") would complete it.
        const qsizetype around = separator.size() - text.size();
        for (qsizetype before = 1; before < around; ++before) {
            if (separator.mid(before, text.size()) == text && endsOfAny(separator.left(before), false) &&
                endsOfAny(separator.right(around - before), true))
                return false;
        }
    }
    return true;
}

}  // namespace entries
