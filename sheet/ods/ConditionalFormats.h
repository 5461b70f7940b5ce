#pragma once

#include "sheet/biff/SheetConditionalFormats.h"
#include "sheet/formula/WorkbookLinks.h"
#include "sheet/model/Workbook.h"

#include <QString>
#include <QXmlStreamWriter>

#include <string>
#include <utility>
#include <vector>

namespace sheet::ods {

// The workbook's conditional formats as LibreOffice keeps them: each distinct look a common cell style
// ("Conditional" + N, built on "Default"), and each sheet's formats a calcext:conditional-formats
// element at the end of its table, a condition for each rule whose formulas are written (see
// biff::ConditionalRule::written) and can be written: a formula that is not a simple one is written
// from its tokens by `links`.
class ConditionalFormats {
public:
    ConditionalFormats(const model::Workbook& workbook, const formula::WorkbookLinks& links);

    // The cell styles of the looks, for the styles part's common styles.
    void writeStyles(QXmlStreamWriter& xml) const;
    // The conditional formats of sheet `sheet`, written as `sheetName`, inside its table.
    void writeFormats(QXmlStreamWriter& xml, std::size_t sheet, const std::string& sheetName) const;

private:
    // A format's cells and its rules, each its look and its condition.
    struct Format {
        std::vector<model::CellRange> ranges;
        std::vector<std::pair<biff::DifferentialFormat, QString>> conditions;
    };

    std::size_t styleOf(const biff::DifferentialFormat& look) const;

    const model::Workbook& workbook_;
    std::vector<std::vector<Format>> sheets_;
    std::vector<biff::DifferentialFormat> looks_;
};

} // namespace sheet::ods
