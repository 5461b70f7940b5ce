#include "Commands.h"
#include "OutputFormat.h"
#include "WorkbookPassword.h"

#include "sheet/Errors.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

namespace tools {

namespace {

int convert(const Arguments& given, std::ostream&)
{
    Arguments arguments = given;
    const std::string password = takePassword(arguments);
    if (arguments.size() != 2)
        throw UsageError("convert takes the workbook to read and the file to write");
    const std::string& inputPath = arguments[0];
    const std::string& outputPath = arguments[1];
    sheet::Application application;
    try {
        sheet::Workbook& workbook = openWorkbook(application.workbooks(), inputPath, password);
        workbook.SaveAs(outputPath, saveFormatFor(outputPath), sheet::biff::SaveTarget::ChosenFile);
        workbook.Close();
    } catch (const sheet::FormatError& error) {
        throw FileFailure(inputPath, error.what());
    } catch (const sheet::FileError& error) {
        const std::string text = error.what();
        throw FileFailure(text.starts_with(inputPath + ": ") ? inputPath : outputPath, text);
    } catch (const sheet::Error& error) {
        throw FileFailure(outputPath, error.what());
    }
    application.Quit();
    return 0;
}

}  // namespace

Command convertCommand()
{
    return {"convert", "convert IN OUT [--password-file FILE]",
            "    Reads the Excel 97-2003 workbook IN and writes it as OUT in the format that OUT's\n"
            "    extension names: .xlsx for the Excel workbook (SpreadsheetML, its pie charts in\n"
            "    DrawingML, its cell comments with their note boxes), .ods for the OpenDocument\n"
            "    spreadsheet (its pie charts as chart objects), .xls or any other name for the Excel\n"
            "    97-2003 format. A sheet, chart, comment or other drawing object that the format\n"
            "    cannot hold (an Excel 95 workbook's charts among them) is named in the error and\n"
            "    nothing is written. A link at OUT is followed and its target replaced.\n",
            convert};
}

}  // namespace tools
