#include "WindowPlacement.h"

#include <QStringList>

#include <algorithm>

namespace common {

namespace {
const QString kMaximized = QStringLiteral("maximized");

// The largest inside that, with its frame, fits the area.
QSize roomIn(const QRect& area, QSize frame)
{
    return QSize(std::max(1, area.width() - frame.width()), std::max(1, area.height() - frame.height()));
}

int clampStart(int start, int length, int areaStart, int areaLength)
{
    return std::clamp(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
}
}  // namespace

QString WindowPlacement::format(const Placement& placement)
{
    const QRect& r = placement.rect;
    QString text = QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    if (placement.maximized)
        text += QLatin1Char(',') + kMaximized;
    return text;
}

std::optional<Placement> WindowPlacement::parse(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4 && !(parts.size() == 5 && parts.at(4).trimmed() == kMaximized))
        return std::nullopt;
    int numbers[4] = {};
    for (int index = 0; index < 4; ++index) {
        bool ok = false;
        numbers[index] = parts.at(index).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (numbers[2] <= 0 || numbers[3] <= 0)
        return std::nullopt;
    return Placement{QRect(numbers[0], numbers[1], numbers[2], numbers[3]), parts.size() == 5};
}

Placement WindowPlacement::choose(const std::optional<Placement>& remembered, QSize design, QSize minimum,
                                  const std::vector<QRect>& screens, QSize frame)
{
    if (screens.empty())
        return Placement{QRect(QPoint(0, 0), design), false};
    const auto fitted = [&](QSize wanted, const QRect& area) {
        const QSize room = roomIn(area, frame);
        return wanted.expandedTo(minimum).boundedTo(room);
    };
    if (remembered) {
        const QPoint middle = remembered->rect.topLeft() + QPoint((remembered->rect.width() + frame.width()) / 2,
                                                                  (remembered->rect.height() + frame.height()) / 2);
        const auto screen = std::find_if(screens.begin(), screens.end(),
                                         [&](const QRect& area) { return area.contains(middle); });
        if (screen != screens.end()) {
            const QSize size = fitted(remembered->rect.size(), *screen);
            const int left = clampStart(remembered->rect.x(), size.width() + frame.width(), screen->x(), screen->width());
            const int top = clampStart(remembered->rect.y(), size.height() + frame.height(), screen->y(), screen->height());
            return Placement{QRect(QPoint(left, top), size), remembered->maximized};
        }
    }
    const QRect& area = screens.front();
    const QSize size = fitted(design, area);
    const QPoint corner(area.x() + (area.width() - size.width() - frame.width()) / 2,
                        area.y() + (area.height() - size.height() - frame.height()) / 2);
    return Placement{QRect(corner, size), false};
}

}  // namespace common
