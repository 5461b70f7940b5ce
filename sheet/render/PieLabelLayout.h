#pragma once

#include <QLineF>
#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

namespace sheet::render {

// A data label of a pie and where it stands.
struct PieLabel {
    QRectF box;
    bool inside = false;  // inside its slice, where it stays
    QPointF anchor;       // outside its slice: where its leader line meets the slice
    QPointF outward;      // outside its slice: the way along its leader line away from the pie, of length 1
    bool shown = true;
};

// Places the labels of a crowded pie so that none is drawn over another, nor over a leader line, nor a
// leader line over a label, and none crosses the edge of `bounds`. The labels inside their slices stay
// where they are. Each label outside its slice, in the order given, keeps its place when that is free and
// within `bounds`; else it slides straight away from the pie's centre line past what is in its way, and
// when that finds no free place in `bounds` it moves out along its leader line to the first free place.
// Failing that, when it may go anywhere, it takes the free place nearest its first one in any direction
// that leads no nearer the pie. A label that finds none in `bounds` is left out. Labels keep clear of the
// title and the legend in the same way.
class PieLabelLayout {
public:
    enum class Reach { Near, Anywhere };

    PieLabelLayout(const QRectF& bounds, double centreLineY, bool leaderLines, Reach reach = Reach::Near)
        : bounds_(bounds), centreLineY_(centreLineY), leaderLines_(leaderLines), reach_(reach)
    {
    }

    // `keepClear` holds what no label may cover: the chart's title and legend.
    void arrange(std::vector<PieLabel>& labels, const std::vector<QRectF>& keepClear = {}) const;
    // The same, but giving up at the first label that has to be left out, and then showing none: true when
    // every label is shown.
    bool arrangeAll(std::vector<PieLabel>& labels, const std::vector<QRectF>& keepClear = {}) const;

    // The leader line drawn for an outside label: from its anchor to the nearest point of a margin around
    // its box; none when that is too short to show.
    static std::optional<QLineF> leaderLine(const PieLabel& label);

private:
    class Placed;

    bool arrange(std::vector<PieLabel>& labels, const std::vector<QRectF>& keepClear, bool all) const;
    bool place(PieLabel& label, const Placed& placed) const;
    std::optional<QLineF> leaderOf(const PieLabel& label) const;

    QRectF bounds_;
    double centreLineY_;
    bool leaderLines_;
    Reach reach_;
};

}  // namespace sheet::render
