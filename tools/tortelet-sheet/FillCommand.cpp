#include "Commands.h"
#include "EntriesFile.h"
#include "OutputFormat.h"
#include "WorkbookPassword.h"

#include "sheet/Errors.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

#include <algorithm>
#include <iostream>

namespace tools {

namespace {

// The accounting format that the chart build gives every amount cell.
constexpr const char* AmountFormat = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";
constexpr int FirstDataRow = 4;
constexpr int TemplateDataRows = 6;

void clearDataRows(sheet::Worksheet& sheet)
{
    for (int column : {1, 2})
        for (int row = FirstDataRow; row < FirstDataRow + TemplateDataRows; ++row)
            sheet.Cells(row, column).setValue("");
}

// Entries written into merged cells would hide under the merge, so such a template is refused.
void refuseMergedEntryRows(const sheet::Worksheet& sheet, std::size_t entries)
{
    const int lastRow = FirstDataRow + std::max(TemplateDataRows, static_cast<int>(entries)) - 1;
    if (const auto merged = sheet.mergedCellsMeeting(FirstDataRow, 1, lastRow, 2))
        throw sheet::FormatError("the entry rows A" + std::to_string(FirstDataRow) + ":B" + std::to_string(lastRow) +
                                 " meet the merged cells " + *merged + ", which would hide entries");
}

void writeEntry(sheet::Worksheet& sheet, int row, const Entry& entry)
{
    sheet.Cells(row, 1).setValue(entry.label);
    sheet::Cell amount = sheet.Cells(row, 2);
    amount.setValue(entry.amount);
    amount.setNumberFormat(AmountFormat);
}

// Damage found while writing lies in the template; a value the sheet cannot take comes from the entries.
[[noreturn]] void blameFor(const sheet::Error& error, const std::string& templatePath, const std::string& entriesSource,
                           std::size_t entry)
{
    if (dynamic_cast<const sheet::ArgumentError*>(&error))
        throw FileFailure(entriesSource, "entry " + std::to_string(entry + 1) + ": " + error.what());
    throw FileFailure(templatePath, error.what());
}

int fill(const Arguments& given, std::ostream&)
{
    Arguments arguments = given;
    const std::string password = takePassword(arguments);
    if (arguments.size() < 2 || arguments.size() > 3)
        throw UsageError("fill takes a template, the file to write and optionally an entries file");
    const std::string& templatePath = arguments[0];
    const std::string& outputPath = arguments[1];
    std::vector<Entry> entries = arguments.size() == 3 ? readEntriesFile(arguments[2]) : std::vector<Entry>{};
    const std::string entriesSource = arguments.size() == 3 && arguments[2] == "-" ? "standard input"
                                      : arguments.size() == 3                   ? arguments[2]
                                                                                : std::string();

    sheet::Application application;
    sheet::Workbook* workbook = nullptr;
    try {
        workbook = &openWorkbook(application.workbooks(), templatePath, password);
        refuseMergedEntryRows(workbook->ActiveSheet(), entries.size());
        clearDataRows(workbook->ActiveSheet());
    } catch (const sheet::Error& error) {
        throw FileFailure(templatePath, error.what());
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        try {
            writeEntry(workbook->ActiveSheet(), FirstDataRow + static_cast<int>(i), entries[i]);
        } catch (const sheet::Error& error) {
            blameFor(error, templatePath, entriesSource, i);
        }
    }
    entries = {};  // the sheet holds them now; saving needs the room
    try {
        workbook->SaveAs(outputPath, saveFormatFor(outputPath), sheet::biff::SaveTarget::ChosenFile);
        warnOfOmissions(workbook->model(), outputPath, std::cerr);
    } catch (const sheet::FormatError& error) {
        throw FileFailure(templatePath, error.what());
    } catch (const sheet::Error& error) {
        throw FileFailure(outputPath, error.what());
    }
    workbook->Close();
    application.Quit();
    return 0;
}

}  // namespace

Command fillCommand()
{
    return {"fill", "fill TEMPLATE OUT [ENTRIES] [--password-file FILE]",
            "    Opens the workbook TEMPLATE (an .xls or .xlt, an .xlsx, .xlsm, .xltx or .xltm, an .ods,\n"
            "    .ots or .fods), empties the data rows A4:B9 of its active sheet (of its\n"
            "    first worksheet when a chart sheet is active), writes the entries from row 4 on (the\n"
            "    label in column A, the amount in column B as if typed, in the user's locale, with the\n"
            "    accounting format) and saves the result as OUT in the format that OUT's extension\n"
            "    names: .xlsx for the Excel workbook (.xlsm to keep a template's macros), .ods for the\n"
            "    OpenDocument spreadsheet, .xls or any other name for the Excel 97-2003 format. A\n"
            "    package filled into its own format keeps every part the fill does not change byte for\n"
            "    byte; a chart whose series ends just above the entries grows to the last of them. ENTRIES is a UTF-8 file of \"label<TAB>amount\"\n"
            "    lines, or \"-\" for standard input, of at most 64 MB and 65,533 entries (rows 4 to\n"
            "    65536); without ENTRIES the data rows are left empty. A link at OUT is followed and its\n"
            "    target replaced. An Excel 95 workbook is refused: it can be listed and drawn, but not\n"
            "    written. So is a template whose entry rows (A4:B9, or as far down as the entries go)\n"
            "    meet merged cells, which would hide entries.\n",
            fill};
}

}  // namespace tools
