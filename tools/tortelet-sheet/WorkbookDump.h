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
//   used    <range>                      (the active sheet's used range, after its sheet line; the
//                                         first worksheet's when the active sheet is a chart sheet)
//   cell    <address> <kind> <value> <number format code> <value as the format shows it>
//   chart   <number> <pie|other> <3-D|2-D>
//   series  <number> name=<ref> values=<ref> categories=<ref>   (a missing reference is "none")
void writeWorkbookDump(const sheet::model::Workbook& workbook, const std::string& activeUsedRange,
                       std::ostream& output);

}  // namespace tools
