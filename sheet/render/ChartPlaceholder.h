#pragma once

#include "sheet/model/Chart.h"

#include <QPainter>
#include <QRectF>
#include <QString>

namespace sheet::render {

// What stands for a chart that is not drawn as it looks: its type in a sentence ("Column chart"),
// below its title when it has one.
QString chartPlaceholderText(const model::Chart& chart);

// A chart that is not a pie, drawn as a white box in a grey frame over `area` with its placeholder text
// in the middle.
void paintChartPlaceholder(QPainter& painter, const QRectF& area, const model::Chart& chart);

}  // namespace sheet::render
