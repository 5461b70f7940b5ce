#include "sheet/ods/PackageFormulas.h"

#include "sheet/formula/FormulaTexts.h"

namespace sheet::ods {

void readPackageFormulas(OdsPackage& package)
{
    std::vector<formula::NameText> names;
    for (const OdsName& name : package.names)
        names.push_back({name.name, name.sheet, name.expression ? name.text : "of:=[" + name.text + "]", false});
    std::vector<const std::map<model::CellAddress, std::string>*> formulas;
    for (const auto& sheet : package.formulas)
        formulas.push_back(&sheet);
    formula::readFormulaTexts(package.workbook, names, formulas, formula::Grammar::OpenFormula);
}

} // namespace sheet::ods
