#pragma once

#include "sheet/biff/ExternSheetTable.h"
#include "sheet/biff/FontTable.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <vector>

namespace sheet::biff {

// What the globals of a workbook written from the model are made of besides the workbook itself.
struct GlobalsParts {
    const FontTable& fonts;
    const ExternSheetTable& links;
    std::vector<std::uint8_t> drawingGroup; // the MSODRAWINGGROUP record's body; empty when nothing is drawn
    std::uint32_t stringReferences = 0;     // the cells that use the string table
};

// Appends the globals substream of a workbook that has no records of its own: BOF, the code page, the
// window, the fonts, number formats, cell formats, the Normal style, the palette when it is not the
// default one, a BOUNDSHEET for each sheet, the references to sheets and the names, the drawing group,
// the string table and EOF. Returns where each BOUNDSHEET record starts, for its sheet's offset.
std::vector<std::size_t> writeModelGlobals(const model::Workbook& workbook, const GlobalsParts& parts,
                                           std::vector<std::uint8_t>& out);

// A BIFF8 BOF record's body for a substream of `kind` (see RecordTypes.h).
std::vector<std::uint8_t> bofBody(std::uint16_t kind);

// The XF record's body: the one it was read from, else one made from its fields.
std::vector<std::uint8_t> xfBody(const model::Xf& xf);

} // namespace sheet::biff
