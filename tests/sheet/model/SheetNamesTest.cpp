#include "sheet/model/SheetNames.h"

#include <gtest/gtest.h>

namespace {

struct Mending {
    const char* why;
    std::vector<std::string> names;
    std::vector<std::string> written;
};

std::vector<std::string> written(const std::vector<std::string>& names)
{
    sheet::model::Workbook workbook;
    for (const std::string& name : names) {
        sheet::model::Sheet sheet;
        sheet.name = name;
        workbook.sheets.push_back(std::move(sheet));
    }
    return sheet::model::writtenSheetNames(workbook);
}

// Names a package cannot hold are mended as spreadsheet programs mend them; any other name stays.
TEST(SheetNames, AreMendedOnlyWhereAPackageCannotHoldThem)
{
    const std::string long40 = "Quarterly results of the northern region";
    const Mending cases[] = {
        {"names that need nothing stay", {"Assets", "Sheet 2", "Übersicht"}, {"Assets", "Sheet 2", "Übersicht"}},
        {"forbidden characters", {"[a]:*?", "a/b\\c?"}, {"_a____", "a_b_c_"}},
        {"control characters", {std::string("tab\there")}, {"tab_here"}},
        {"apostrophes at either end", {"'quoted'", "it's"}, {"_quoted_", "it's"}},
        {"cut to 31 characters", {long40}, {long40.substr(0, 31)}},
        {"a character beyond the BMP is not cut in two", {std::string(30, 'x') + "\xF0\x9F\x98\x80"}, {std::string(30, 'x')}},
        {"empty names", {"", "Data", ""}, {"Sheet1", "Data", "Sheet3"}},
        {"unique without regard to case", {"Data", "DATA", "data"}, {"Data", "DATA (2)", "data (3)"}},
        {"a number no sheet has", {"Data", "DATA", "Data (2)"}, {"Data", "DATA (3)", "Data (2)"}},
        {"a number within 31 characters", {long40, long40}, {long40.substr(0, 31), long40.substr(0, 27) + " (2)"}},
        {"mended names meet too", {"a?", "a*"}, {"a_", "a_ (2)"}},
    };
    for (const Mending& mending : cases)
        EXPECT_EQ(written(mending.names), mending.written) << mending.why;
}

} // namespace
