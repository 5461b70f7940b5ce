#pragma once

#include "sheet/biff/RecordText.h"
#include "sheet/model/Workbook.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::formula {

// A workbook that formulas refer to (SUPBOOK): the workbook itself, the add-in functions, or another
// workbook with its sheets; and the names that formulas take from it (EXTERNNAME).
struct LinkedBook {
    enum class Kind { Self, AddIns, External, Other };
    Kind kind = Kind::Self;
    std::string target; // another workbook's path, with "/" between folders
    std::vector<std::string> sheets;
    std::vector<std::string> names;
};

// An entry of the external sheet table (XTI): sheets first to last of book `book`.
struct SheetSpan {
    int book = 0;
    int first = 0;
    int last = 0;
};

// A defined name (NAME): its text (a built-in name's without "_xlnm."), the sheet it belongs to (-1 for
// the workbook) and its formula's tokens as the file keeps them.
struct DefinedName {
    std::string name;
    int scope = -1;
    bool hidden = false;
    bool builtIn = false;
    bool function = false;  // a macro's or a function's name, not a cell's
    bool procedure = false; // ... of a VBA procedure
    std::vector<std::uint8_t> tokens;
    std::vector<std::uint8_t> extra;
    std::string written; // the name as the packages write it, when it differs (see mendNames)

    // Whether the name only stands for a function newer than the file format ("_xlfn.IFERROR"), which
    // the written formulas call by its name: it is no name of the workbook's own.
    bool standsForFunction() const { return function && name.starts_with("_xlfn."); }
};

// What the text of a formula needs besides its tokens: the names of the sheets as they are written,
// indexed like the workbook's sheets, and the workbook's links and names.
struct WorkbookLinks {
    std::vector<std::string> sheetNames;
    std::vector<LinkedBook> books;
    std::vector<SheetSpan> externSheets;
    std::vector<DefinedName> names;
    biff::RecordText text;

    // The number (from 1) by which a written package knows another workbook: the books of kind
    // External, in order. 0 for a book of another kind.
    int externalNumber(int book) const;
};

// Reads the links and names of the workbook's globals. `sheetNames` are the names the sheets are
// written with. Throws a FormatError for a damaged record.
WorkbookLinks readWorkbookLinks(const model::Workbook& workbook, std::vector<std::string> sheetNames);

// Gives each name that the package formats cannot take as it is a `written` name they can: characters
// other than letters, digits, "_", "." , "\" and "?" (spaces, control characters) become "_"; a name
// that starts otherwise than with a letter, "_" or "\", or that reads as a cell of a sheet of 16,384
// columns ("TAX2019", "R1C1"), gets "_" before it, as Excel gives it; and a name that then equals
// another of the same sheet (or of the workbook, for the workbook's own), in any case, gets "_2", "_3",
// ... after it.
void mendNames(std::vector<DefinedName>& names);

// The names of the workbook's sheets as the model has them.
std::vector<std::string> modelSheetNames(const model::Workbook& workbook);

} // namespace sheet::formula
