#pragma once

#include "sheet/formula/CellFormulas.h"
#include "sheet/formula/WorkbookLinks.h"

#include <QXmlStreamWriter>

namespace sheet::ods {

// A formula cell's table:formula in OpenFormula ("of:=SUM([.B4:.B9])"), and for an array formula the
// columns and rows it spans. The cell's value attributes keep the formula's last result.
void writeFormulaAttributes(QXmlStreamWriter& xml, const formula::CellFormula& formula);

// The defined names of sheet `scope` (-1: of the workbook) as table:named-expressions: a name of a
// plain cell range as a table:named-range, any other as a table:named-expression, a built-in one
// under Excel_BuiltIn_ and its name ("Excel_BuiltIn_Print_Area"). Nothing when there are none.
void writeNamedExpressions(QXmlStreamWriter& xml, const formula::WorkbookLinks& links, int scope);

} // namespace sheet::ods
