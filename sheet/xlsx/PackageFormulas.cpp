#include "sheet/xlsx/PackageFormulas.h"

#include "sheet/Errors.h"
#include "sheet/formula/FormulaParser.h"
#include "sheet/formula/FormulaRecords.h"
#include "sheet/formula/TokenWriter.h"

namespace sheet::xlsx {

void readPackageFormulas(XlsxPackage& package)
{
    model::Workbook& workbook = package.workbook;
    std::vector<std::string> sheetNames;
    for (const model::Sheet& sheet : workbook.sheets)
        sheetNames.push_back(sheet.name);
    formula::FormulaContext context(sheetNames);
    std::vector<std::pair<int, const XlsxDefinedName*>> names;
    for (const XlsxDefinedName& name : package.definedNames) {
        const int scope = name.sheet >= 0 && static_cast<std::size_t>(name.sheet) < workbook.sheets.size() ? name.sheet : -1;
        names.emplace_back(context.addName(name.name, scope, name.hidden), &name);
    }
    for (const auto& [index, name] : names) {
        const int scope = name->sheet >= 0 && static_cast<std::size_t>(name->sheet) < workbook.sheets.size() ? name->sheet : -1;
        context.sheet = scope;
        try {
            formula::parseNameFormula(context, index, name->formula, formula::Grammar::A1);
        } catch (const FormatError&) {
            // A name the grammar cannot read keeps no formula.
        }
    }
    bool any = !names.empty();
    for (std::size_t k = 0; k < package.sheets.size() && k < workbook.sheets.size(); ++k) {
        model::Sheet& sheet = workbook.sheets[k];
        context.sheet = static_cast<int>(k);
        for (const auto& [at, text] : package.sheets[k].formulas) {
            try {
                const std::vector<formula::Token> tokens = formula::parseFormula(text, formula::Grammar::A1, context);
                const formula::EncodedFormula encoded = formula::encodeTokens(tokens);
                model::Cell& cell = sheet.cells[at];
                sheet.formulas[at] = formula::formulaRecords(at, cell.xf, encoded, workbook.value(cell));
                cell.setHasFormula(true);
                any = true;
            } catch (const FormatError&) {
                // The cell keeps the result the package holds.
            }
        }
    }
    if (any) {
        std::vector<model::Record> records = formula::linkRecords(context.links);
        workbook.globalRecords.insert(workbook.globalRecords.end(), records.begin(), records.end());
    }
}

} // namespace sheet::xlsx
