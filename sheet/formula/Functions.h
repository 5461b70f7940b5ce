#pragma once

#include <string>
#include <string_view>

namespace sheet::formula {

// A built-in function of the workbook format: its number in the file, its name in the A1 grammar, its
// name in OpenFormula and how many arguments it takes. A function whose counts differ is stored with
// its argument count; one of a fixed count without it, so that its count must come from here.
struct Function {
    int id = 0;
    std::string_view name;
    int minArguments = 0;
    int maxArguments = 0;
    std::string_view openFormulaName; // empty when it is `name`

    bool fixed() const { return minArguments == maxArguments; }
    std::string_view nameIn(bool openFormula) const
    {
        return openFormula && !openFormulaName.empty() ? openFormulaName : name;
    }
};

// The number that calls a function named by its first argument: an add-in's, a macro's, or one newer
// than the file format, which goes by its "_xlfn." name.
inline constexpr int NamedFunctionId = 255;

// The OpenFormula name of a function newer than the file format, given by its name without "_xlfn.":
// the same for those OpenFormula itself has (IFERROR, SUMIFS), Excel's own under "COM.MICROSOFT."
// (COM.MICROSOFT.CONCAT), as LibreOffice reads them.
std::string newerFunctionName(std::string_view name);
// The other way: the name without "_xlfn." of the function newer than the file format that OpenFormula
// calls `name` (IFERROR, COM.MICROSOFT.CONCAT, FORMULA); empty when it calls none of them so.
std::string newerFunctionOf(std::string_view name);

// The built-in function with the number `id`, nullptr when the format has none.
const Function* functionById(int id);
// The built-in function of an A1 or OpenFormula name, in any case; nullptr when none has it.
const Function* functionByName(std::string_view name);

} // namespace sheet::formula
