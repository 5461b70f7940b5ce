#include "sheet/formula/FormulaTexts.h"

#include "sheet/Errors.h"
#include "sheet/formula/FormulaParser.h"
#include "sheet/formula/FormulaRecords.h"
#include "sheet/formula/TokenWriter.h"

namespace sheet::formula {

void readFormulaTexts(model::Workbook& workbook, const std::vector<NameText>& names,
                      const std::vector<const std::map<model::CellAddress, std::string>*>& cellFormulas, Grammar grammar)
{
    std::vector<std::string> sheetNames;
    for (const model::Sheet& sheet : workbook.sheets)
        sheetNames.push_back(sheet.name);
    FormulaContext context(sheetNames);
    const auto scopeOf = [&](int sheet) {
        return sheet >= 0 && static_cast<std::size_t>(sheet) < workbook.sheets.size() ? sheet : -1;
    };
    std::vector<std::pair<int, const NameText*>> added;
    for (const NameText& name : names)
        added.emplace_back(context.addName(name.name, scopeOf(name.sheet), name.hidden), &name);
    for (const auto& [index, name] : added) {
        context.sheet = scopeOf(name->sheet);
        try {
            parseNameFormula(context, index, name->formula, grammar);
        } catch (const FormatError&) {
            // A name the grammar cannot read keeps no formula.
        }
    }
    bool any = !added.empty();
    for (std::size_t k = 0; k < cellFormulas.size() && k < workbook.sheets.size(); ++k) {
        model::Sheet& sheet = workbook.sheets[k];
        context.sheet = static_cast<int>(k);
        for (const auto& [at, text] : *cellFormulas[k]) {
            try {
                const EncodedFormula encoded = encodeTokens(parseFormula(text, grammar, context));
                model::Cell& cell = sheet.cells[at];
                sheet.formulas[at] = formulaRecords(at, cell.xf, encoded, workbook.value(cell));
                cell.setHasFormula(true);
                any = true;
            } catch (const FormatError&) {
                // The cell keeps the result the package holds.
            }
        }
    }
    if (any) {
        std::vector<model::Record> records = linkRecords(context.links);
        workbook.globalRecords.insert(workbook.globalRecords.end(), records.begin(), records.end());
    }
}

} // namespace sheet::formula
