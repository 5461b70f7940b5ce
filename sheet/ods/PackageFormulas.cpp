#include "sheet/ods/PackageFormulas.h"

#include "sheet/Errors.h"
#include "sheet/formula/FormulaParser.h"
#include "sheet/formula/FormulaRecords.h"

namespace sheet::ods {

void readPackageFormulas(OdsPackage& package)
{
    model::Workbook& workbook = package.workbook;
    std::vector<std::string> sheetNames;
    for (const model::Sheet& sheet : workbook.sheets)
        sheetNames.push_back(sheet.name);
    formula::FormulaContext context(sheetNames);
    std::vector<std::pair<int, const OdsName*>> names;
    for (const OdsName& name : package.names)
        names.emplace_back(context.addName(name.name, name.sheet), &name);
    for (const auto& [index, name] : names) {
        const std::string text = name->expression ? name->text : "of:=[" + name->text + "]";
        context.sheet = name->sheet;
        try {
            formula::parseNameFormula(context, index, text, formula::Grammar::OpenFormula);
        } catch (const FormatError&) {
            // A name the grammar cannot read keeps no formula.
        }
    }
    bool any = !names.empty();
    for (std::size_t k = 0; k < package.formulas.size() && k < workbook.sheets.size(); ++k) {
        model::Sheet& sheet = workbook.sheets[k];
        context.sheet = static_cast<int>(k);
        for (const auto& [at, text] : package.formulas[k]) {
            try {
                const std::vector<formula::Token> tokens = formula::parseFormula(text, formula::Grammar::OpenFormula, context);
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

} // namespace sheet::ods
