#pragma once

#include "sheet/format/FormattedText.h"

#include <QFontMetricsF>

namespace sheet::render {

// Which end of a line of text stays where it is: the start of a text drawn from its left edge, the
// end of one drawn up to its right edge.
enum class FixedEnd { Start, End };

// Cuts a line of text down to what can be seen of it: only `reach` pixels from its fixed end can
// ever show, so the characters that lie wholly beyond them (and a margin) are left out, and the rest
// keep their places. A cell holds up to 32,767 characters of which a few dozen show; this keeps a
// recorded drawing, and the SVG or PDF made of it, in proportion to what it shows. A text with a
// fill, or with characters that read right to left, is kept whole: its pieces do not lie in order.
void cutToReach(format::FormattedText& text, const QFontMetricsF& metrics, double reach, FixedEnd fixed);

// A text to wrap at word boundaries with each word of more than `longest` characters cut down to that
// many. A word wider than its line stays whole on it and runs past its end; cut to as many
// characters as the line has pixels it still does (the cut is for left-aligned lines, at a pixel or
// more a character), so the lines and what shows of them stay as they were.
QString cutLongWords(const QString& text, qsizetype longest);

}  // namespace sheet::render
