#include "sheet/render/PiePainter.h"

#include "sheet/render/PieGeometry.h"
#include "sheet/render/PieLabelFit.h"
#include "sheet/render/PieLabelLayout.h"
#include "sheet/render/PieLabelText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>

namespace sheet::render {

namespace {

constexpr double margin = 0.05;          // of the chart area, around the automatic plot area
constexpr double thicknessFactor = 0.1;  // rim depth at 100 % height, in radii
constexpr double labelGap = 0.08;        // radii between a slice and a label outside it

// Each slice's share of the whole, from 0 to 1; none when nothing is positive. The values are
// scaled by the largest before they are added, so that amounts near the largest a double holds
// still add up.
std::vector<double> sliceShares(const PieChart& chart)
{
    double largest = 0;
    for (const PieSlice& slice : chart.slices) {
        if (std::isfinite(slice.value))
            largest = std::max(largest, slice.value);
    }
    std::vector<double> shares(chart.slices.size(), 0.0);
    if (!(largest > 0))
        return shares;
    double total = 0;
    for (const PieSlice& slice : chart.slices)
        total += slice.value / largest;
    if (!(total > 0) || !std::isfinite(total))
        return shares;
    for (std::size_t k = 0; k < shares.size(); ++k)
        shares[k] = chart.slices[k].value / largest / total;
    return shares;
}

std::vector<SliceAngles> sliceAngles(const PieChart& chart, const std::vector<double>& shares)
{
    std::vector<SliceAngles> angles;
    double start = std::fmod(chart.firstSliceAngle, 360.0);
    if (start < 0)
        start += 360.0;
    for (double share : shares) {
        const double sweep = 360.0 * share;
        angles.push_back({start, sweep});
        start += sweep;
    }
    return angles;
}

// A category is shown at most this share of the chart's width, cut short with an ellipsis beyond: a longer
// one would push its value and percentage, or the plot, out of the picture.
constexpr double widestCategory = 0.4;

QString shownCategory(const PieSlice& slice, const QFontMetricsF& metrics, double widest)
{
    return metrics.elidedText(slice.category, Qt::ElideRight, widest);
}

PieLabelText labelText(const PieChart& chart, const PieSlice& slice, double share, bool anyShare,
                       const QFontMetricsF& metrics, double widest)
{
    QStringList parts;
    if (slice.showCategory && !slice.category.isEmpty())
        parts << shownCategory(slice, metrics, widest);
    if (slice.showValue)
        parts << slice.valueText;
    if (slice.showPercent && anyShare)
        parts << QStringLiteral("%1%").arg(std::lround(100.0 * share));
    return {parts, chart.labelSeparator};
}

QRectF titleBand(QPainter& painter, const QRectF& area, const PieChart& chart)
{
    if (chart.title.isEmpty())
        return {area.left(), area.top(), area.width(), 0};
    const QFontMetricsF metrics(chart.titleFont, painter.device());
    const double height = metrics.height() * (chart.title.count('\n') + 1);
    return {area.left(), area.top() + area.height() * 0.03, area.width(), height};
}

// The title's own text in its band, which labels keep clear of.
QRectF titleText(QPainter& painter, const QRectF& band, const PieChart& chart)
{
    if (chart.title.isEmpty())
        return {};
    return QFontMetricsF(chart.titleFont, painter.device()).boundingRect(band, Qt::AlignHCenter | Qt::AlignTop, chart.title);
}

void paintTitle(QPainter& painter, const QRectF& band, const PieChart& chart)
{
    if (chart.title.isEmpty())
        return;
    painter.setFont(chart.titleFont);
    painter.setPen(chart.titleColour);
    painter.drawText(band, Qt::AlignHCenter | Qt::AlignTop, chart.title);
}

constexpr double swatchGap = 6;

QSizeF legendSize(QPainter& painter, double widest, const PieChart& chart)
{
    const QFontMetricsF metrics(chart.legendFont, painter.device());
    double width = 0;
    for (const PieSlice& slice : chart.slices)
        width = std::max(width, metrics.horizontalAdvance(shownCategory(slice, metrics, widest)));
    const double swatch = metrics.ascent() * 0.7;
    return {swatch + swatchGap + width + 2 * swatchGap, metrics.height() * static_cast<double>(chart.slices.size()) + 2 * swatchGap};
}

// Takes the legend's room from the side it stands on and returns where it goes.
QRectF placeLegend(QPainter& painter, double widest, QRectF& room, const PieChart& chart)
{
    const QSizeF size = legendSize(painter, widest, chart);
    using Place = PieChart::LegendPlace;
    switch (*chart.legend) {
    case Place::Left:
        room.setLeft(room.left() + size.width());
        return {room.left() - size.width(), room.center().y() - size.height() / 2, size.width(), size.height()};
    case Place::Top:
        room.setTop(room.top() + size.height());
        return {room.center().x() - size.width() / 2, room.top() - size.height(), size.width(), size.height()};
    case Place::Bottom:
        room.setBottom(room.bottom() - size.height());
        return {room.center().x() - size.width() / 2, room.bottom(), size.width(), size.height()};
    case Place::Corner:
        room.setRight(room.right() - size.width());
        return {room.right(), room.top(), size.width(), size.height()};
    case Place::Right:
        break;
    }
    room.setRight(room.right() - size.width());
    return {room.right(), room.center().y() - size.height() / 2, size.width(), size.height()};
}

void paintLegend(QPainter& painter, const QRectF& box, double widest, const PieChart& chart)
{
    const QFontMetricsF metrics(chart.legendFont, painter.device());
    const double swatch = metrics.ascent() * 0.7;
    painter.setFont(chart.legendFont);
    double y = box.top() + swatchGap;
    for (const PieSlice& slice : chart.slices) {
        painter.fillRect(QRectF(box.left() + swatchGap, y + (metrics.height() - swatch) / 2, swatch, swatch), slice.colour);
        painter.setPen(chart.labelColour);
        painter.drawText(QPointF(box.left() + 2 * swatchGap + swatch, y + metrics.ascent()), shownCategory(slice, metrics, widest));
        y += metrics.height();
    }
}

// The plot area: where the chart's records put it in the chart area, or what
// the title and the legend leave of it, inside a margin.
QRectF plotRect(const QRectF& area, const QRectF& room, const PieChart& chart)
{
    if (chart.plotArea) {
        const QRectF& f = *chart.plotArea;
        return {area.left() + f.left() * area.width(), area.top() + f.top() * area.height(),
                f.width() * area.width(), f.height() * area.height()};
    }
    const double dx = area.width() * margin;
    const double dy = area.height() * margin;
    return room.adjusted(dx, dy, -dx, -dy);
}

// The largest disc, exploded slices included, that the plot rectangle holds.
PieDisc fitDisc(const QRectF& plot, const PieChart& chart, double labelWidth, double labelHeight)
{
    const double explode = std::accumulate(chart.slices.begin(), chart.slices.end(), 0.0,
                                           [](double m, const PieSlice& s) { return std::max(m, s.explode); });
    const bool automatic = !chart.plotArea;
    const double availableWidth = std::max(1.0, plot.width() - (automatic ? 2 * labelWidth : 0));
    const double availableHeight = std::max(1.0, plot.height() - (automatic ? 2 * labelHeight : 0));
    const double tilt = chart.threeD ? std::sin(qDegreesToRadians(std::clamp(chart.elevation, 0.0, 90.0))) : 1.0;
    const double depth = chart.threeD
        ? thicknessFactor * std::clamp(chart.heightPercent, 5.0, 500.0) / 100.0
            * std::cos(qDegreesToRadians(std::clamp(chart.elevation, 0.0, 90.0)))
        : 0.0;
    const double byWidth = availableWidth / (2 * (1 + explode));
    const double byHeight = availableHeight / (2 * tilt * (1 + explode) + depth);
    PieDisc disc;
    disc.ellipse.rx = std::max(1.0, std::min(byWidth, byHeight));
    disc.ellipse.ry = disc.ellipse.rx * tilt;
    disc.thickness = disc.ellipse.rx * depth;
    disc.ellipse.centre = QPointF(plot.center().x(), plot.center().y() - disc.thickness / 2);
    return disc;
}

QPainterPath withHole(const QPainterPath& sector, const PieEllipse& ellipse, double holePercent)
{
    if (holePercent <= 0)
        return sector;
    const double factor = std::clamp(holePercent, 0.0, 90.0) / 100.0;
    QPainterPath hole;
    hole.addEllipse(ellipse.centre, ellipse.rx * factor, ellipse.ry * factor);
    return sector.subtracted(hole);
}

void paintSliceSides(QPainter& painter, const PieDisc& disc, const SliceAngles& a, const QColor& colour)
{
    const PieEllipse& e = disc.ellipse;
    const double t = disc.thickness;
    const double end = a.start + a.sweep;
    if (a.sweep < 360) {
        painter.setBrush(colour.darker(150));
        // A cut face that turns away from the viewer lies behind the slice's own rim and other face:
        // the first face shows on the left half, the last on the right.
        const struct {
            double angle;
            double towardsViewer;
        } faces[] = {{a.start, -1.0}, {end, 1.0}};
        for (const auto& face : faces) {
            if (face.towardsViewer * std::sin(qDegreesToRadians(face.angle)) < -1e-9)
                continue;
            const QPointF edge = e.point(face.angle);
            const QPointF polygon[] = {e.centre, edge, edge + QPointF(0, t), e.centre + QPointF(0, t)};
            painter.drawPolygon(polygon, 4);
        }
    }
    // The rim shows where the slice passes in front, between three and nine o'clock.
    painter.setBrush(colour.darker(125));
    for (double front : {90.0, 450.0}) {
        const double from = std::max(a.start, front);
        const double to = std::min(end, front + 180.0);
        if (to > from)
            painter.drawPath(e.rim(from, to, t));
    }
}

PieLabel placeLabel(QPainter& painter, const PieChart& chart, const PieDisc& disc, const SliceAngles& a,
                    const QPointF& offset, const QPainterPath& top, const QString& text)
{
    const QFontMetricsF metrics(chart.labelFont, painter.device());
    const QSizeF size = metrics.size(0, text);
    PieLabel label;
    const PieEllipse moved{disc.ellipse.centre + offset, disc.ellipse.rx, disc.ellipse.ry};
    const QPointF inner = moved.point(a.middle(), 0.62);
    const QRectF innerBox(inner.x() - size.width() / 2, inner.y() - size.height() / 2, size.width(), size.height());
    if (top.contains(innerBox)) {
        label.box = innerBox;
        label.inside = true;
        return label;
    }
    const double radians = qDegreesToRadians(a.middle());
    const double sine = std::sin(radians);
    const double cosine = std::cos(radians);
    QPointF outer = moved.point(a.middle(), 1 + labelGap);
    if (cosine < 0)
        outer.ry() += disc.thickness;
    label.anchor = moved.point(a.middle(), 1.0);
    label.outward = QPointF(disc.ellipse.rx * sine, -disc.ellipse.ry * cosine);
    const double x = sine > 0.2 ? outer.x() : sine < -0.2 ? outer.x() - size.width() : outer.x() - size.width() / 2;
    const double y = cosine > 0.2 ? outer.y() - size.height() : cosine < -0.2 ? outer.y() : outer.y() - size.height() / 2;
    label.box = QRectF(x, y, size.width(), size.height());
    return label;
}

void paintLabel(QPainter& painter, const PieChart& chart, const PieLabel& label, const PieLabelText& text)
{
    if (chart.leaderLines) {
        if (const std::optional<QLineF> leader = PieLabelLayout::leaderLine(label)) {
            painter.setPen(QPen(chart.labelColour, 1));
            painter.drawLine(*leader);
        }
    }
    painter.setFont(chart.labelFont);
    painter.setPen(chart.labelColour);
    text.paint(painter, label.box);
}

}  // namespace

void paintPieChart(QPainter& painter, const QRectF& area, const PieChart& chart)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(chart.border ? QPen(*chart.border, 1) : QPen(Qt::NoPen));
    painter.setBrush(chart.background);
    painter.drawRect(chart.border ? area.adjusted(0.5, 0.5, -0.5, -0.5) : area);

    const QRectF title = titleBand(painter, area, chart);
    paintTitle(painter, title, chart);
    QRectF room = area;
    room.setTop(title.bottom());
    const double widest = area.width() * widestCategory;
    const QRectF legendBox = chart.legend ? placeLegend(painter, widest, room, chart) : QRectF();
    const QRectF plot = plotRect(area, room, chart);
    if (chart.plotBackground)
        painter.fillRect(plot, *chart.plotBackground);

    const std::vector<double> shares = sliceShares(chart);
    const bool anyShare = std::any_of(shares.begin(), shares.end(), [](double share) { return share != 0; });
    std::vector<PieLabelText> texts;
    std::vector<QSizeF> textSizes;
    double labelWidth = 0;
    double labelHeight = 0;
    const QFontMetricsF metrics(chart.labelFont, painter.device());
    for (std::size_t k = 0; k < chart.slices.size(); ++k) {
        texts.push_back(labelText(chart, chart.slices[k], shares[k], anyShare, metrics, widest));
        textSizes.push_back(texts.back().isEmpty() ? QSizeF() : metrics.size(0, texts.back().joined()));
        labelWidth = std::max(labelWidth, textSizes.back().width());
        labelHeight = std::max(labelHeight, textSizes.back().height());
    }
    const PieDisc fullDisc = fitDisc(plot, chart, labelWidth, labelHeight);
    const std::vector<SliceAngles> angles = sliceAngles(chart, shares);

    // Back slices first, so that nearer ones cover them.
    std::vector<std::size_t> order(chart.slices.size());
    std::iota(order.begin(), order.end(), 0);
    if (chart.threeD) {
        std::stable_sort(order.begin(), order.end(), [&angles](std::size_t l, std::size_t r) {
            return -std::cos(qDegreesToRadians(angles[l].middle())) < -std::cos(qDegreesToRadians(angles[r].middle()));
        });
    }
    const auto offsetOf = [&](const PieDisc& disc, std::size_t index) {
        return disc.ellipse.explodeOffset(angles[index].middle(), chart.slices[index].explode);
    };
    const auto movedDisc = [](const PieDisc& disc, const QPointF& offset) {
        return PieDisc{{disc.ellipse.centre + offset, disc.ellipse.rx, disc.ellipse.ry}, disc.thickness};
    };
    const auto sliceTop = [&](const PieDisc& moved, std::size_t index) {
        const SliceAngles& a = angles[index];
        return chart.threeD ? moved.ellipse.sector(a.start, a.sweep)
                            : withHole(moved.ellipse.sector(a.start, a.sweep), moved.ellipse, chart.donutHolePercent);
    };

    // The labels of the slices that have one, in the order the slices are drawn.
    std::vector<std::size_t> labelled;
    std::vector<PieLabelFit::Candidate> candidates;
    for (std::size_t index : order) {
        if (angles[index].sweep > 0 && !texts[index].isEmpty()) {
            labelled.push_back(index);
            candidates.push_back({chart.slices[index].value, textSizes[index].width() * textSizes[index].height(),
                                  static_cast<std::uint32_t>(index)});
        }
    }
    // Labels stay within the chart area and clear of the title and the legend.
    const std::vector<QRectF> keepClear{titleText(painter, title, chart), legendBox};
    std::vector<PieLabel> labels;
    std::vector<PieLabelText> labelTexts;
    // The pie may shrink for its labels until it is a third of the area's shorter side wide.
    const double smallestWidth = std::min(area.width(), area.height()) / 3;
    const double smallestFactor = std::min(1.0, smallestWidth / (2 * fullDisc.ellipse.rx));
    const auto arrangeLabels = [&](double factor, const std::vector<bool>& kept, bool anywhere) {
        const PieDisc disc = fullDisc.scaled(factor);
        labels.clear();
        labelTexts.clear();
        for (std::size_t k = 0; k < labelled.size(); ++k) {
            if (!kept[k])
                continue;
            const std::size_t index = labelled[k];
            const PieSlice& slice = chart.slices[index];
            const SliceAngles& a = angles[index];
            const QPointF offset = offsetOf(disc, index);
            const QPainterPath top = sliceTop(movedDisc(disc, offset), index);
            PieLabelText text = texts[index];
            PieLabel label = placeLabel(painter, chart, disc, a, offset, top, text.joined());
            // A label that would stand out of the area sideways beside the smallest pie gives up more of its
            // category; beside a larger one, the pie shrinks first.
            const double over = std::max(area.left() - label.box.left(), label.box.right() - area.right());
            if (over > 0 && factor <= smallestFactor && slice.showCategory && !slice.category.isEmpty()) {
                const double category = metrics.horizontalAdvance(shownCategory(slice, metrics, widest));
                text = labelText(chart, slice, shares[index], anyShare, metrics, std::max(0.0, category - over));
                label = placeLabel(painter, chart, disc, a, offset, top, text.joined());
            }
            labels.push_back(label);
            labelTexts.push_back(text);
        }
        using Reach = PieLabelLayout::Reach;
        return PieLabelLayout(area, disc.ellipse.centre.y(), chart.leaderLines, anywhere ? Reach::Anywhere : Reach::Near)
            .arrangeAll(labels, keepClear);
    };
    const PieLabelFit fit(candidates, area.width() * area.height(), smallestFactor);
    const PieLabelFit::Choice choice = fit.choose(arrangeLabels);
    arrangeLabels(choice.factor, choice.kept, choice.anywhere);
    const PieDisc disc = fullDisc.scaled(choice.factor);

    painter.setPen(Qt::NoPen);
    for (std::size_t index : order) {
        const PieSlice& slice = chart.slices[index];
        if (angles[index].sweep <= 0)
            continue;
        const PieDisc moved = movedDisc(disc, offsetOf(disc, index));
        if (chart.threeD)
            paintSliceSides(painter, moved, angles[index], slice.colour);
        painter.setBrush(slice.colour);
        painter.drawPath(sliceTop(moved, index));
    }
    if (chart.legend)
        paintLegend(painter, legendBox, widest, chart);
    for (std::size_t k = 0; k < labels.size(); ++k) {
        if (labels[k].shown)
            paintLabel(painter, chart, labels[k], labelTexts[k]);
    }
    painter.restore();
}

}  // namespace sheet::render
