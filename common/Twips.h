#pragma once

#include <QRect>

namespace common {

// Window geometry is kept in twips; a logical pixel is 15 twips (1/96 inch).
constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

inline QRect twipsToPixels(const QRect& twips)
{
    return QRect(twipsToPixels(twips.x()), twipsToPixels(twips.y()), twipsToPixels(twips.width()),
                 twipsToPixels(twips.height()));
}

}  // namespace common
