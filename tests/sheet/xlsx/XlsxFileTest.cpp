#include "sheet/Errors.h"
#include "sheet/biff/PackageLimits.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/xlsx/XlsxFile.h"
#include "sheet/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <regex>
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


// The template's pie made a combination chart: columns on the primary axes and a line on secondary ones.
void combine(Workbook& workbook)
{
    sheet::model::Chart& chart = workbook.sheets[0].charts[0];
    chart.view3d.reset();
    chart.groups[0].type = sheet::model::ChartType::Column;
    chart.groups[0].grouping = sheet::model::Grouping::Stacked;
    sheet::model::ChartGroup line;
    line.type = sheet::model::ChartType::Line;
    line.secondaryAxes = true;
    chart.groups.push_back(line);
    chart.series.push_back(chart.series[0]);
    chart.series[1].group = 1;
    chart.series[1].format.marker = sheet::model::ChartMarker{sheet::model::ChartMarker::Shape::Diamond};
    sheet::model::ChartAxis value;
    value.secondary = true;
    value.position = sheet::model::ChartAxis::Position::Right;
    value.maximum = 500;
    value.logarithmic = true;
    chart.axes.push_back(value);
}

// A combination chart keeps both its groups, each on its own axes: the stacked columns on the primary
// pair, the line on a secondary value axis at the right with its own scale, crossing at the maximum.
TEST(XlsxFile, WritesEachGroupOfACombinationChartOnItsAxes)
{
    Workbook workbook = chartTemplate();
    combine(workbook);
    const std::string chart = part(workbook, "xl/charts/chart1.xml");
    for (const char* expected :
         {"<c:barChart><c:barDir val=\"col\"/><c:grouping val=\"stacked\"/>", "<c:overlap val=\"100\"/><c:axId val=\"50011\"/><c:axId val=\"50012\"/></c:barChart>",
          "<c:lineChart><c:grouping val=\"standard\"/>", "<c:marker><c:symbol val=\"diamond\"/>",
          "<c:axId val=\"50021\"/><c:axId val=\"50022\"/></c:lineChart>",
          "<c:valAx><c:axId val=\"50022\"/><c:scaling><c:logBase val=\"10\"/><c:orientation val=\"minMax\"/><c:max val=\"500\"/></c:scaling><c:delete val=\"0\"/><c:axPos val=\"r\"/>",
          "<c:crossAx val=\"50021\"/><c:crosses val=\"max\"/>",
          "<c:catAx><c:axId val=\"50021\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"1\"/>"})
        EXPECT_NE(chart.find(expected), std::string::npos) << expected;
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
        Refusal{"ChartOfAnUnknownType",
                [] {
                    Workbook workbook = chartTemplate();
                    workbook.sheets[0].charts[0].groups[0].type = sheet::model::ChartType::Other;
                    return workbook;
                },
                "the chart \"Chart 1\" on sheet \"Assets\" is a chart of a kind the engine does not know, which "
                "cannot be written as .xlsx yet"},
        Refusal{"Excel95Chart",
                [] {
                    Workbook workbook = chartTemplate();
                    workbook.biff = 5;  // whose objects the engine does not place: the chart has no drawing
                    workbook.sheets[0].drawings.clear();
                    return workbook;
                },
                "the chart \"Chart 1\" on sheet \"Assets\" is an Excel 95 chart, which cannot be written as .xlsx yet"},
        Refusal{"MacroSheet",
                [] {
                    Workbook workbook = chartTemplate();
                    workbook.sheets[0].kind = sheet::model::SheetKind::Macro;
                    return workbook;
                },
                "the sheet \"Assets\" is a macro sheet, which cannot be written as .xlsx yet"},
        Refusal{"ShapeGroups", // its pictures are written, its grouped lines are not
                [] { return sheet::biff::openWorkbookFile(sheet::test::dataPath("pictures-and-lines.xls")).workbook; },
                "the sheet \"2270-170-1\" holds a group of shapes (shape 7170), which cannot be written as .xlsx yet"}),
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

// A record added to the end of the sheet's own records, before its EOF.
void addSheetRecord(Workbook& workbook, std::uint16_t type, std::vector<std::uint8_t> bytes)
{
    auto& records = workbook.sheets[0].records;
    const auto eof = std::find_if(records.rbegin(), records.rend(), [](const sheet::model::Record& record) {
        return record.type == sheet::biff::rt::Eof;
    });
    records.insert(std::prev(eof.base()), {type, std::move(bytes)});
}

std::vector<std::uint8_t> doubleBytes(double value)
{
    std::vector<std::uint8_t> bytes(8);
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
}

// What readers refuse or lose is written as they take it: a number that is no number as the error it
// stands for, a carriage return escaped, a text's formatting runs kept, sheet names a package forbids
// mended (and the chart's ranges follow them), no standard width of nothing, and the document properties.
TEST(XlsxFile, WritesWhatReadersTakeAndNothingTheyRefuse)
{
    Workbook workbook = chartTemplate();
    auto& cells = workbook.sheets[0].cells;
    workbook.setValue(cells[{3, 1}], std::numeric_limits<double>::quiet_NaN());
    workbook.setValue(cells[{4, 1}], -std::numeric_limits<double>::infinity());
    workbook.setValue(cells[{3, 0}], std::string("one\r\ntwo"));
    workbook.sheets[0].name = "Assets/2024: [draft]?";
    workbook.sheets[0].standardWidth = 0;
    // "Bold start" with its first word in font 1 and the rest in font 0.
    workbook.sharedStrings.push_back({u"Bold start", {0, 0, 1, 0, 4, 0, 0, 0}, {}});
    cells[{5, 0}].setSharedText(static_cast<std::uint32_t>(workbook.sharedStrings.size() - 1));
    Workbook second = chartTemplate();
    second.sheets[0].name = "ASSETS_2024_ _DRAFT__";
    second.sheets[0].drawings.clear();
    second.sheets[0].charts.clear();
    workbook.sheets.push_back(std::move(second.sheets[0]));

    const std::string sheet = part(workbook, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(std::regex_search(sheet, std::regex(R"(<c r="B4" s="\d+" t="e"><v>#NUM!</v></c>)")));
    EXPECT_TRUE(std::regex_search(sheet, std::regex(R"(<c r="B5" s="\d+" t="e"><v>#NUM!</v></c>)")));
    EXPECT_EQ(sheet.find("defaultColWidth"), std::string::npos);
    const std::string strings = part(workbook, "xl/sharedStrings.xml");
    EXPECT_NE(strings.find("<t>one_x000D_\ntwo</t>"), std::string::npos);
    EXPECT_TRUE(std::regex_search(strings, std::regex(R"(<si><r><rPr><rFont val="[^"]+"/>.*?<t>Bold</t></r><r><rPr><rFont )"
                                                      R"(val="[^"]+"/>.*?<t xml:space="preserve"> start</t></r></si>)")));
    const std::string book = part(workbook, "xl/workbook.xml");
    EXPECT_NE(book.find(R"(name="Assets_2024_ _draft__")"), std::string::npos);
    EXPECT_NE(book.find(R"x(name="ASSETS_2024_ _DRAFT__ (2)")x"), std::string::npos);
    EXPECT_NE(part(workbook, "xl/charts/chart1.xml").find("<c:f>'Assets_2024_ _draft__'!$B$4:$B$9</c:f>"), std::string::npos);
    EXPECT_NE(part(workbook, "[Content_Types].xml").find(R"(PartName="/docProps/core.xml")"), std::string::npos);
    EXPECT_NE(part(workbook, "_rels/.rels").find(R"(Target="docProps/app.xml")"), std::string::npos);
    EXPECT_NE(part(workbook, "docProps/app.xml").find("<Application>Tortelet Studio</Application>"), std::string::npos);

    // The chart's cache leaves out the points that are no number.
    const std::string chart = part(workbook, "xl/charts/chart1.xml");
    EXPECT_EQ(chart.find("nan"), std::string::npos);
    EXPECT_EQ(chart.find("inf"), std::string::npos);
}

// The window's panes, selection and zoom, the page's margins, set-up, header and footer, the rules of
// conditional formats (their looks as differential formats) and of data validation, with simple
// formulas and with formulas written from their tokens at the rule's first cell, and the protection of the sheet and the workbook come from their records.
TEST(XlsxFile, WritesTheSheetsViewPageAndProtection)
{
    Workbook workbook = chartTemplate();
    // WINDOW2 with frozen panes, gridlines off, the tab selected; SCL 3/4; PANE after column A and row 3,
    // lower right active; a SELECTION of C5:D6 in that pane.
    addSheetRecord(workbook, sheet::biff::rt::Window2, {0x80 | 0x10 | 0x08 | 0x04, 0x06, 0, 0, 0, 0, 0, 0, 0, 0});
    addSheetRecord(workbook, 0x00A0, {3, 0, 4, 0});
    addSheetRecord(workbook, 0x0041, {1, 0, 3, 0, 3, 0, 1, 0, 0, 0});
    addSheetRecord(workbook, 0x001D, {0, 4, 0, 2, 0, 0, 0, 1, 0, 4, 0, 5, 0, 2, 3});
    // HEADER "&CAssets", FOOTER "Page &P", a left margin of 1.5", landscape A4 at 80 % from page 3.
    addSheetRecord(workbook, 0x0014, {8, 0, 0, '&', 'C', 'A', 's', 's', 'e', 't', 's'});
    addSheetRecord(workbook, 0x0015, {7, 0, 0, 'P', 'a', 'g', 'e', ' ', '&', 'P'});
    addSheetRecord(workbook, 0x0026, doubleBytes(1.5));
    std::vector<std::uint8_t> setup = {9, 0, 80, 0, 3, 0, 1, 0, 1, 0, 0x80, 0, 0x58, 2, 0x58, 2};
    for (double margin : {0.25, 0.4})
        for (std::uint8_t byte : doubleBytes(margin))
            setup.push_back(byte);
    setup.insert(setup.end(), {1, 0});
    addSheetRecord(workbook, 0x00A1, setup);
    // PROTECT with the password hash 0xCC1A, and the workbook's structure locked.
    addSheetRecord(workbook, 0x0012, {1, 0});
    addSheetRecord(workbook, 0x0013, {0x1A, 0xCC});
    workbook.globalRecords.push_back({0x0012, {1, 0}});
    // DV: a whole number from 0 to 1000 in B4:B9 with a prompt; and a custom rule whose tokens are cut
    // short, which is left out.
    addSheetRecord(workbook, 0x01BE, {0x01, 0, 0x0C, 0, 1, 0, 0, 0, 1, 0, 0, 0, 6, 0, 0, 'A', 'm', 'o', 'u', 'n', 't',
                                      1, 0, 0, 0, 3, 0, 0, 0, 0x1E, 0, 0, 3, 0, 0, 0, 0x1E, 0xE8, 0x03,
                                      1, 0, 3, 0, 8, 0, 1, 0, 1, 0});
    // CONDFMT over B4:B9 and its CF: values above 10000 filled red (palette index 10).
    // A second CF there, a formula with a relative reference, A4>AVERAGE($B$4:$B$9) at B4 (tRefN one
    // column to the left, tArea, tFuncVar AVERAGE, tGT).
    addSheetRecord(workbook, 0x01B0, {2, 0, 0, 0, 3, 0, 8, 0, 1, 0, 1, 0, 1, 0, 3, 0, 8, 0, 1, 0, 1, 0});
    addSheetRecord(workbook, 0x01B1, {1, 5, 3, 0, 0, 0, 0, 0, 0, 0x20, 0, 0, 0x00, 0x04, 0x00, 0x05, 0x1E, 0x10, 0x27});
    addSheetRecord(workbook, 0x01B1, {2, 0, 19, 0, 0, 0, 0, 0, 0, 0x20, 0, 0, 0x00, 0x04, 0x00, 0x05, 0x2C, 0, 0, 0xFF, 0xC0,
                                      0x25, 3, 0, 8, 0, 1, 0, 1, 0, 0x42, 1, 5, 0, 0x0D});
    addSheetRecord(workbook, 0x01BE, {0x07, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,
                                      4, 0, 0, 0, 0x41, 0x13, 0, 0x01, 0, 0, 0, 0, 1, 0, 3, 0, 8, 0, 0, 0, 0, 0});
    // A custom DV over C4:C9, ISNUMBER(B4) at C4 (tRefN one column to the left, tFuncV ISNUMBER).
    addSheetRecord(workbook, 0x01BE, {0x07, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 0x2C, 0, 0,
                                      0xFF, 0xC0, 0x41, 0x80, 0, 0, 0, 0, 0, 1, 0, 3, 0, 8, 0, 2, 0, 2, 0});

    const std::string sheet = part(workbook, "xl/worksheets/sheet1.xml");
    for (const char* expected : {
             R"(<sheetView showGridLines="0" tabSelected="1" zoomScale="75" workbookViewId="0">)",
             R"(<pane xSplit="1" ySplit="3" topLeftCell="B4" activePane="bottomRight" state="frozen"/>)",
             R"(<selection pane="bottomRight" activeCell="C5" sqref="C5:D6"/></sheetView>)",
             R"(</sheetData><sheetProtection password="CC1A" sheet="1"/>)",
             R"(<conditionalFormatting sqref="B4:B9"><cfRule type="cellIs" dxfId="0" priority="1" operator="greaterThan">)"
             R"(<formula>10000</formula></cfRule><cfRule type="expression" dxfId="0" priority="2"><formula>A4&gt;AVERAGE($B$4:$B$9)</formula>)"
             R"(</cfRule></conditionalFormatting><dataValidations count="2"><dataValidation type="whole" showInputMessage="1" showErrorMessage="1" )"
             R"(prompt="Amount" sqref="B4:B9"><formula1>0</formula1><formula2>1000</formula2></dataValidation>)"
             R"(<dataValidation type="custom" sqref="C4:C9"><formula1>ISNUMBER(B4)</formula1></dataValidation></dataValidations>)",
             R"(<pageMargins left="1.5" right="0.7875" top="1.0527777777777778" bottom="1.0527777777777778" header="0.25" footer="0.4"/>)",
             R"(<pageSetup paperSize="9" scale="80" firstPageNumber="3" fitToWidth="1" fitToHeight="1" orientation="landscape" useFirstPageNumber="1"/>)",
             R"(<headerFooter><oddHeader>&amp;CAssets</oddHeader><oddFooter>Page &amp;P</oddFooter></headerFooter><drawing)"})
        EXPECT_NE(sheet.find(expected), std::string::npos) << expected;
    EXPECT_NE(part(workbook, "xl/workbook.xml").find(R"(<workbookProtection lockStructure="1"/><bookViews>)"), std::string::npos);
    EXPECT_NE(part(workbook, "xl/styles.xml").find(R"(<dxfs count="1"><dxf><fill><patternFill><bgColor rgb="FFFF0000"/></patternFill></fill></dxf></dxfs>)"),
              std::string::npos);
}

// Embedded OLE objects and ActiveX controls lie beside the workbook's stream, where no package can take
// them, and pivot tables are not written yet: they are refused by name. Macros are left out with a warning.
TEST(XlsxFile, EmbeddedObjectsAreRefusedByNameAndMacrosWarnedOf)
{
    using sheet::container::Entry;
    const auto nothing = [](std::size_t, std::span<const std::uint8_t>, const sheet::model::CellAddress&) { return true; };
    sheet::biff::WorkbookFile withMacros = sheet::biff::openWorkbookFile(sheet::test::dataPath("names-and-external-books.xls"));
    EXPECT_NO_THROW(sheet::biff::refuseWhatPackagesCannotHold(withMacros));
    const std::vector<std::string> omissions = sheet::biff::packageOmissions(withMacros.workbook, false, nothing);
    ASSERT_FALSE(omissions.empty());
    EXPECT_NE(omissions.front().find("macros (a VBA project)"), std::string::npos);
    const struct {
        Entry entry;
        const char* named;
    } cases[] = {{Entry{u"MBD0001A2B3", Entry::Type::Storage, {}, 0, 0, 0, {}, {}}, "embedded OLE objects"},
                 {Entry{u"Ctls", Entry::Type::Stream, {}, 0, 0, 0, {}, {}}, "ActiveX controls"}};
    for (const auto& [entry, named] : cases) {
        sheet::biff::WorkbookFile file = sheet::biff::openWorkbookFile(sheet::test::templatePath());
        EXPECT_NO_THROW(sheet::biff::refuseWhatPackagesCannotHold(file));
        file.container.root.children.push_back(entry);
        try {
            sheet::biff::refuseWhatPackagesCannotHold(file);
            ADD_FAILURE() << "not refused: " << named;
        } catch (const sheet::FormatError& error) {
            EXPECT_NE(std::string(error.what()).find(named), std::string::npos) << error.what();
        }
    }
    // A pivot table (SXVIEW) is named with its sheet, rather than the drop-down arrows that belong to it.
    sheet::biff::WorkbookFile file = sheet::biff::openWorkbookFile(sheet::test::templatePath());
    file.workbook.sheets[0].records.push_back({0x00B0, {}});
    try {
        sheet::biff::refuseWhatPackagesCannotHold(file);
        ADD_FAILURE() << "not refused: a pivot table";
    } catch (const sheet::FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("the sheet \"" + file.workbook.sheets[0].name + "\" holds a pivot table"),
                  std::string::npos) << error.what();
    }
}

} // namespace
