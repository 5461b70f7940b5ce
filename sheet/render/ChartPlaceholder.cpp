#include "sheet/render/ChartPlaceholder.h"

#include <QFont>
#include <QPen>

#include <algorithm>

namespace sheet::render {
namespace {

const QColor FrameColour(0x80, 0x80, 0x80);
const QColor TextColour(0x40, 0x40, 0x40);
constexpr double TextPixels = 13;
constexpr double Margin = 6;

}  // namespace

QString chartPlaceholderText(const model::Chart& chart)
{
    // "a column chart" -> "Column chart"
    QString type = QString::fromStdString(model::chartTypeName(chart.type()));
    type = type.mid(type.indexOf(QLatin1Char(' ')) + 1);
    if (!type.isEmpty())
        type[0] = type[0].toUpper();
    const QString title = chart.title ? QString::fromStdString(chart.title->plain()).trimmed() : QString();
    return title.isEmpty() ? type : title + QLatin1Char('\n') + type;
}

void paintChartPlaceholder(QPainter& painter, const QRectF& area, const model::Chart& chart)
{
    painter.save();
    const QRectF frame = area.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.fillRect(area, Qt::white);
    painter.setPen(QPen(FrameColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(static_cast<int>(std::min(TextPixels, std::max(1.0, area.height() / 4))));
    painter.setFont(font);
    painter.setPen(TextColour);
    painter.drawText(area.adjusted(Margin, Margin, -Margin, -Margin), Qt::AlignCenter | Qt::TextWordWrap,
                     chartPlaceholderText(chart));
    painter.restore();
}

}  // namespace sheet::render
