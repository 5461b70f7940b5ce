#include "sheet/biff/ModelWorkbookWriter.h"

#include "sheet/biff/Biff8Limits.h"
#include "sheet/biff/CellStrings.h"
#include "sheet/biff/ChartPalette.h"
#include "sheet/biff/DrawingRecords.h"
#include "sheet/biff/ModelGlobals.h"
#include "sheet/biff/ModelWorksheet.h"
#include "sheet/biff/SliceColours.h"
#include "sheet/io/ByteWriter.h"

namespace sheet::biff {
namespace {

// The drawing number of each sheet: 1, 2, ... for the worksheets with charts or comments, 0 for the others;
// and the number of shapes of each drawing.
struct Drawings {
    std::vector<int> ids;
    std::vector<std::size_t> shapes;
};

Drawings planDrawings(const model::Workbook& workbook)
{
    Drawings drawings;
    for (const model::Sheet& sheet : workbook.sheets) {
        const std::size_t shapes = drawingShapes(sheet);
        drawings.ids.push_back(shapes ? static_cast<int>(drawings.shapes.size() + 1) : 0);
        if (shapes)
            drawings.shapes.push_back(shapes);
    }
    return drawings;
}

} // namespace

std::vector<std::uint8_t> writeModelWorkbook(model::Workbook& workbook)
{
    checkBiff8Limits(workbook);
    colourAddedModelSlices(workbook);
    addChartColours(workbook);
    const std::uint32_t references = internStrings(workbook);
    FontTable fonts(workbook.fonts);
    fonts.cover(3); // the format's fonts 0 to 3 are always there
    for (const model::Xf& xf : workbook.xfs)
        fonts.cover(xf.fontIndex);
    ExternSheetTable links(workbook.globalRecords, workbook.sheets.size());
    const Drawings drawings = planDrawings(workbook);

    for (std::size_t i = 0; i < workbook.sheets.size(); ++i) {
        SheetWriting writing{drawings.ids[i], fonts, links};
        addSheetNeeds(workbook, i, writing);
    }

    std::vector<std::uint8_t> out;
    GlobalsParts parts{fonts, links, drawings.shapes.empty() ? std::vector<std::uint8_t>{} : drawingGroupBody(drawings.shapes),
                       references};
    const std::vector<std::size_t> boundSheets = writeModelGlobals(workbook, parts, out);
    for (std::size_t i = 0; i < workbook.sheets.size(); ++i) {
        io::ByteWriter::put32(out.data() + boundSheets[i] + 4, static_cast<std::uint32_t>(out.size()));
        SheetWriting writing{drawings.ids[i], fonts, links};
        writeModelSheet(workbook, i, writing, out);
    }
    workbook.biff = 8;
    return out;
}

} // namespace sheet::biff
