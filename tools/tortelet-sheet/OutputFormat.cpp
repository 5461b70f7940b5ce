#include "OutputFormat.h"

#include "sheet/biff/PackageLimits.h"
#include "sheet/formula/RuleFormulas.h"
#include "sheet/model/SheetNames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tools {

namespace {

constexpr int Excel97Workbook = 56;
constexpr int OpenXmlWorkbook = 51;
constexpr int OpenXmlMacroWorkbook = 52;
constexpr int OpenDocumentSpreadsheet = 60;

}  // namespace

int saveFormatFor(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".xlsx")
        return OpenXmlWorkbook;
    if (extension == ".xlsm")
        return OpenXmlMacroWorkbook;
    if (extension == ".ods")
        return OpenDocumentSpreadsheet;
    return Excel97Workbook;
}

void warnOfOmissions(const sheet::model::Workbook& workbook, const std::string& path, std::ostream& errors)
{
    const int format = saveFormatFor(path);
    if (format == Excel97Workbook)
        return;
    const bool openDocument = format == OpenDocumentSpreadsheet;
    const sheet::formula::WorkbookLinks links =
        sheet::formula::readWorkbookLinks(workbook, sheet::model::writtenSheetNames(workbook));
    const auto writable = [&](std::size_t sheet, std::span<const std::uint8_t> tokens, const sheet::model::CellAddress& base) {
        const auto grammar = openDocument ? sheet::formula::Grammar::OpenFormula : sheet::formula::Grammar::A1;
        return sheet::formula::ruleFormulaText(tokens, base, links, static_cast<int>(sheet), grammar).has_value();
    };
    for (const std::string& omission : sheet::biff::packageOmissions(workbook, openDocument, writable))
        errors << "tortelet-sheet: warning: " << path << ": " << omission << '\n';
}

}  // namespace tools
