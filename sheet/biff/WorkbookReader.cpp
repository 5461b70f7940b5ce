#include "sheet/biff/WorkbookReader.h"

#include "sheet/Errors.h"
#include "sheet/biff/GlobalsReader.h"
#include "sheet/biff/OfficeArtPictures.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/WorksheetReader.h"

#include <algorithm>

namespace sheet::biff {

model::Workbook readWorkbook(std::vector<std::uint8_t> stream)
{
    model::Workbook workbook;
    Substream globals = readSubstream(stream, 0);
    std::size_t end = 0;
    for (const model::Record& record : globals.records)
        end += streamSize(record);
    workbook.globalRecords = std::move(globals.records);
    const GlobalsIndex index = readGlobals(workbook);
    if (index.sheets.empty())
        throw FormatError("damaged workbook: it has no sheets");
    if (workbook.biff == 8)
        workbook.pictures = readPictureStore(workbook.globalRecords);

    std::vector<std::size_t> order(index.sheets.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return index.sheets[a].offset < index.sheets[b].offset; });

    workbook.sheets.resize(index.sheets.size());
    for (std::size_t i : order) {
        const SheetEntry& entry = index.sheets[i];
        if (entry.offset < end)
            throw FormatError("damaged workbook: the sheets overlap in the Workbook stream");
        Substream substream = readSubstream(stream, entry.offset, entry.kind == model::SheetKind::Worksheet);
        end = entry.offset;
        for (const model::Record& record : substream.records)
            end += streamSize(record);
        model::Sheet& sheet = workbook.sheets[i];
        sheet.name = entry.name;
        sheet.kind = entry.kind;
        sheet.visible = entry.visible;
        sheet.records = std::move(substream.records);
    }
    workbook.trailingBytes.assign(stream.begin() + static_cast<std::ptrdiff_t>(end), stream.end());
    std::vector<std::uint8_t>().swap(stream);
    for (std::size_t i = 0; i < workbook.sheets.size(); ++i)
        if (workbook.sheets[i].kind == model::SheetKind::Worksheet)
            readWorksheet(workbook, workbook.sheets[i], static_cast<int>(i), index);
        else if (workbook.sheets[i].kind == model::SheetKind::Chart)
            readChartSheet(workbook, workbook.sheets[i], static_cast<int>(i), index);
    return workbook;
}

} // namespace sheet::biff
