#include "Commands.h"
#include "OutputFormat.h"
#include "WorkbookPassword.h"

#include "sheet/Errors.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include <iostream>

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
    sheet::Workbook* workbook = nullptr;
    try {
        workbook = &openWorkbook(application.workbooks(), inputPath, password);
    } catch (const sheet::Error& error) {
        throw FileFailure(inputPath, error.what());
    }
    try {
        workbook->SaveAs(outputPath, saveFormatFor(outputPath), sheet::biff::SaveTarget::ChosenFile);
        warnOfOmissions(workbook->model(), outputPath, std::cerr);
        workbook->Close();
    } catch (const sheet::FormatError& error) {
        // What the output format cannot hold lies in the workbook read.
        throw FileFailure(inputPath, error.what());
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
            "    Reads the workbook IN (an Excel 97-2003 .xls or .xlt, an .xlsx, .xlsm, .xltx or .xltm\n"
            "    package, an .ods or .ots package or a flat .fods, known by its content) and writes it\n"
            "    as OUT in the format that OUT's extension names: .xlsx for the Excel workbook\n"
            "    (SpreadsheetML, its charts of every type, pictures and shapes in DrawingML, chart\n"
            "    sheets as chart sheets, its cell\n"
            "    comments with their note boxes), .ods for the OpenDocument spreadsheet (its charts\n"
            "    as chart objects, a chart sheet as a table of its own, its pictures and shapes as\n"
            "    drawing shapes, its comments as annotations), .xls or any other name for the Excel\n"
            "    97-2003 format. The packages keep the cells, their formats and rich text,\n"
            "    the sheets' view (frozen and split panes, selection, zoom, gridlines), page set-up,\n"
            "    header and footer, protection, hyperlinks, AutoFilter ranges, conditional formats\n"
            "    and data validation, the comments (Excel 95 ones too), the pictures (PNG, JPEG,\n"
            "    EMF, WMF, PICT, BMP, each stored once), and the lines, arrows, rectangles, ovals,\n"
            "    arcs, text boxes and buttons with their text, fill and outline; sheet names they\n"
            "    forbid are mended (characters such as [ ] : * ? / \\ become _, at most 31\n"
            "    characters, unique without regard to case). What the format cannot hold is named\n"
            "    in the error and nothing is written: a macro sheet, an embedded OLE object, an\n"
            "    ActiveX control, a pivot table, a chart of a type the\n"
            "    engine does not know or that no drawing object places (an Excel 95 workbook's\n"
            "    charts), a form control (the AutoFilter's arrows go with the filter), a group of\n"
            "    shapes, an Excel 95 picture or shape. What is left out is named in a warning on\n"
            "    standard error and the rest is written: macros (a VBA project), the macro a button\n"
            "    runs, a filter's\n"
            "    criteria (the rows they hide stay hidden), the rules of\n"
            "    conditional formats and data validation whose formulas are not plain numbers, texts\n"
            "    or cells and, in .ods, the password of a protected sheet and a hyperlink on an empty\n"
            "    cell. An .ods header or footer keeps its text and fields, not its fonts.\n"
            "    An .xlsx or .ods that holds what the engine does not read from it yet (shared or\n"
            "    array formulas, cells beyond the sheet, validation, conditional formats, hyperlinks,\n"
            "    pictures) is refused by name in another format.\n"
            "    A link at OUT is followed and its target replaced.\n",
            convert};
}

}  // namespace tools
