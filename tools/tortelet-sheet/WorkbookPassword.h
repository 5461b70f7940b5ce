#pragma once

#include "Command.h"

#include "sheet/automation/Workbooks.h"

#include <string>

namespace sheet {
class Workbook;
}

namespace tools {

// The password of an encrypted workbook, given so that it never has to stand on the command line:
// the first line of the file named by "--password-file FILE", an option taken out of `arguments`
// wherever it stands, or else the environment variable TORTELET_PASSWORD. Empty when neither gives one.
std::string takePassword(Arguments& arguments);

// Opens the workbook; when the password is wrong or missing, the FileFailure says how to give it.
sheet::Workbook& openWorkbook(sheet::Workbooks& workbooks, const std::string& path, const std::string& password);

}  // namespace tools
