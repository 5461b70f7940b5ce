#include "sheet/Errors.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/xlsx/XlsxFile.h"
#include "sheet/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using sheet::model::Workbook;

Workbook chartTemplate()
{
    return sheet::biff::openWorkbookFile(sheet::test::templatePath()).workbook;
}

std::string part(const Workbook& workbook, const std::string& name)
{
    for (const sheet::zip::ZipEntry& entry : sheet::xlsx::xlsxParts(workbook))
        if (entry.name == name)
            return entry.bytes;
    ADD_FAILURE() << "no part " << name;
    return {};
}


// A pie keeps its look whether it stands in 3-D or lies flat: the slices' explosion and colours, the
// labels, and its first slice's angle in the view or in the pie itself.
TEST(XlsxFile, WritesThreeDimensionalAndFlatPies)
{
    Workbook threeD = chartTemplate();
    const std::string solid = part(threeD, "xl/charts/chart1.xml");
    EXPECT_NE(solid.find("<c:pie3DChart>"), std::string::npos);
    EXPECT_NE(solid.find("<c:rotX val=\"30\"/>"), std::string::npos);
    EXPECT_NE(solid.find("<c:rotY val=\"210\"/>"), std::string::npos);
    EXPECT_EQ(solid.find("<c:legend>"), std::string::npos);

    Workbook flat = chartTemplate();
    flat.sheets[0].charts[0].view3d.reset();
    const std::string pie = part(flat, "xl/charts/chart1.xml");
    EXPECT_EQ(pie.find("c:pie3DChart"), std::string::npos);
    EXPECT_EQ(pie.find("c:view3D"), std::string::npos);
    EXPECT_NE(pie.find("<c:pieChart>"), std::string::npos);
    EXPECT_NE(pie.find("<c:firstSliceAng val="), std::string::npos);
    for (const std::string* chart : {&solid, &pie}) {
        std::size_t exploded = 0;
        for (std::size_t at = chart->find("<c:explosion val=\"10\"/>"); at != std::string::npos;
             at = chart->find("<c:explosion val=\"10\"/>", at + 1))
            ++exploded;
        EXPECT_EQ(exploded, 6u);
        EXPECT_NE(chart->find("<c:showCatName val=\"1\"/>"), std::string::npos);
        EXPECT_NE(chart->find("<c:showPercent val=\"1\"/>"), std::string::npos);
        EXPECT_NE(chart->find("<c:f>'Assets'!$B$4:$B$9</c:f>"), std::string::npos);
        EXPECT_NE(chart->find("<c:f>'Assets'!$A$4:$A$9</c:f>"), std::string::npos);
    }
}

struct Refusal {
    const char* name;
    std::function<Workbook()> workbook;
    const char* message;
};

void PrintTo(const Refusal& refusal, std::ostream* out)
{
    *out << refusal.name;
}

class RefusedWorkbook : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedWorkbook, NamesWhatCannotBeWrittenAndWritesNothing)
{
    const Workbook workbook = GetParam().workbook();
    const sheet::test::ScratchFolder folder;
    const std::string path = folder.path("out.xlsx");
    try {
        sheet::xlsx::saveXlsxFile(workbook, path, sheet::biff::SaveTarget::ChosenFile);
        ADD_FAILURE() << "written";
    } catch (const sheet::FormatError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().message);
    }
    EXPECT_TRUE(folder.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Workbooks, RefusedWorkbook,
    ::testing::Values(
        Refusal{"BarChart",
                [] {
                    Workbook workbook = chartTemplate();
                    workbook.sheets[0].charts[0].groups[0].type = sheet::model::ChartType::Bar;
                    return workbook;
                },
                "the chart \"Chart 1\" on sheet \"Assets\" is a bar chart, which cannot be written as .xlsx yet"},
        Refusal{"Excel95Chart",
                [] {
                    Workbook workbook = chartTemplate();
                    workbook.biff = 5;  // whose objects the engine does not place: the chart has no drawing
                    workbook.sheets[0].drawings.clear();
                    return workbook;
                },
                "the chart \"Chart 1\" on sheet \"Assets\" is an Excel 95 chart, which cannot be written as .xlsx yet"},
        Refusal{"ChartSheet",
                [] { return sheet::biff::openWorkbookFile(sheet::test::dataPath("chart-sheet-active.xls")).workbook; },
                "the sheet \"Chart1\" is a chart sheet, which cannot be written as .xlsx yet"},
        Refusal{"Pictures",
                [] { return sheet::biff::openWorkbookFile(sheet::test::dataPath("pictures-and-lines.xls")).workbook; },
                "the sheet \"2270-170-1\" holds a picture (shape 7169), which cannot be written as .xlsx yet"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

std::size_t count(const std::string& text, const std::string& what)
{
    std::size_t found = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++found;
    return found;
}

// Comments become the comments part, with their authors and runs, and the VML drawing that shows them,
// each note box at its cell, hidden or shown as the comment is; the sheet names the drawing.
TEST(XlsxFile, WritesCommentsWithTheirNoteBoxes)
{
    Workbook workbook = sheet::biff::openWorkbookFile(sheet::test::dataPath("comments-drawing-in-continue-records.xls")).workbook;
    workbook.sheets[0].comments[1].visible = true;
    const std::string comments = part(workbook, "xl/comments1.xml");
    EXPECT_EQ(count(comments, "<comment "), 61u);
    EXPECT_NE(comments.find("<authors><author>Youval Bronicki</author></authors>"), std::string::npos);
    EXPECT_NE(comments.find("<comment ref=\"A2\" authorId=\"0\"><text><r><rPr><b/><sz val=\"8\"/><rFont val=\"Tahoma\"/></rPr>"
                            "<t xml:space=\"preserve\">Youval Bronicki:</t></r>"),
              std::string::npos);
    const std::string vml = part(workbook, "xl/drawings/vmlDrawing1.vml");
    EXPECT_EQ(count(vml, "<x:ClientData ObjectType=\"Note\">"), 61u);
    EXPECT_EQ(count(vml, "<x:Visible/>"), 1u);
    EXPECT_NE(vml.find("<v:shape id=\"_x0000_s1026\" type=\"#_x0000_t202\""), std::string::npos);
    EXPECT_NE(vml.find("<x:Row>1</x:Row><x:Column>0</x:Column><x:Visible/>"), std::string::npos);
    const std::string relationships = part(workbook, "xl/worksheets/_rels/sheet1.xml.rels");
    EXPECT_NE(relationships.find("Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                                 "vmlDrawing\" Target=\"../drawings/vmlDrawing1.vml\""),
              std::string::npos);
    EXPECT_NE(relationships.find("relationships/comments\" Target=\"../comments1.xml\""), std::string::npos);
    EXPECT_NE(part(workbook, "xl/worksheets/sheet1.xml").find("<legacyDrawing r:id=\"rId1\"/>"), std::string::npos);
    const std::string types = part(workbook, "[Content_Types].xml");
    EXPECT_NE(types.find("PartName=\"/xl/comments1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
                         "spreadsheetml.comments+xml\""),
              std::string::npos);
    EXPECT_NE(types.find("PartName=\"/xl/drawings/vmlDrawing1.vml\""), std::string::npos);
}

// Texts may hold characters that XML cannot carry, and texts that look like the escape for them.
TEST(XlsxFile, EscapesWhatXmlCannotCarry)
{
    Workbook workbook = chartTemplate();
    workbook.setValue(workbook.sheets[0].cells[{3, 0}], std::string("bell\x07, _x0041_ & <b>"));
    EXPECT_NE(part(workbook, "xl/sharedStrings.xml").find("<t>bell_x0007_, _x005F_x0041_ &amp; &lt;b&gt;</t>"),
              std::string::npos);
}

// Merged areas come from the sheet's MERGECELLS records, as far as a record goes.
TEST(XlsxFile, KeepsTheSheetsMergedAreas)
{
    Workbook workbook = chartTemplate();
    auto& records = workbook.sheets[0].records;
    const auto eof = std::find_if(records.rbegin(), records.rend(), [](const sheet::model::Record& record) {
        return record.type == sheet::biff::rt::Eof;
    });
    ASSERT_NE(eof, records.rend());
    // Two areas, A1:B1 and D12:F14, and a third cut short.
    records.insert(std::prev(eof.base()), {sheet::biff::rt::MergeCells,
                                           {3, 0, 0, 0, 0, 0, 0, 0, 1, 0, 11, 0, 13, 0, 3, 0, 5, 0, 2, 0}});
    EXPECT_NE(part(workbook, "xl/worksheets/sheet1.xml")
                  .find(R"(</sheetData><mergeCells count="2"><mergeCell ref="A1:B1"/><mergeCell ref="D12:F14"/></mergeCells>)"),
              std::string::npos);
}

} // namespace
