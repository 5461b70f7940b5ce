#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

namespace sheet::render {

// An ellipse seen as a tilted circle: angles are degrees clockwise from twelve
// o'clock in the pie's own plane.
struct PieEllipse {
    QPointF centre;
    double rx = 0;
    double ry = 0;

    QPointF point(double angle, double radiusFactor = 1) const;
    QRectF bounds() const;
    // The offset of a slice pulled out along its middle angle.
    QPointF explodeOffset(double middleAngle, double explode) const;
    // The flat top of a slice from `start` over `sweep` degrees.
    QPainterPath sector(double start, double sweep) const;
    // The visible part of the rim between two angles, `thickness` pixels deep.
    QPainterPath rim(double from, double to, double thickness) const;
};

// A pie's disc: its top and, for a 3-D pie, the depth of its rim in pixels.
struct PieDisc {
    PieEllipse ellipse;
    double thickness = 0;

    // The disc `factor` times as large, about the same middle (halfway down its rim).
    PieDisc scaled(double factor) const;
};

// Angles of one slice, in degrees clockwise from twelve o'clock.
struct SliceAngles {
    double start = 0;
    double sweep = 0;
    double middle() const { return start + sweep / 2; }
};

}  // namespace sheet::render
