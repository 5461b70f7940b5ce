#include "Commands.h"
#include "WorkbookDump.h"
#include "WorkbookPassword.h"

#include "sheet/Errors.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include <ostream>

namespace tools {

namespace {

int dump(const Arguments& given, std::ostream& output)
{
    Arguments arguments = given;
    const std::string password = takePassword(arguments);
    if (arguments.size() != 1)
        throw UsageError("dump takes one argument: the workbook to list");
    const std::string& path = arguments[0];
    sheet::Application application;
    try {
        sheet::Workbook& workbook = openWorkbook(application.workbooks(), path, password);
        const std::string usedRange = workbook.ActiveSheet().UsedRange().address();
        writeWorkbookDump(workbook.model(), usedRange, output);
        workbook.Close();
    } catch (const sheet::Error& error) {
        throw FileFailure(path, error.what());
    }
    application.Quit();
    return 0;
}

}  // namespace

Command dumpCommand()
{
    return {"dump", "dump WORKBOOK [--password-file FILE]",
            "    Lists the workbook (in any format convert reads), one fact a line with tab-separated fields: each sheet, the used range\n"
            "    of the active sheet (of the first worksheet when a chart sheet is active), every cell\n"
            "    that holds a value (address, kind, value, number format code, the value as its format\n"
            "    shows it) and every chart (type, 3-D or not, and for each series where its name, values\n"
            "    and categories come from).\n",
            dump};
}

}  // namespace tools
