#include "Commands.h"
#include "WorkbookDump.h"

#include "sheet/Errors.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include <ostream>
#include <sstream>

namespace tools {

namespace {

int dump(const Arguments& arguments, std::ostream& output)
{
    if (arguments.size() != 1)
        throw UsageError("dump takes one argument: the workbook to list");
    const std::string& path = arguments[0];
    std::ostringstream listing;
    sheet::Application application;
    try {
        sheet::Workbook& workbook = application.workbooks().Open(path);
        writeWorkbookDump(workbook.model(), workbook.ActiveSheet().UsedRange().address(), listing);
        workbook.Close();
    } catch (const sheet::Error& error) {
        throw FileFailure(path, error.what());
    }
    application.Quit();
    output << listing.str();
    return 0;
}

}  // namespace

Command dumpCommand()
{
    return {"dump", "dump WORKBOOK",
            "    Lists the workbook, one fact a line with tab-separated fields: each sheet, the used range\n"
            "    of the active sheet, every cell that holds a value (address, kind, value, number format\n"
            "    code, the value as its format shows it) and every chart (type, 3-D or not, and for each\n"
            "    series where its name, values and categories come from).\n",
            dump};
}

}  // namespace tools
