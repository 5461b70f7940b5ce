#pragma once

#include "sheet/render/PieChart.h"

class QPainter;

namespace sheet::render {

// Draws a pie chart into a rectangle of the painter: the chart area, the
// title, the slices (flat or as a 3-D disc seen from its elevation) and the
// data labels.
void paintPieChart(QPainter& painter, const QRectF& area, const PieChart& chart);

}  // namespace sheet::render
