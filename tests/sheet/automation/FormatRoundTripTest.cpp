#include "sheet/Errors.h"
#include "sheet/automation/Application.h"
#include "sheet/automation/Workbook.h"
#include "sheet/formula/CellFormulas.h"
#include "sheet/model/SheetNames.h"

#include "sheet/TestFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string text(const sheet::CellValue& value)
{
    if (const auto* number = std::get_if<double>(&value))
        return std::to_string(*number);
    if (const auto* string = std::get_if<std::string>(&value))
        return '"' + *string + '"';
    if (const auto* logical = std::get_if<bool>(&value))
        return *logical ? "TRUE" : "FALSE";
    if (const auto* error = std::get_if<sheet::ErrorCode>(&value))
        return sheet::model::errorText(*error);
    return "empty";
}

// What a trip through the formats must keep: every worksheet's values and formulas (as A1 text), and
// each chart's type and the cells of its series.
std::string essence(sheet::model::Workbook& workbook)
{
    std::ostringstream out;
    const sheet::formula::WorkbookLinks links =
        sheet::formula::readWorkbookLinks(workbook, sheet::model::writtenSheetNames(workbook));
    for (std::size_t index = 0; index < workbook.sheets.size(); ++index) {
        const sheet::model::Sheet& sheet = workbook.sheets[index];
        out << "sheet " << sheet.name << '\n';
        const sheet::formula::SheetFormulas formulas(sheet, static_cast<int>(index), links, sheet::formula::Grammar::A1);
        for (const auto& [at, cell] : sheet.cells) {
            if (cell.isEmpty() && !cell.hasFormula())
                continue;
            out << at.row << ',' << at.column << ' ' << text(workbook.value(cell));
            if (const auto formula = formulas.at(at))
                out << " =" << formula->text;
            out << '\n';
        }
        for (const sheet::model::Chart& chart : sheet.charts) {
            out << "chart " << sheet::model::chartTypeName(chart.type()) << (chart.threeD() ? " 3-D" : "") << '\n';
            for (const sheet::model::ChartSeries& series : chart.series)
                if (series.values)
                    out << "  values " << series.values->sheet << ' ' << series.values->range.firstRow << ':'
                        << series.values->range.lastRow << '\n';
        }
    }
    return out.str();
}

struct Trip {
    const char* source;
    std::vector<const char*> through; // the extensions of the copies, in order
};

class FormatRoundTrip : public ::testing::TestWithParam<Trip> {};

int fileFormat(const std::string& extension)
{
    return extension == ".xlsx" ? 51 : extension == ".ods" ? 60 : 56;
}

// A workbook written in another format and read back holds the same values, formulas and charts.
TEST_P(FormatRoundTrip, KeepsValuesFormulasAndCharts)
{
    const Trip& trip = GetParam();
    sheet::test::ScratchFolder folder;
    sheet::Application instance;
    std::string path = sheet::test::dataPath(trip.source);
    const std::string before = essence(instance.workbooks().Open(path).model());
    int step = 0;
    for (const char* extension : trip.through) {
        sheet::Workbook& workbook = instance.workbooks().Open(path);
        const std::string copy = folder.path("copy" + std::to_string(++step) + extension);
        workbook.SaveAs(copy, fileFormat(extension), sheet::biff::SaveTarget::ChosenFile);
        workbook.Close();
        path = copy;
        EXPECT_EQ(essence(instance.workbooks().Open(path).model()), before) << "after " << extension;
    }
    instance.Quit();
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatRoundTrip,
                         ::testing::Values(Trip{"libreoffice-pie-chart.xlsx", {".xls", ".xlsx"}},
                                           Trip{"libreoffice-template.ods", {".xlsx", ".ods"}},
                                           Trip{"writeexcel-formulas-and-names.xls", {".xlsx", ".ods", ".xls"}}));

} // namespace

namespace {

// What the engine keeps of a package only by copying its parts is named when another format is asked
// for, and nothing is written; the package's own format keeps it.
TEST(FormatConversion, APackageWithWhatTheEngineDoesNotReadIsRefusedInAnotherFormat)
{
    sheet::test::ScratchFolder folder;
    sheet::Application instance;
    sheet::Workbook& workbook = instance.workbooks().Open(sheet::test::dataPath("doughnut-chart.xlsx"));
    try {
        workbook.SaveAs(folder.path("copy.ods"), 60, sheet::biff::SaveTarget::ChosenFile);
        ADD_FAILURE() << "converted without its shared formulas";
    } catch (const sheet::FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("cells of shared or array formulas"), std::string::npos) << error.what();
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{});
    workbook.SaveAs(folder.path("copy.xlsx"), 51, sheet::biff::SaveTarget::ChosenFile);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"copy.xlsx"});
    instance.Quit();
}

} // namespace
