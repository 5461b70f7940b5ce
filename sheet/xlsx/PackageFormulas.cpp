#include "sheet/xlsx/PackageFormulas.h"

#include "sheet/formula/FormulaTexts.h"

namespace sheet::xlsx {

void readPackageFormulas(XlsxPackage& package)
{
    std::vector<formula::NameText> names;
    for (const XlsxDefinedName& name : package.definedNames)
        names.push_back({name.name, name.sheet, name.formula, name.hidden});
    std::vector<const std::map<model::CellAddress, std::string>*> formulas;
    for (const XlsxSheet& sheet : package.sheets)
        formulas.push_back(&sheet.formulas);
    formula::readFormulaTexts(package.workbook, names, formulas, formula::Grammar::A1);
}

} // namespace sheet::xlsx
