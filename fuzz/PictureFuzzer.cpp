// Opens any bytes as a workbook and draws its worksheets as the program's pictures do: the used range
// grown to hold its charts and the text that runs on, cut to its first rows and columns so that each
// input stays quick, written as an SVG and as a small PNG. A damaged input must end in a FormatError and
// a picture that cannot be drawn in a RenderError; anything else (another exception, a crash, a hang)
// is a finding.
#include "sheet/Errors.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/render/PictureWriter.h"
#include "sheet/render/RangePicture.h"
#include "sheet/render/RenderError.h"
#include "sheet/render/SheetArea.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

constexpr int RowsDrawn = 120;
constexpr int ColumnsDrawn = 30;
constexpr std::size_t SheetsDrawn = 3;

void write(const sheet::model::Workbook& workbook, int sheetIndex, const sheet::model::CellRange& range,
           sheet::render::PictureFormat format)
{
    std::size_t written = 0;
    const sheet::io::ByteSink sink = [&](std::span<const std::uint8_t> bytes) { written += bytes.size(); };
    const bool drawingOnly = !sheet::render::isBitmap(format);
    sheet::render::PictureWriter writer(format, sink, drawingOnly ? 1.0 : 0.25);
    sheet::render::recordRange(workbook, sheetIndex, range, {drawingOnly ? 1.0 : 0.25, drawingOnly}, writer);
    writer.finish();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const sheet::biff::WorkbookFile file = sheet::biff::readWorkbookFile({data, size});
        const sheet::model::Workbook& workbook = file.workbook;
        for (std::size_t s = 0; s < std::min(workbook.sheets.size(), SheetsDrawn); ++s) {
            const sheet::model::Sheet& sheet = workbook.sheets[s];
            if (sheet.kind != sheet::model::SheetKind::Worksheet)
                continue;
            sheet::model::CellRange area = sheet::render::pictureArea(workbook, sheet, sheet::edit::usedRange(sheet));
            area.lastRow = std::min(area.lastRow, area.firstRow + RowsDrawn - 1);
            area.lastColumn = std::min(area.lastColumn, area.firstColumn + ColumnsDrawn - 1);
            try {
                write(workbook, static_cast<int>(s), area, sheet::render::PictureFormat::Svg);
                write(workbook, static_cast<int>(s), area, sheet::render::PictureFormat::Png);
            } catch (const sheet::render::RenderError&) {
            }
        }
    } catch (const sheet::FormatError&) {
    }
    return 0;
}
