#include "sheet/render/RangePicture.h"

#include "sheet/render/CellPainter.h"
#include "sheet/render/ChartPlaceholder.h"
#include "sheet/render/ChartPie.h"
#include "sheet/render/ModelStyle.h"
#include "sheet/render/PiePainter.h"
#include "sheet/render/RangeGrid.h"
#include "sheet/render/RenderError.h"
#include "sheet/render/SheetArea.h"
#include "sheet/layout/SheetGeometry.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>

namespace sheet::render {

namespace {

constexpr long maxSide = 32767;
// A picture kept as a drawing (an SVG, a PDF, the preview's) may be larger: each pixel still has a
// place of its own in a float, and the drawing's area stays within what recording it can cost.
constexpr double maxDrawingSide = 16777216;
constexpr double maxDrawingArea = 2147483647;
constexpr long long maxBytes = 256LL * 1024 * 1024;
constexpr int dotsPerMetre = 3780;  // 96 dots per inch
constexpr int dotsPerInch = 96;
// Rows recorded together: a long sheet is shown a band or two at a time.
constexpr int rowsPerBand = 200;

// A drawing recorded as on a 96-dot-per-inch page, whatever the screen's resolution, so that
// text is measured and laid out as it is drawn.
class Recording final : public QPicture {
protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dotsPerInch;
        default:
            return QPicture::metric(metric);
        }
    }
};

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

const model::Sheet& sheetAt(const model::Workbook& workbook, int sheetIndex)
{
    if (sheetIndex < 0 || static_cast<std::size_t>(sheetIndex) >= workbook.sheets.size())
        throw RenderError("cannot draw sheet " + std::to_string(sheetIndex + 1) + ": the workbook has "
                          + std::to_string(workbook.sheets.size()) + " sheets");
    return workbook.sheets[static_cast<std::size_t>(sheetIndex)];
}

void checkRange(const model::CellRange& r)
{
    const bool inside = r.firstRow >= 0 && r.firstColumn >= 0 && r.lastRow < layout::SheetGeometry::maxRows
        && r.lastColumn < layout::SheetGeometry::maxColumns && r.firstRow <= r.lastRow && r.firstColumn <= r.lastColumn;
    if (!inside)
        throw RenderError("cannot draw the range: it does not lie on the sheet (rows " + std::to_string(r.firstRow + 1)
                          + " to " + std::to_string(r.lastRow + 1) + ", columns " + std::to_string(r.firstColumn + 1)
                          + " to " + std::to_string(r.lastColumn + 1) + ")");
}

void checkScale(double scale)
{
    if (!(scale > 0) || scale > 16)
        throw RenderError("cannot draw at scale " + std::to_string(scale) + ": the scale must lie above 0 and up to 16");
}

// Refuses a picture of width by height pixels that cannot be drawn as a bitmap, or with `drawing`
// kept as a drawing.
void checkSize(double width, double height, bool drawing = false)
{
    if (width < 1 || height < 1)
        throw RenderError("cannot draw the range: all its rows or all its columns are hidden");
    const std::string size = "the picture would be " + std::to_string(std::lround(width)) + " by "
        + std::to_string(std::lround(height)) + " pixels; ";
    if (drawing) {
        if (width > maxDrawingSide || height > maxDrawingSide)
            throw PictureTooLarge(size + "at most 16777216 either way can be kept as a drawing");
        if (width * height > maxDrawingArea)
            throw PictureTooLarge(size + "at most 2147483647 pixels in all can be kept as a drawing");
        return;
    }
    if (width > maxSide || height > maxSide)
        throw PictureTooLarge(size + "at most 32767 either way can be drawn");
    if (static_cast<long long>(std::ceil(width)) * static_cast<long long>(std::ceil(height)) * 4 > maxBytes)
        throw PictureTooLarge(size + "at most 256 MB (67108864 pixels in all) can be drawn");
}

// Calls paint(area, chart) for each drawing object that lies over the picture and shows a chart;
// those wholly outside it are not read.
template <typename Paint>
void forEachChart(const model::Sheet& sheet, const layout::SheetGeometry& geometry, const model::CellRange& range,
                  const QRectF& picture, Paint paint)
{
    for (const model::DrawingObject& drawing : sheet.drawings) {
        if (drawing.chartIndex < 0 || static_cast<std::size_t>(drawing.chartIndex) >= sheet.charts.size())
            continue;
        const QRectF area = geometry.anchorRect(drawing.anchor, range.firstRow, range.firstColumn);
        if (area.width() < 1 || area.height() < 1 || !area.intersects(picture))
            continue;
        paint(area, sheet.charts[static_cast<std::size_t>(drawing.chartIndex)]);
    }
}

}  // namespace

int maxDigitWidth(const model::Workbook& workbook)
{
    const model::Xf* normal = workbook.xf(0);
    const model::Font* font = workbook.font(normal ? normal->fontIndex : 0);
    static const QImage device = blankImage(1, 1);
    const QFontMetricsF metrics(qtFont(font ? *font : model::Font{"Arial"}), &device);
    double widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
    return std::max(1, static_cast<int>(std::lround(widest)));
}

void recordRange(const model::Workbook& workbook, int sheetIndex, const model::CellRange& range,
                 const PictureOptions& options, DrawingSink& sink)
{
    const model::Sheet& sheet = sheetAt(workbook, sheetIndex);
    checkRange(range);
    const layout::SheetGeometry geometry(sheet, maxDigitWidth(workbook));
    const RangeGrid grid(geometry, range);
    const QRectF picture(0, 0, static_cast<double>(grid.width()), static_cast<double>(grid.height()));
    // The grid alone gives the size: a picture too large is refused before anything is drawn.
    if (options.drawingOnly) {
        checkSize(picture.width(), picture.height(), true);
    } else {
        checkScale(options.scale);
        checkSize(std::ceil(picture.width() * options.scale), std::ceil(picture.height() * options.scale));
    }

    sink.begin(picture.toAlignedRect().size());
    // Each part's extent goes into its recording when it ends; what a clip cut off lies outside it.
    const auto record = [&sink](const QRectF& extent, const auto& paint) {
        Recording recording;
        QPainter painter(&recording);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        paint(painter);
        recording.setBoundingRect(extent.toAlignedRect());
        painter.end();
        sink.add(recording);
    };
    for (int first = range.firstRow; first <= range.lastRow; first += rowsPerBand) {
        const int last = std::min(range.lastRow, first + rowsPerBand - 1);
        const QRect top = grid.cell(first, range.firstColumn);
        const QRect bottom = grid.cell(last, range.firstColumn);
        const QRectF band(0, top.top(), picture.width(), bottom.bottom() + 1 - top.top());
        if (band.height() <= 0)
            continue;
        record(band, [&](QPainter& painter) {
            painter.fillRect(band, Qt::white);
            CellPainter cells(painter, workbook, sheet, grid, first, last);
            cells.paintGridlines();
            cells.paintFills();
            cells.paintTexts();
            cells.paintBorders();
        });
    }
    forEachChart(sheet, geometry, range, picture, [&](const QRectF& area, const model::Chart& chart) {
        const std::optional<PieChart> pie = readPieChart(workbook, chart);
        record(area & picture, [&](QPainter& painter) {
            painter.setClipRect(picture);
            if (pie)
                paintPieChart(painter, area, *pie);
            else
                paintChartPlaceholder(painter, area, chart);
        });
    });
}

void recordSheet(const model::Workbook& workbook, int sheetIndex, const PictureOptions& options, DrawingSink& sink)
{
    recordRange(workbook, sheetIndex, sheetArea(workbook, sheetAt(workbook, sheetIndex)), options, sink);
}

SheetDrawing recordRange(const model::Workbook& workbook, int sheetIndex, const model::CellRange& range,
                         const PictureOptions& options)
{
    SheetDrawing drawing;
    recordRange(workbook, sheetIndex, range, options, drawing);
    return drawing;
}

SheetDrawing recordSheet(const model::Workbook& workbook, int sheetIndex, const PictureOptions& options)
{
    SheetDrawing drawing;
    recordSheet(workbook, sheetIndex, options, drawing);
    return drawing;
}

QImage rasterize(const SheetDrawing& drawing, double scale)
{
    checkScale(scale);
    const double width = std::ceil(drawing.size.width() * scale);
    const double height = std::ceil(drawing.size.height() * scale);
    checkSize(width, height);
    QImage image = blankImage(static_cast<int>(width), static_cast<int>(height));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(scale, scale);
    drawing.play(painter, QRectF(QPointF(0, 0), drawing.size));
    painter.end();
    return image;
}

QImage previewBitmap(const SheetDrawing& drawing)
{
    constexpr int largest = 4096;
    const QSize size = drawing.size.boundedTo(QSize(largest, largest));
    QImage image = blankImage(size.width(), size.height());
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawing.play(painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

QImage drawRange(const model::Workbook& workbook, int sheetIndex, const model::CellRange& range)
{
    return drawRange(workbook, sheetIndex, range, PictureOptions{});
}

QImage drawRange(const model::Workbook& workbook, int sheetIndex, const model::CellRange& range,
                 const PictureOptions& options)
{
    return rasterize(recordRange(workbook, sheetIndex, range, options), options.scale);
}

QImage drawSheet(const model::Workbook& workbook, int sheetIndex, const PictureOptions& options)
{
    return drawRange(workbook, sheetIndex, sheetArea(workbook, sheetAt(workbook, sheetIndex)), options);
}

}  // namespace sheet::render
