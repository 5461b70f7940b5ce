#include "SampleSet.h"

#include "EntryListText.h"

namespace entries {

const std::vector<Entry>& SampleSet()
{
    static const std::vector<Entry> sample{
        {QStringLiteral("Savings"), QStringLiteral("25000")}, {QStringLiteral("401k"), QStringLiteral("55000")},
        {QStringLiteral("Stocks"), QStringLiteral("15000")},  {QStringLiteral("House"), QStringLiteral("250000")},
        {QStringLiteral("Bonds"), QStringLiteral("11000")},   {QStringLiteral("Car"), QStringLiteral("7500")},
    };
    return sample;
}

QString DefaultEntryListText()
{
    QString text = EncodeEntryList(SampleSet());
    text.chop(kRowSeparator.size());
    return text;
}

}  // namespace entries
