#pragma once

#include "sheet/biff/SheetConditionalFormats.h"
#include "sheet/model/Workbook.h"

#include <QXmlStreamWriter>

#include <string>
#include <vector>

namespace sheet::ods {

// The workbook's conditional formats as LibreOffice keeps them: each distinct look a common cell style
// ("Conditional" + N, built on "Default"), and each sheet's formats a calcext:conditional-formats
// element at the end of its table, a condition for each rule whose formulas are written (see
// biff::ConditionalRule::written).
class ConditionalFormats {
public:
    explicit ConditionalFormats(const model::Workbook& workbook);

    // The cell styles of the looks, for the styles part's common styles.
    void writeStyles(QXmlStreamWriter& xml) const;
    // The conditional formats of sheet `sheet`, written as `sheetName`, inside its table.
    void writeFormats(QXmlStreamWriter& xml, std::size_t sheet, const std::string& sheetName) const;

private:
    std::size_t styleOf(const biff::DifferentialFormat& look) const;

    const model::Workbook& workbook_;
    std::vector<std::vector<biff::ConditionalFormat>> sheets_;
    std::vector<biff::DifferentialFormat> looks_;
};

} // namespace sheet::ods
