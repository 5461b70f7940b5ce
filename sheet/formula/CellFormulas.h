#pragma once

#include "sheet/formula/FormulaText.h"
#include "sheet/formula/WorkbookLinks.h"
#include "sheet/model/CellRange.h"
#include "sheet/model/Sheet.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sheet::formula {

// The formula a cell is written with. An array formula and a data table are written once, at their
// first cell, over their range; their other cells keep only their values. OpenDocument has no data
// tables: there each of its cells has a MULTIPLE.OPERATIONS formula of its own.
struct CellFormula {
    enum class Kind { Cell, Array, DataTable };
    Kind kind = Kind::Cell;
    std::string text; // without "=" (nor "of:"); empty for a data table
    model::CellRange range;
    // A data table's input cells as A1 addresses: the row input (or the only one) first.
    bool twoInputs = false;
    bool rowInput = false;
    std::string firstInput;
    std::string secondInput;
    bool firstDeleted = false;
    bool secondDeleted = false;
};

// The formulas of one sheet in one grammar, made as the writer asks for them cell by cell.
class SheetFormulas {
public:
    SheetFormulas(const model::Sheet& sheet, int sheetIndex, const WorkbookLinks& links, Grammar grammar);

    // The cell's formula; nothing for a cell without one and for the cells of an array formula or a
    // data table that their first cell stands for. Throws a FormatError naming the sheet and the cell
    // for a formula that cannot be written.
    std::optional<CellFormula> at(const model::CellAddress& at) const;

    int sheetIndex() const { return sheetIndex_; }
    const WorkbookLinks& links() const { return links_; }

private:

    std::optional<CellFormula> make(const model::CellAddress& at) const;
    const model::Record* group(const model::CellAddress& start, const model::CellAddress& at) const;
    CellFormula dataTable(const model::Record& table, const model::CellAddress& at) const;
    std::string text(std::span<const std::uint8_t> formula, const model::CellAddress& base) const;

    const model::Sheet& sheet_;
    int sheetIndex_;
    const WorkbookLinks& links_;
    Grammar grammar_;
    // The records that stand for groups of cells (SHRFMLA, ARRAY, TABLE) by their groups' first cells,
    // for those that do not follow the FORMULA record of that cell.
    std::map<model::CellAddress, const model::Record*> groups_;
};

} // namespace sheet::formula
