#include "EntryStore.h"

#include "EntryListText.h"
#include "SampleSet.h"

#include <stdexcept>

namespace entries {

namespace {
// A report quotes no more of an entry than a person reads; it is cut again for showing.
constexpr qsizetype kMostQuoted = 400;

const QString& amountPart(const QStringList& parts)
{
    if (parts.size() < 2)
        throw std::out_of_range("Subscript out of range: the stored entry \"" +
                                parts.value(0).left(kMostQuoted).toStdString() + "\" has no amount");
    return parts.at(1);
}
}  // namespace

void LoadEntryList(EntryList& list, platform::SettingsStore& settings, common::Handler& h, int firstLine)
{
    h(firstLine, [&] { list.CreateColumns(); });
    QString text;
    h(firstLine + 2, [&] {
        text = settings.read(kAssetsKey).value_or(DefaultEntryListText());
        settings.checkLastRead();
    });
    std::vector<QStringList> stored;
    h(firstLine + 4, [&] { stored = SplitEntryList(text); });
    for (const QStringList& parts : stored) {
        int row = 0;
        h(firstLine + 6, [&] { row = list.appendLabel(parts.at(0)); });
        h(firstLine + 8, [&] { list.setAmount(row, amountPart(parts)); });
    }
    h(firstLine + 10, [&] { list.setAmountLocale(settings.read(kAmountLocaleKey).value_or(QString())); });
}

void SaveEntryList(const EntryList& list, platform::SettingsStore& settings)
{
    settings.write(kAssetsKey, EncodeEntryList(list.rows()));
    settings.write(kAmountLocaleKey, list.amountLocale());
}

}  // namespace entries
