#pragma once

#include <iosfwd>
#include <string>

namespace sheet::model {
struct Workbook;
}

namespace tools {

// Lists a workbook as text, one fact per line, fields separated by tabs (a tab or line break inside
// a field is written as \t, \n or \r):
//   sheet   <number> <name> <worksheet|chart|macro|other> [active] [hidden]
//   used    <range>                      (the active sheet's used range, after its sheet line)
//   cell    <address> <kind> <value> <number format code> <value as the format shows it>
//   chart   <number> <pie|other> <3-D|2-D>
//   series  <number> name=<ref> values=<ref> categories=<ref>   (a missing reference is "none")
void writeWorkbookDump(const sheet::model::Workbook& workbook, const std::string& activeUsedRange,
                       std::ostream& output);

// "A1" notation of a 0-based cell, and "B4:B9" (or "B3" for one cell) of a 0-based range.
std::string cellAddress(int row, int column);

}  // namespace tools
