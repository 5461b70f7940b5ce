#pragma once

#include "sheet/biff/WorkbookFile.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace sheet::biff {

// What a package written from the workbook (.xlsx, .ods) cannot hold is refused by name, and nothing
// is written: the OLE objects embedded beside the workbook's stream, its
// ActiveX controls and its pivot tables (with the drop-down arrows that belong to them). (Sheets that are
// no worksheet and drawings the packages cannot draw are refused by the package writers.)
void refuseWhatPackagesCannotHold(const WorkbookFile& file);

// Whether the tokens of a rule's formula on sheet `sheet` can be written, their relative references
// taken at `base`.
using RuleTokensCheck = std::function<bool(std::size_t sheet, std::span<const std::uint8_t> tokens, const model::CellAddress& base)>;

// What the packages leave out of a sheet they write, one sentence each for the person who converts it:
// the workbook's macros (its VBA project), the rules of conditional formats and data validation with a
// formula whose tokens `writable` refuses, an
// AutoFilter's criteria (the rows they hide stay hidden), the macro of a button or shape, and for an OpenDocument spreadsheet the
// password of a protected sheet and the hyperlinks on cells the sheet has no record of. Empty when nothing is left out.
std::vector<std::string> packageOmissions(const model::Workbook& workbook, bool openDocument, const RuleTokensCheck& writable);

} // namespace sheet::biff
