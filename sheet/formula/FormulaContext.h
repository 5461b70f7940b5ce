#pragma once

#include "sheet/formula/WorkbookLinks.h"

#include <string>
#include <string_view>
#include <vector>

namespace sheet::formula {

// What formulas read from text refer to, gathered as they are read: the workbook's sheets, its defined
// names, the other workbooks and add-in functions they call on, and the external sheet table that 3-D
// references go through. It is the WorkbookLinks that FormulaText writes the tokens with, and what
// linkRecords makes the workbook's SUPBOOK, EXTERNNAME, EXTERNSHEET and NAME records from.
//
// A reader of a package fills it in this order: the sheets' names (constructor), the other workbooks
// in the order the package numbers them ([1], [2], ...: addExternalBook), every defined name
// (addName), and then parses the names' and the cells' formulas (parseFormula), each with `sheet` set
// to the sheet it belongs to.
struct FormulaContext {
    explicit FormulaContext(std::vector<std::string> sheetNames);

    WorkbookLinks links;
    // The sheet of the formula being read, whose own names go without a sheet; -1 for a workbook's name.
    int sheet = -1;

    // Registers another workbook by its target (a path or URL) and the names of its sheets; returns its
    // index in links.books. The A1 grammar numbers these workbooks from 1, in this order.
    int addExternalBook(std::string target, std::vector<std::string> sheets);
    // Registers a defined name as a package writes it: "_xlnm.Print_Area" and "Excel_BuiltIn_Print_Area"
    // become the built-in name Print_Area. `scope` is a sheet index, -1 for the workbook. A name that is
    // already there (in any case, in the same scope) is not registered again. Returns its index.
    int addName(std::string_view name, int scope, bool hidden = false);

    // For the parser: the defined name a formula of sheet `from` means by `name`: that sheet's own,
    // else the workbook's, else (for OpenFormula, which writes no sheet before a name) another sheet's;
    // a name not defined anywhere is registered for the workbook. With `scope` given (a sheet before
    // the name), that sheet's own, else the workbook's.
    int nameIndex(std::string_view name, int from, bool anySheet);
    int scopedNameIndex(std::string_view name, int scope);
    // The hidden name through which a function newer than the file format is called ("_xlfn.IFERROR").
    int newerFunction(std::string_view name);
    // The entry of the external sheet table for sheets first..last of book `book` (-2, -2: the book
    // itself, as its names and add-in functions are reached), added when missing.
    int externSheet(int book, int first, int last);
    // The book of the workbook itself, of add-in functions, and another workbook by target.
    int selfBook();
    int addInBook();
    int externalBookByTarget(std::string_view target);
    // Another workbook by its number in the A1 grammar (from 1); -1 when there is none.
    int externalBookByNumber(int number) const;
    // The index of a sheet by name, in any case; -1 when the workbook has none.
    int sheetIndex(std::string_view name) const;
    // The index of a sheet of another workbook, added when the book does not list it.
    int externalSheetIndex(int book, std::string_view name);
    // The index of an add-in function's name in the add-in book, added when missing; and likewise a
    // name of another workbook.
    int externalName(int book, std::string_view name);
};

// Whether two names are the same but for the case of their ASCII letters.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

} // namespace sheet::formula
