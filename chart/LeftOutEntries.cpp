#include "LeftOutEntries.h"

#include <stdexcept>

namespace chart {

namespace {
// Enough names for a person to find the entries; the count tells of the rest.
constexpr qsizetype kMostNamed = 5;
constexpr qsizetype kMostQuoted = 40;

QString quoted(const QString& text)
{
    return QStringLiteral("\u201C") + (text.size() > kMostQuoted ? text.left(kMostQuoted) + QChar(0x2026) : text) +
           QStringLiteral("\u201D");
}
}  // namespace

void LeftOutEntries::add(const QString& label, const QString& amount)
{
    if (++count_ <= kMostNamed)
        named_ << quoted(label) + QStringLiteral(" (") + quoted(amount) + QLatin1Char(')');
}

void LeftOutEntries::report() const
{
    if (count_ == 0)
        return;
    QString text = count_ == 1 ? QStringLiteral("1 entry is not in the chart, as its amount is not a number: ")
                               : QStringLiteral("%1 entries are not in the chart, as their amounts are not numbers: ")
                                     .arg(count_);
    text += named_.join(QStringLiteral(", "));
    if (count_ > named_.size())
        text += QStringLiteral(" and %1 more").arg(count_ - named_.size());
    throw std::runtime_error(text.toStdString());
}

}  // namespace chart
