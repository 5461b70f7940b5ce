#include "FilledTemplate.h"

#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"

namespace ods_testing {

sheet::model::Workbook filledTemplate(const std::vector<Entry>& entries)
{
    constexpr const char* accounting = R"(_("$"* #,##0_);_("$"* \(#,##0\);_("$"* "-"??_);_(@_))";
    sheet::Application excel;
    excel.setNumberLocale(sheet::NumberLocale{U'.', U','});
    sheet::Workbook& book = excel.workbooks().Open(TORTELET_CHART_TEMPLATE);
    sheet::Worksheet& sheet = book.ActiveSheet();
    for (int row = 4; row <= 9; ++row) {
        sheet.Cells(row, 1).setValue("");
        sheet.Cells(row, 2).setValue("");
    }
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const int row = 4 + static_cast<int>(k);
        sheet.Cells(row, 1).setValue(entries[k].first);
        sheet.Cells(row, 2).setValue(entries[k].second);
        sheet.Cells(row, 2).setNumberFormat(accounting);
    }
    sheet::model::Workbook model = book.model();
    book.Close();
    excel.Quit();
    return model;
}

std::vector<Entry> sampleEntries()
{
    return {{"Savings", "25000"}, {"401k", "55000"}, {"Stocks", "15000"},
            {"House", "250000"}, {"Bonds", "11000"}, {"Car", "7500"}};
}

}  // namespace ods_testing
