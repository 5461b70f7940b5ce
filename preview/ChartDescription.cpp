#include "ChartDescription.h"

#include <cmath>
#include <optional>

namespace preview {

namespace {
std::optional<double> amountOf(const QString& text, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (ok && std::isfinite(value))
        return value;
    const double plain = QLocale::c().toDouble(text.trimmed(), &ok);
    if (ok && std::isfinite(plain))
        return plain;
    return std::nullopt;
}
}  // namespace

QString DescribeChart(const std::vector<ChartSlice>& slices, const QLocale& locale)
{
    double total = 0;
    for (const ChartSlice& slice : slices)
        total += std::fabs(amountOf(slice.amount, locale).value_or(0));
    QString text = slices.size() == 1 ? QStringLiteral("Pie chart of 1 entry.")
                                      : QStringLiteral("Pie chart of %1 entries.").arg(slices.size());
    for (const ChartSlice& slice : slices) {
        text += QLatin1Char(' ') + slice.label + QStringLiteral(": ") + slice.amount.trimmed();
        const std::optional<double> amount = amountOf(slice.amount, locale);
        if (amount && total > 0)
            text += QStringLiteral(", ") + locale.toString(std::fabs(*amount) / total * 100, 'f', 1) + QStringLiteral(" %");
        text += QLatin1Char('.');
    }
    return text;
}

}  // namespace preview
