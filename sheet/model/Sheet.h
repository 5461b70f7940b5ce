#pragma once

#include "sheet/model/Cell.h"
#include "sheet/model/CellRange.h"
#include "sheet/model/CellStore.h"
#include "sheet/model/Chart.h"
#include "sheet/model/Comment.h"
#include "sheet/model/Drawing.h"
#include "sheet/model/Record.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sheet::model {

enum class SheetKind { Worksheet, Chart, Macro, Other };

// A COLINFO record: columns first..last (0-based) share a width in 1/256 of a character, a cell format
// and options. What follows the options is kept as it came (two reserved bytes, in a record of full length).
struct ColumnInfo {
    static constexpr std::uint16_t Hidden = 0x0001;
    static constexpr std::uint16_t UserSetWidth = 0x0002;

    int first = 0;
    int last = 0;
    int width = 0;
    int xf = DefaultCellXf;
    std::uint16_t options = 0; // Hidden, UserSetWidth, best fit, outline level, collapsed
    std::vector<std::uint8_t> reserved = {0, 0};

    bool hidden() const { return options & Hidden; }
};

// A ROW record: the row's height in twips and its flags. `raw` keeps the record's 16 bytes.
struct RowInfo {
    int height = 255;
    bool hidden = false;
    bool customHeight = false;
    std::optional<int> xf; // the row's own format, when it has one
    std::vector<std::uint8_t> raw;
};

// A sheet of the workbook. The cells are kept in row order; `records` is the sheet's substream as it
// was read, which the engine writes back with only what changed rebuilt and the column ranges (COLINFO)
// from `columns`.
struct Sheet {
    std::string name;
    SheetKind kind = SheetKind::Worksheet;
    bool visible = true;

    CellStore cells;
    // The records of each formula cell (FORMULA and what follows it), as they came.
    std::map<CellAddress, std::vector<Record>> formulas;
    std::map<int, RowInfo> rows;
    std::vector<ColumnInfo> columns;
    int defaultColumnWidth = 8;             // DEFCOLWIDTH, in characters
    std::optional<int> standardWidth;       // STANDARDWIDTH, in 1/256 of a character
    int defaultRowHeight = 255;             // DEFAULTROWHEIGHT, in twips
    bool defaultRowsHidden = false;
    std::uint16_t defaultRowFlags = 0;      // DEFAULTROWHEIGHT's flags, for rows without a ROW record
    bool showGridlines = true;              // WINDOW2
    // The merged areas of a sheet read from a format without records (an .xls sheet's are in its
    // MERGECELLS records).
    std::vector<CellRange> mergedAreas;

    std::vector<DrawingObject> drawings;
    std::vector<Comment> comments; // in the order of their NOTE records
    std::vector<Chart> charts; // a chart sheet's chart first; embedded ones placed by a drawing object each

    std::vector<Record> records;
    bool modified = false;

    const Cell* cell(int row, int column) const;
    // From the first to the last row and column that hold a value or a format of their own; nothing for a
    // sheet without such cells.
    std::optional<CellRange> usedRange() const;
    // The records of the cell's formula, nullptr when it has none.
    const std::vector<Record>* formulaOf(const CellAddress& at, const Cell& cell) const;
    int columnWidth(int column) const;  // 1/256 of a character
    int rowHeight(int row) const;       // twips
    bool rowHidden(int row) const;
    // The index of the first embedded chart that no drawing object places on the worksheet (the charts of
    // an Excel 95 workbook, whose objects the engine does not place); nothing when every chart has its place.
    std::optional<std::size_t> unplacedChart() const;
};

} // namespace sheet::model
