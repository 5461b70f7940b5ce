#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace sheet::render {

struct PieSlice {
    double value = 0;      // positive; values that are not positive numbers make no slice
    int point = 0;         // the slice's place in the series' values, counted from 0
    QString category;
    QColor colour;
    double explode = 0;    // distance from the centre, as a fraction of the radius
    bool showValue = false;
    bool showPercent = false;
    bool showCategory = false;
    QString valueText;     // the value as its cell shows it
};

// Everything needed to draw a pie chart, independent of where it came from.
struct PieChart {
    std::vector<PieSlice> slices;
    double firstSliceAngle = 0;  // degrees clockwise from twelve o'clock
    bool threeD = false;
    double elevation = 15;       // degrees above the pie's plane, 3-D only
    double heightPercent = 100;  // thickness of a 3-D pie, in percent of the default
    double donutHolePercent = 0;
    bool leaderLines = false;

    QString title;
    QFont titleFont;
    QColor titleColour = Qt::black;
    QFont labelFont;
    QColor labelColour = Qt::black;
    QString labelSeparator = QStringLiteral("\n");

    enum class LegendPlace { Bottom, Corner, Top, Right, Left };
    std::optional<LegendPlace> legend;  // one entry per slice: its colour and category
    QFont legendFont;

    QColor background = Qt::white;      // the chart area
    std::optional<QColor> border;       // the chart area's frame line
    std::optional<QColor> plotBackground;
    // The plot area as fractions of the chart area; automatic when not set.
    std::optional<QRectF> plotArea;
};

}  // namespace sheet::render
