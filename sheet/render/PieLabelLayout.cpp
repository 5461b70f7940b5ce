#include "sheet/render/PieLabelLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <numeric>
#include <optional>
#include <unordered_map>

namespace sheet::render {

namespace {

constexpr double stepLength = 2;   // pixels a label moves along its leader line at a time
constexpr double leaderMargin = 2; // between a leader line's end and its label
constexpr double shortestLeader = 4;
constexpr int maxSlideSteps = 200;
constexpr int directions = 16;  // looked at round a label that finds no place otherwise
constexpr int maxRings = 400;
constexpr double searchGap = 3;

bool finite(const QRectF& box)
{
    return std::isfinite(box.left()) && std::isfinite(box.top()) && std::isfinite(box.right())
        && std::isfinite(box.bottom());
}

// Whether a line passes through a box (touching its edge counts).
bool crosses(const QLineF& line, const QRectF& box)
{
    if (box.contains(line.p1()) || box.contains(line.p2()))
        return true;
    const QLineF edges[] = {{box.topLeft(), box.topRight()}, {box.topRight(), box.bottomRight()},
                            {box.bottomRight(), box.bottomLeft()}, {box.bottomLeft(), box.topLeft()}};
    return std::any_of(std::begin(edges), std::end(edges),
                       [&](const QLineF& edge) { return line.intersects(edge, nullptr) == QLineF::BoundedIntersection; });
}

QRectF extentOf(const QLineF& line)
{
    return QRectF(line.p1(), line.p2()).normalized();
}

// What is placed so far, the labels' boxes and their leader lines, filed by the cells of a coarse grid that
// they touch, so that a label is only compared with its neighbours: many slices stay cheap to label.
class PlacedItems {
public:
    explicit PlacedItems(QSizeF cell) : width_(std::max(cell.width(), 1.0)), height_(std::max(cell.height(), 1.0)) {}

    // What a label at `box` with the leader line `leader` would run into: a placed label's box, or the extent
    // of a placed leader line that crosses the box; nothing when its place is free.
    std::optional<QRectF> blocker(const QRectF& box, const std::optional<QLineF>& leader) const
    {
        std::optional<QRectF> found;
        forEachCell(box, [&](std::int64_t key) {
            const auto filed = cells_.find(key);
            if (found || filed == cells_.end())
                return;
            for (std::size_t index : filed->second) {
                const Item& item = items_[index];
                if (item.leader ? crosses(*item.leader, box) : item.box.intersects(box)) {
                    found = item.leader ? extentOf(*item.leader) : item.box;
                    return;
                }
            }
        });
        if (leader && !found) {
            forEachCell(extentOf(*leader), [&](std::int64_t key) {
                const auto filed = cells_.find(key);
                if (found || filed == cells_.end())
                    return;
                for (std::size_t index : filed->second) {
                    const Item& item = items_[index];
                    if (!item.leader && crosses(*leader, item.box)) {
                        found = item.box;
                        return;
                    }
                }
            });
        }
        return found;
    }

    void add(const QRectF& box, const std::optional<QLineF>& leader)
    {
        file({box, std::nullopt}, box);
        if (leader)
            file({{}, leader}, extentOf(*leader));
    }

private:
    struct Item {
        QRectF box;
        std::optional<QLineF> leader;
    };

    void file(const Item& item, const QRectF& extent)
    {
        items_.push_back(item);
        forEachCell(extent, [&](std::int64_t key) { cells_[key].push_back(items_.size() - 1); });
    }

    template <typename Visit>
    void forEachCell(const QRectF& box, Visit visit) const
    {
        if (!finite(box))
            return;
        const auto index = [](double at, double size) {
            return static_cast<std::int64_t>(std::floor(std::clamp(at / size, -farthest, farthest)));
        };
        for (std::int64_t column = index(box.left(), width_); column <= index(box.right(), width_); ++column)
            for (std::int64_t row = index(box.top(), height_); row <= index(box.bottom(), height_); ++row)
                visit(column * (std::int64_t{1} << 32) + row);
    }

    static constexpr double farthest = 1 << 20;  // cells from the origin; a box farther out shares the last

    double width_;
    double height_;
    std::vector<Item> items_;
    std::unordered_map<std::int64_t, std::vector<std::size_t>> cells_;
};

}  // namespace

class PieLabelLayout::Placed : public PlacedItems {
    using PlacedItems::PlacedItems;
};

std::optional<QLineF> PieLabelLayout::leaderLine(const PieLabel& label)
{
    if (label.inside)
        return std::nullopt;
    const QRectF box = label.box.adjusted(-leaderMargin, -leaderMargin, leaderMargin, leaderMargin);
    const QPointF end(std::clamp(label.anchor.x(), box.left(), box.right()),
                      std::clamp(label.anchor.y(), box.top(), box.bottom()));
    const QLineF line(label.anchor, end);
    if (!(line.length() > shortestLeader))
        return std::nullopt;
    return line;
}

bool PieLabelLayout::place(PieLabel& label, const Placed& placed) const
{
    const QRectF first = label.box;
    const auto blocker = [&] { return placed.blocker(label.box, leaderOf(label)); };
    if (bounds_.contains(label.box) && !blocker())
        return true;
    // Away from the pie's centre line, past what is in the way, as far as a few hundred pixels.
    const bool down = first.center().y() >= centreLineY_;
    int steps = 0;
    while (const std::optional<QRectF> other = blocker()) {
        // Every step short of clearing it still meets it.
        const double distance = down ? other->bottom() - label.box.top() : label.box.bottom() - other->top();
        const int needed = std::max(1, static_cast<int>(std::ceil(distance / stepLength)));
        steps += needed;
        if (steps > maxSlideSteps)
            break;
        label.box.translate(0, (down ? stepLength : -stepLength) * needed);
    }
    if (steps <= maxSlideSteps && bounds_.contains(label.box))
        return true;
    // Out along the leader line.
    label.box = first;
    const double length = std::hypot(label.outward.x(), label.outward.y());
    if (!(length > 0) || !std::isfinite(length))
        return false;
    const QPointF out = label.outward / length;
    for (label.box.translate(out * stepLength); bounds_.contains(label.box); label.box.translate(out * stepLength)) {
        if (!blocker())
            return true;
    }
    if (reach_ == Reach::Near) {
        label.box = first;
        return false;
    }
    // Else the free place nearest the first one, no nearer the pie, looking round it ring by ring.
    const double across = std::max(first.width() / 4, stepLength);
    const double upward = std::max(first.height() / 2, stepLength);
    const int rings = static_cast<int>(std::ceil(std::max(bounds_.width() / across, bounds_.height() / upward)));
    for (int ring = 1; ring <= std::min(rings, maxRings); ++ring) {
        for (int turn = 0; turn < directions; ++turn) {
            const double angle = 2 * std::numbers::pi * turn / directions;
            const QPointF offset(ring * across * std::cos(angle), ring * upward * std::sin(angle));
            if (QPointF::dotProduct(offset, out) < 0)
                continue;
            label.box = first.translated(offset);
            // Where the label is put anywhere, a gap keeps it apart from those beside it.
            if (bounds_.contains(label.box)
                && !placed.blocker(label.box.adjusted(-searchGap, -searchGap, searchGap, searchGap), leaderOf(label)))
                return true;
        }
    }
    label.box = first;
    return false;
}

std::optional<QLineF> PieLabelLayout::leaderOf(const PieLabel& label) const
{
    return leaderLines_ ? leaderLine(label) : std::nullopt;
}

void PieLabelLayout::arrange(std::vector<PieLabel>& labels, const std::vector<QRectF>& keepClear) const
{
    arrange(labels, keepClear, false);
}

bool PieLabelLayout::arrangeAll(std::vector<PieLabel>& labels, const std::vector<QRectF>& keepClear) const
{
    return arrange(labels, keepClear, true);
}

bool PieLabelLayout::arrange(std::vector<PieLabel>& labels, const std::vector<QRectF>& keepClear, bool all) const
{
    QSizeF largest;
    for (const PieLabel& label : labels)
        largest = largest.expandedTo(label.box.size());
    Placed placed(largest);
    for (const QRectF& box : keepClear)
        if (!box.isEmpty())
            placed.add(box, std::nullopt);
    std::vector<std::size_t> order(labels.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_partition(order.begin(), order.end(), [&labels](std::size_t k) { return labels[k].inside; });
    bool everyOne = true;
    for (std::size_t index : order) {
        PieLabel& label = labels[index];
        label.shown = finite(label.box)
            && (label.inside ? bounds_.contains(label.box) && !placed.blocker(label.box, std::nullopt)
                             : place(label, placed));
        if (label.shown) {
            placed.add(label.box, leaderOf(label));
            continue;
        }
        everyOne = false;
        if (all)
            break;
    }
    if (!everyOne && all) {
        for (PieLabel& label : labels)
            label.shown = false;
    }
    return everyOne;
}

}  // namespace sheet::render
