#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Workbook.h"
#include "sheet/render/SheetDrawing.h"

#include <QImage>

namespace sheet::render {

struct PictureOptions {
    double scale = 1.0;  // 1 draws at 96 dots per inch
    // Whether the picture is only kept as a drawing (an SVG, a PDF, a preview that plays it), which
    // may be larger than a bitmap.
    bool drawingOnly = false;
};

// The widest digit of the Normal style's font in whole pixels at 96 dots per inch, as the pictures
// measure it with the fonts at hand: the unit of their column widths (see layout::SheetGeometry).
int maxDigitWidth(const model::Workbook& workbook);

// A picture of a range as a spreadsheet shows it: cells with their fills,
// borders, fonts and number formats, gridlines when the sheet shows them, and
// the drawing objects that lie over the range, cut at its edges. Throws
// RenderError for a range that is not on the sheet or a picture too large
// (beyond 32,767 pixels either way or 256 MB).
QImage drawRange(const model::Workbook& workbook, int sheetIndex, const model::CellRange& range);
QImage drawRange(const model::Workbook& workbook, int sheetIndex, const model::CellRange& range,
                 const PictureOptions& options);

// The whole sheet: its used range grown to take in every drawing object and the text that runs on past it.
QImage drawSheet(const model::Workbook& workbook, int sheetIndex, const PictureOptions& options = {});

// The same pictures as recorded drawing: played at any scale they stay as sharp as a fresh drawing.
// The drawing covers (0, 0) to its size, white where nothing else is drawn. Its size comes from the
// sheet's column widths and row heights before anything is drawn, and a picture that could not be
// drawn as a bitmap at the options' scale is refused with a RenderError at once; with `drawingOnly`
// one beyond 16,777,216 pixels either way or 2,147,483,647 pixels in all.
SheetDrawing recordRange(const model::Workbook& workbook, int sheetIndex, const model::CellRange& range,
                         const PictureOptions& options = {});
SheetDrawing recordSheet(const model::Workbook& workbook, int sheetIndex, const PictureOptions& options = {});
// The same handed to a sink part by part as it is recorded.
void recordRange(const model::Workbook& workbook, int sheetIndex, const model::CellRange& range,
                 const PictureOptions& options, DrawingSink& sink);
void recordSheet(const model::Workbook& workbook, int sheetIndex, const PictureOptions& options, DrawingSink& sink);

// A recorded drawing as a bitmap at a scale; the same limits as drawRange apply.
QImage rasterize(const SheetDrawing& drawing, double scale = 1.0);

// A bitmap of a drawing for programs that cannot play one: its top-left corner at its natural
// size, at most 4096 pixels either way.
QImage previewBitmap(const SheetDrawing& drawing);

}  // namespace sheet::render
