#pragma once

#include "sheet/model/Font.h"
#include "sheet/model/NumberFormats.h"
#include "sheet/model/Palette.h"
#include "sheet/model/Picture.h"
#include "sheet/model/Record.h"
#include "sheet/model/Sheet.h"
#include "sheet/model/Xf.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::model {

// An entry of the shared string table, with its formatting runs and phonetic data kept as they came.
struct SharedString {
    std::u16string text;
    std::vector<std::uint8_t> runs;     // cRun * 4 bytes
    std::vector<std::uint8_t> phonetic; // ExtRst bytes
};

// A workbook: the globals (fonts, formats, cell formats, palette, strings) and its sheets.
// `globalRecords` is the globals substream as it was read.
struct Workbook {
    std::vector<Font> fonts; // in record order; see font()
    NumberFormats formats;
    std::vector<Xf> xfs;
    Palette palette;
    std::vector<SharedString> sharedStrings;
    // The texts of cells that are not entries of the string table: written since reading, formula
    // results and texts stored in the cell record. Saving moves written texts into the table.
    std::vector<std::string> cellTexts;
    std::vector<Sheet> sheets;
    std::vector<Picture> pictures; // the picture store; an entry that could not be read is empty
    int activeSheet = 0;
    // Macros (a VBA project) lie beside the workbook's stream, where only an .xls file keeps them.
    bool hasMacros = false;
    int biff = 8; // 8 for Excel 97-2003; 5 for an Excel 95 workbook (BIFF5 or BIFF7), which is read only

    std::vector<Record> globalRecords;
    std::vector<std::uint8_t> trailingBytes; // after the last sheet, such as padding; written back as read
    std::vector<int> addedFormats; // format indices added since reading, written as new FORMAT records
    std::size_t readXfCount = 0;   // XFs beyond this were added since reading
    bool modified = false;

    // The sheet that cells are written to and drawn from: the active sheet, or the first worksheet when
    // the active sheet is a chart sheet (or another sheet without cells); -1 when there is no worksheet.
    int activeWorksheet() const;
    // The font of an XF's font index (index 4 does not exist in the file); nullptr when out of range.
    const Font* font(int fontIndex) const;
    // Whether the picture store holds a readable picture at `index`.
    bool hasPicture(int index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < pictures.size() && !pictures[static_cast<std::size_t>(index)].bytes.empty();
    }
    // The XF at an index, nullptr when out of range.
    const Xf* xf(int index) const;
    std::string formatCode(int xfIndex) const;

    // The value a cell holds, its text in UTF-8.
    CellValue value(const Cell& cell) const;
    // Gives the cell `value`, keeping its format and whether it has a formula.
    void setValue(Cell& cell, CellValue value);
};

} // namespace sheet::model
