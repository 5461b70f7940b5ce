#pragma once

#include "sheet/format/FormattedText.h"

#include <QFontMetricsF>
#include <QRectF>

#include <vector>

class QPainter;

namespace sheet::render {

// Lays a formatted cell text out on one line: paddings are blanks as wide as
// their character, and a fill character repeats across the room the rest leaves.
class FormattedTextPainter {
public:
    FormattedTextPainter(const format::FormattedText& text, const QFontMetricsF& metrics);

    // The width without the fill.
    double width() const { return width_; }
    bool hasFill() const { return text_.hasFill(); }

    // Draws on the baseline within [left, right]: a text with a fill spans the whole
    // width, any other starts at `left`.
    void paint(QPainter& painter, double left, double right, double baseline) const;

private:
    double pieceWidth(const format::Piece& piece) const;

    const format::FormattedText& text_;
    const QFontMetricsF& metrics_;
    std::vector<double> widths_;  // each piece's, a fill's of one character
    double width_ = 0;
};

}  // namespace sheet::render
