#pragma once

#include "sheet/biff/ExternSheetTable.h"
#include "sheet/biff/FontTable.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <vector>

namespace sheet::biff {

// An embedded chart of a worksheet: where it lies and which of the sheet's charts it is.
struct EmbeddedChart {
    model::Anchor anchor;
    std::size_t chart = 0;
};

// The charts a worksheet shows, in the order of their drawing objects; a chart that no object places gets
// a place of its own beside the others.
std::vector<EmbeddedChart> embeddedCharts(const model::Sheet& sheet);

// The shapes of a worksheet's drawing: its embedded charts and its comments' boxes.
std::size_t drawingShapes(const model::Sheet& sheet);

// What a sheet written from the model is drawn with: the number of its drawing (0 when it has no
// shapes) and the workbook's fonts and references that its charts add to.
struct SheetWriting {
    int drawingId = 0;
    FontTable& fonts;
    ExternSheetTable& links;
};

// Adds to `writing`'s fonts and references what the charts and comments of sheet `index` need, so that
// the globals written before the sheet hold them.
void addSheetNeeds(const model::Workbook& workbook, std::size_t index, SheetWriting& writing);

// Appends the substream of sheet `index`, which has no records of its own, written from the model. A
// worksheet gets its calculation settings, column widths, rows and cells with their formulas, its
// embedded charts and comments with their drawing, its window (gridlines as the sheet has them, selected when it is the
// active sheet), its merged areas and then the records it came with; a chart sheet gets its
// chart.
void writeModelSheet(const model::Workbook& workbook, std::size_t index, SheetWriting& writing,
                     std::vector<std::uint8_t>& out);

} // namespace sheet::biff
