#pragma once

#include <QLocale>
#include <QString>

#include <vector>

namespace preview {

// One entry of the chart as the list holds it: the label and the amount as typed.
struct ChartSlice {
    QString label;
    QString amount;
};

// What a screen reader says of the chart picture: that it is a pie chart, then each slice in the
// list's order with its label, its amount as typed and its share of the pie in per cent. A pie
// draws the size of each amount, so a negative amount counts by its size.
QString DescribeChart(const std::vector<ChartSlice>& slices, const QLocale& locale = QLocale());

}  // namespace preview
