#include "tools/tortelet-sheet/OutputFormat.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// A sheet with a conditional format and two rules of data validation over B4:B9 whose formulas are
// written from their tokens, and one of each whose tokens are cut short (PI() followed by a bare tExp).
sheet::model::Workbook ruledWorkbook()
{
    sheet::model::Workbook workbook;
    workbook.biff = 8;
    sheet::model::Sheet& sheet = workbook.sheets.emplace_back();
    sheet.name = "Assets";
    const std::vector<std::uint8_t> look = {0, 0, 0, 0x20, 0, 0, 0x00, 0x04, 0x00, 0x05};
    std::vector<std::uint8_t> relative = {2, 0, 19, 0, 0, 0}, broken = {2, 0, 4, 0, 0, 0};
    relative.insert(relative.end(), look.begin(), look.end());
    relative.insert(relative.end(), {0x2C, 0, 0, 0xFF, 0xC0, 0x25, 3, 0, 8, 0, 1, 0, 1, 0, 0x42, 1, 5, 0, 0x0D});
    broken.insert(broken.end(), look.begin(), look.end());
    broken.insert(broken.end(), {0x41, 0x13, 0, 0x01});
    const auto validation = [](std::vector<std::uint8_t> tokens) {
        std::vector<std::uint8_t> bytes = {0x07, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(tokens.size()), 0, 0, 0});
        bytes.insert(bytes.end(), tokens.begin(), tokens.end());
        bytes.insert(bytes.end(), {0, 0, 0, 0, 1, 0, 3, 0, 8, 0, 1, 0, 1, 0});
        return bytes;
    };
    sheet.records = {{0x01B0, {2, 0, 0, 0, 3, 0, 8, 0, 1, 0, 1, 0, 1, 0, 3, 0, 8, 0, 1, 0, 1, 0}},
                     {0x01B1, relative},
                     {0x01B1, broken},
                     {0x01BE, validation({0x2C, 0, 0, 0xFF, 0xC0, 0x41, 0x80, 0})},
                     {0x01BE, validation({0x41, 0x13, 0, 0x01})}};
    return workbook;
}

} // namespace

// The warning after a conversion names only the rules whose formulas cannot be written, in both
// packages; a workbook of Excel 97-2003 keeps them all.
TEST(OutputFormat, WarnsOfTheRulesWhoseFormulasCannotBeWritten)
{
    const sheet::model::Workbook workbook = ruledWorkbook();
    for (const char* path : {"out.xlsx", "out.ods"}) {
        std::ostringstream errors;
        tools::warnOfOmissions(workbook, path, errors);
        const std::string prefix = std::string("tortelet-sheet: warning: ") + path + ": the sheet \"Assets\" has ";
        EXPECT_EQ(errors.str(), prefix + "1 rule of conditional formats, which is not written\n" + prefix +
                                    "1 rule of data validation, which is not written\n");
    }
    std::ostringstream errors;
    tools::warnOfOmissions(workbook, "out.xls", errors);
    EXPECT_EQ(errors.str(), "");
}

// A button is written without the macro it runs, and the warning names the button; one without a
// macro, and an Excel 95 object (which is refused by name), are no omission.
TEST(OutputFormat, WarnsOfTheMacroAButtonRuns)
{
    sheet::model::Workbook workbook;
    sheet::model::Sheet& sheet = workbook.sheets.emplace_back();
    sheet.name = "Assets";
    sheet::model::DrawingObject button;
    button.objectType = sheet::model::DrawingObject::Button;
    button.name = "Button 1";
    sheet.drawings = {button, button, button};
    sheet.drawings[0].runsMacro = true;
    sheet.drawings[2].runsMacro = sheet.drawings[2].excel95 = true;
    std::ostringstream errors;
    tools::warnOfOmissions(workbook, "out.ods", errors);
    EXPECT_EQ(errors.str(), "tortelet-sheet: warning: out.ods: the sheet \"Assets\" holds a button \"Button 1\" that runs "
                            "a macro; it is written without it\n");
}
