// Two workbooks converted by the tortelet-sheet program as a user would: the parts that hold their
// formulas and defined names are the kept ones in expected/.

#include "KeptFile.h"
#include "ZipParts.h"

#include "sheet/TestFiles.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

// Whether a part holds formulas or names: the workbook and its sheets, or OpenDocument's content.
bool holdsFormulas(const std::string& part)
{
    return part == "xl/workbook.xml" || part.starts_with("xl/worksheets/sheet") || part.starts_with("xl/externalLinks/")
        || part == "content.xml";
}

// Array formulas, data tables and a constant array (array-and-table-formulas, made by Excel); formulas of
// many kinds with names of the workbook and of a sheet, built-in ones among them (writeexcel-formulas-and-names).
TEST(ConvertedFormulas, PartsHoldingFormulasAndNamesAreTheKeptOnes)
{
    const sheet::test::ScratchFolder folder;
    for (const std::string workbook : {"array-and-table-formulas", "writeexcel-formulas-and-names"}) {
        for (const std::string extension : {".xlsx", ".ods"}) {
            SCOPED_TRACE(workbook + extension);
            const std::string out = folder.path(workbook + extension);
            QProcess process;
            process.start(QStringLiteral(TORTELET_SHEET_PROGRAM),
                          {QStringLiteral("convert"), QString::fromStdString(sheet::test::dataPath(workbook + ".xls")),
                           QString::fromStdString(out)});
            ASSERT_TRUE(process.waitForFinished(60000));
            ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
            for (const auto& [name, content] : tools::test::zipParts(out)) {
                if (holdsFormulas(name))
                    tools::test::expectKeptFile("convert-" + workbook + extension + "/" + name, content);
            }
        }
    }
}

} // namespace
