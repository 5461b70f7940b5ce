#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/xlsx/XlsxFile.h"
#include "sheet/TestFiles.h"

#include <gtest/gtest.h>

namespace {

std::string part(const sheet::model::Workbook& workbook, const std::string& name)
{
    for (const sheet::zip::ZipEntry& entry : sheet::xlsx::xlsxParts(workbook))
        if (entry.name == name)
            return entry.bytes;
    ADD_FAILURE() << "no part " << name;
    return {};
}

// A workbook as read keeps its formulas' stored results for readers that do not calculate; once a
// cell has changed, those results may be out of date, and the package asks to be calculated on opening.
TEST(XlsxFormulas, AChangedWorkbookIsCalculatedWhenOpened)
{
    sheet::model::Workbook workbook =
        sheet::biff::openWorkbookFile(sheet::test::dataPath("writeexcel-formulas-and-names.xls")).workbook;
    const std::string read = part(workbook, "xl/workbook.xml");
    EXPECT_EQ(read.find("calcPr"), std::string::npos);
    EXPECT_NE(read.find("<definedName name=\"Local\" localSheetId=\"0\">Data!$B$1</definedName>"), std::string::npos);
    const std::string sheet = part(workbook, "xl/worksheets/sheet1.xml");
    EXPECT_NE(sheet.find("<c r=\"C7\" s=\"15\" t=\"str\"><f>A1&amp;&quot;x&quot;&amp;A4</f><v>1xtext</v></c>"), std::string::npos);

    sheet::edit::writeCellText(workbook, 0, 0, 0, "5", sheet::NumberLocale{});
    EXPECT_NE(part(workbook, "xl/workbook.xml").find("<calcPr fullCalcOnLoad=\"1\"/>"), std::string::npos);
    EXPECT_NE(part(workbook, "xl/worksheets/sheet1.xml").find("<f>(A1+A2)*A3</f><v>9</v>"), std::string::npos);
}

} // namespace
