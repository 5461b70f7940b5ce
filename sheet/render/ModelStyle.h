#pragma once

#include "sheet/model/Font.h"
#include "sheet/model/Palette.h"

#include <QColor>
#include <QFont>

namespace sheet::render {

// A workbook font as Qt draws it; names that the system lacks fall back
// through fontconfig, and absurd sizes are held between 1 and 409 points.
QFont qtFont(const model::Font& font);

// A palette entry, 64 and 65 being the window's text and background;
// automatic and unknown indices give `automatic`.
QColor paletteColour(const model::Palette& palette, int index, const QColor& automatic = Qt::black);

}  // namespace sheet::render
