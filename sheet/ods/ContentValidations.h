#pragma once

#include "sheet/biff/SheetValidations.h"
#include "sheet/formula/WorkbookLinks.h"
#include "sheet/model/Workbook.h"

#include <QString>
#include <QXmlStreamWriter>

#include <string>
#include <vector>

namespace sheet::ods {

// The workbook's rules of data validation as OpenDocument content validations ("val" + N), each rule
// whose formulas can be written (a formula that is not a simple one from its tokens by the links):
// its condition, whether blanks pass, the
// list's arrow, the prompt and the error message. The cells a rule covers name it.
class ContentValidations {
public:
    ContentValidations(const model::Workbook& workbook, const formula::WorkbookLinks& links);

    // table:content-validations, when there are any; before the tables. `names` are the names the
    // sheets are written under.
    void write(QXmlStreamWriter& xml, const std::vector<std::string>& names) const;
    // The validation of a cell, nullptr when none covers it; of two, the later rule.
    const QString* at(std::size_t sheet, int row, int column) const;
    // The last row that a rule of the sheet covers; -1 when it has none.
    int lastRow(std::size_t sheet) const;
    // Which of the sheet's rules cover a row: rows with the same rules and nothing else go together.
    std::vector<std::size_t> rulesOfRow(std::size_t sheet, int row) const;

private:
    struct Rule {
        biff::Validation validation;
        std::size_t sheet = 0;
        QString name;
        QString condition;
    };
    std::vector<Rule> rules_;
};

} // namespace sheet::ods
