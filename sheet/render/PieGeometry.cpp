#include "sheet/render/PieGeometry.h"

#include <QtMath>

namespace sheet::render {

QPointF PieEllipse::point(double angle, double radiusFactor) const
{
    const double radians = qDegreesToRadians(angle);
    return {centre.x() + rx * radiusFactor * std::sin(radians), centre.y() - ry * radiusFactor * std::cos(radians)};
}

QRectF PieEllipse::bounds() const
{
    return {centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry};
}

QPointF PieEllipse::explodeOffset(double middleAngle, double explode) const
{
    return point(middleAngle, explode) - centre;
}

QPainterPath PieEllipse::sector(double start, double sweep) const
{
    QPainterPath path;
    if (sweep >= 360) {
        path.addEllipse(bounds());
        return path;
    }
    path.moveTo(centre);
    path.arcTo(bounds(), 90 - start, -sweep);
    path.closeSubpath();
    return path;
}

QPainterPath PieEllipse::rim(double from, double to, double thickness) const
{
    QPainterPath path;
    const QRectF top = bounds();
    const QRectF bottom = top.translated(0, thickness);
    path.moveTo(point(from));
    path.arcTo(top, 90 - from, -(to - from));
    path.lineTo(point(to) + QPointF(0, thickness));
    path.arcTo(bottom, 90 - to, to - from);
    path.closeSubpath();
    return path;
}

PieDisc PieDisc::scaled(double factor) const
{
    PieDisc disc;
    disc.ellipse.rx = ellipse.rx * factor;
    disc.ellipse.ry = ellipse.ry * factor;
    disc.thickness = thickness * factor;
    disc.ellipse.centre = ellipse.centre + QPointF(0, (thickness - disc.thickness) / 2);
    return disc;
}

}  // namespace sheet::render
