#include "sheet/render/PieLabelText.h"

#include <QFontMetricsF>
#include <QPainter>

namespace sheet::render {

namespace {

Qt::LayoutDirection directionOf(const QString& text)
{
    return text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

// Draws each piece in its own paragraph direction, from `right` leftwards, each in a slot as wide as
// its text with the blanks around it.
void paintRightToLeft(QPainter& painter, const QStringList& pieces, double right, const QRectF& line)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const QString& piece : pieces) {
        const double width = metrics.horizontalAdvance(piece);
        const QString shown = piece.trimmed();
        if (!shown.isEmpty()) {
            painter.setLayoutDirection(directionOf(shown));
            painter.drawText(QRectF(right - width, line.top(), width, line.height()), Qt::AlignCenter, shown);
        }
        right -= width;
    }
}

}  // namespace

void PieLabelText::paint(QPainter& painter, const QRectF& box) const
{
    const QString text = joined();
    if (!text.isRightToLeft()) {
        painter.setLayoutDirection(Qt::LeftToRight);
        painter.drawText(box, Qt::AlignCenter, text);
        return;
    }
    const QFontMetricsF metrics(painter.font(), painter.device());
    // The lines of a label whose separator breaks them, each with its parts that share it.
    std::vector<QStringList> lines(1);
    for (qsizetype k = 0; k < parts.size(); ++k) {
        const QStringList partLines = parts[k].split(u'\n');
        for (qsizetype l = 0; l < partLines.size(); ++l) {
            if (l > 0)
                lines.emplace_back();
            lines.back() << partLines[l];
        }
        if (k + 1 == parts.size())
            break;
        const QStringList separatorLines = separator.split(u'\n');
        for (qsizetype l = 0; l < separatorLines.size(); ++l) {
            if (l > 0)
                lines.emplace_back();
            if (!separatorLines[l].isEmpty())
                lines.back() << separatorLines[l];
        }
    }
    const double height = metrics.height();
    double top = box.center().y() - height * static_cast<double>(lines.size()) / 2;
    for (const QStringList& pieces : lines) {
        const double width = metrics.horizontalAdvance(pieces.join(QString()));
        paintRightToLeft(painter, pieces, box.center().x() + width / 2, QRectF(box.left(), top, box.width(), height));
        top += height;
    }
}

}  // namespace sheet::render
