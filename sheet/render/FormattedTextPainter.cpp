#include "sheet/render/FormattedTextPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sheet::render {

namespace {

constexpr int maxFillRepeats = 4096;

QString qt(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FormattedTextPainter::FormattedTextPainter(const format::FormattedText& text, const QFontMetricsF& metrics)
    : text_(text), metrics_(metrics)
{
    widths_.reserve(text.pieces.size());
    for (const format::Piece& piece : text.pieces) {
        widths_.push_back(pieceWidth(piece));
        if (piece.kind != format::Piece::Kind::Fill)
            width_ += widths_.back();
    }
}

double FormattedTextPainter::pieceWidth(const format::Piece& piece) const
{
    return metrics_.horizontalAdvance(qt(piece.text));
}

void FormattedTextPainter::paint(QPainter& painter, double left, double right, double baseline) const
{
    double x = left;
    for (std::size_t k = 0; k < text_.pieces.size(); ++k) {
        const format::Piece& piece = text_.pieces[k];
        if (piece.kind == format::Piece::Kind::Text) {
            painter.drawText(QPointF(x, baseline), qt(piece.text));
            x += widths_[k];
        } else if (piece.kind == format::Piece::Kind::Padding) {
            x += widths_[k];
        } else {
            const QString character = qt(piece.text);
            const double step = widths_[k];
            const double room = right - left - width_;
            const int repeats = step > 0 && room > 0 ? std::min(static_cast<int>(std::floor(room / step)), maxFillRepeats) : 0;
            if (repeats > 0)
                painter.drawText(QPointF(x, baseline), character.repeated(repeats));
            x += std::max(room, 0.0);
        }
    }
}

}  // namespace sheet::render
