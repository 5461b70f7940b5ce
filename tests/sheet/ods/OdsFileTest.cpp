#include "sheet/ods/OdsFile.h"

#include "sheet/ods/FilledTemplate.h"
#include "sheet/TestFiles.h"
#include "sheet/render/SampleWorkbook.h"
#include "tools/KeptFile.h"

#include "sheet/Errors.h"
#include "sheet/ods/Lengths.h"
#include "sheet/render/RangePicture.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <limits>
#include <regex>
#include <string>

namespace {

using sheet::model::Workbook;

// The parts of a package by name, read back with libzip.
std::map<std::string, std::string> partsOf(const std::vector<std::uint8_t>& bytes)
{
    std::map<std::string, std::string> parts;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    EXPECT_NE(archive, nullptr) << zip_error_strerror(&error);
    if (!archive)
        return parts;
    for (zip_int64_t k = 0; k < zip_get_num_entries(archive, 0); ++k) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(k), 0, &stat);
        std::string content(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(k), 0);
        zip_fread(file, content.data(), content.size());
        zip_fclose(file);
        parts[stat.name] = content;
    }
    zip_close(archive);
    return parts;
}

std::string attribute(const std::string& xml, const std::string& name)
{
    std::smatch match;
    if (!std::regex_search(xml, match, std::regex(name + "=\"([^\"]*)\"")))
        return "(none)";
    return match[1];
}

std::size_t count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The sample as the chart build fills it, written part by part as kept listings (a line break
// between adjacent tags, so that a change shows as a readable difference). Writing twice gives the
// same bytes.
TEST(OdsFile, TheFilledSampleGivesTheKeptPartsAndAlwaysTheSameBytes)
{
    const Workbook workbook = ods_testing::filledTemplate(ods_testing::sampleEntries());
    const std::vector<std::uint8_t> bytes = sheet::ods::odsBytes(workbook);
    EXPECT_EQ(bytes, sheet::ods::odsBytes(workbook));

    const auto parts = partsOf(bytes);
    EXPECT_EQ(parts.size(), 8u);
    for (const char* name : {"content.xml", "styles.xml", "meta.xml", "settings.xml", "META-INF/manifest.xml",
                             "Object 1/content.xml", "Object 1/styles.xml"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(parts.count(name));
        std::string kept = std::regex_replace(parts.at(name), std::regex("><"), ">\n<");
        std::string file = std::regex_replace(std::string(name), std::regex("[/ ]"), "-");
        tools::test::expectKeptFile("fill-sample.ods." + file, kept);
    }
}

// The chart's value and category ranges reach the last entry, however many there are, and its own
// table holds every one of them.
class GrownRanges : public testing::TestWithParam<int> {};

TEST_P(GrownRanges, CoverEveryEntry)
{
    std::vector<ods_testing::Entry> entries;
    for (int k = 0; k < GetParam(); ++k)
        entries.emplace_back("Entry " + std::to_string(k + 1), std::to_string(100 + k));
    const auto parts = partsOf(sheet::ods::odsBytes(ods_testing::filledTemplate(entries)));
    const std::string& chart = parts.at("Object 1/content.xml");
    const int last = std::max(9, 3 + GetParam());
    EXPECT_EQ(attribute(chart, "chart:values-cell-range-address"), "Assets.B4:Assets.B" + std::to_string(last));
    EXPECT_EQ(attribute(chart, "<chart:categories table:cell-range-address"), "Assets.A4:Assets.A" + std::to_string(last));
    EXPECT_EQ(attribute(chart, "chart:label-cell-address"), "Assets.B3:Assets.B3");
    EXPECT_EQ(count(chart, "<table:table-row>"), static_cast<std::size_t>(last - 3 + 1));
    const std::string lastEntry = "Entry " + std::to_string(GetParam());
    EXPECT_NE(chart.find("<text:p>" + lastEntry + "</text:p>"), std::string::npos);
    EXPECT_NE(parts.at("content.xml").find("<text:p>" + lastEntry + "</text:p>"), std::string::npos);
    EXPECT_EQ(attribute(parts.at("content.xml"), "table:end-cell-address"), "Assets.O26");
}

INSTANTIATE_TEST_SUITE_P(Entries, GrownRanges, testing::Values(1, 1000));

// A combination chart: the template's pie as stacked columns, with a line of the same values on
// secondary axes. The line's series keeps its class and is attached to the secondary y axis.
TEST(OdsFile, WritesEachGroupOfACombinationChartWithItsClassAndAxis)
{
    Workbook workbook = ods_testing::filledTemplate(ods_testing::sampleEntries());
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
    const std::string content = partsOf(sheet::ods::odsBytes(workbook)).at("Object 1/content.xml");
    EXPECT_EQ(attribute(content, "<chart:chart[^>]*chart:class"), "chart:bar");
    EXPECT_EQ(attribute(content, "chart:stacked"), "true");
    EXPECT_EQ(count(content, "<chart:series "), 2u);
    EXPECT_NE(content.find(R"(chart:class="chart:bar"><chart:data-point)"), std::string::npos);
    EXPECT_NE(content.find(R"(chart:class="chart:line" chart:attached-axis="secondary-y">)"), std::string::npos);
    EXPECT_NE(content.find(R"(<chart:axis chart:dimension="y" chart:name="secondary-y")"), std::string::npos);
    EXPECT_NE(content.find(R"(<chart:categories table:cell-range-address="Assets.A4:Assets.A9"/>)"), std::string::npos);
}

// Flat, 3-D and exploded pies keep their kind, their slices' explosion and first angle.
struct PieCase {
    bool threeD;
    int explode;
};

class PieKinds : public testing::TestWithParam<PieCase> {};

TEST_P(PieKinds, KeepTheirLook)
{
    Workbook workbook = render_testing::sampleWorkbook(render_testing::sampleEntries());
    sheet::model::Chart& chart = workbook.sheets[0].charts[0];
    chart = render_testing::sampleChart(workbook, render_testing::pieChartRecords(GetParam().threeD, GetParam().explode, 0x16));
    const std::string content = partsOf(sheet::ods::odsBytes(workbook)).at("Object 1/content.xml");
    EXPECT_EQ(attribute(content, "chart:class"), "chart:circle");
    EXPECT_EQ(attribute(content, "chart:three-dimensional"), GetParam().threeD ? "true" : "false");
    EXPECT_EQ(content.find("dr3d:transform") != std::string::npos, GetParam().threeD);
    EXPECT_EQ(attribute(content, "chart:pie-offset"), std::to_string(GetParam().explode));
    EXPECT_EQ(attribute(content, "chart:data-label-number"), "percentage");
    EXPECT_EQ(attribute(content, "chart:data-label-text"), "true");
    EXPECT_EQ(count(content, "<chart:data-point "), render_testing::sampleEntries().size());
}

INSTANTIATE_TEST_SUITE_P(Pies, PieKinds, testing::Values(PieCase{false, 0}, PieCase{true, 0}, PieCase{false, 25}, PieCase{true, 10}));

// Columns in the file are as wide as the engine's drawing makes them: the digit width worked out
// without the machine's fonts is the one the drawing measures with the fonts the program depends on
// (the template's Constantia falls back to DejaVu Serif), at every size and weight.
struct NormalFont {
    const char* name;
    int weight;
};

class DigitWidths : public testing::TestWithParam<NormalFont> {};

TEST_P(DigitWidths, AreTheDrawingsOwn)
{
    Workbook workbook = ods_testing::filledTemplate({});
    sheet::model::Font& normal = workbook.fonts.at(static_cast<std::size_t>(workbook.xfs.at(0).fontIndex));
    normal.name = GetParam().name;
    normal.weight = GetParam().weight;
    for (int twips : {120, 160, 180, 200, 220, 240, 280, 360, 520}) {
        normal.height = twips;
        EXPECT_EQ(sheet::ods::digitWidth(workbook), sheet::render::maxDigitWidth(workbook)) << twips << " twips";
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, DigitWidths,
                         testing::Values(NormalFont{"Constantia", 400}, NormalFont{"Constantia", 700}, NormalFont{"Arial", 400},
                                         NormalFont{"arial", 700}, NormalFont{"Times New Roman", 400},
                                         NormalFont{"Courier New", 400}, NormalFont{"DejaVu Sans Mono", 400},
                                         NormalFont{"Calibri", 400}, NormalFont{"", 400}));

// What the format cannot take is refused with its name, and no file is written.
TEST(OdsFile, RefusesWhatItCannotExpressAndWritesNothing)
{
    Workbook unknownChart = ods_testing::filledTemplate(ods_testing::sampleEntries());
    unknownChart.sheets[0].charts[0].groups[0].type = sheet::model::ChartType::Other;
    Workbook macroSheet = ods_testing::filledTemplate(ods_testing::sampleEntries());
    macroSheet.sheets.push_back(macroSheet.sheets[0]);
    macroSheet.sheets[1].name = "Macro1";
    macroSheet.sheets[1].kind = sheet::model::SheetKind::Macro;
    Workbook excel95 = ods_testing::filledTemplate(ods_testing::sampleEntries());
    excel95.biff = 5;  // whose objects the engine does not place: the chart has no drawing
    excel95.sheets[0].drawings.clear();

    const sheet::test::ScratchFolder folder;
    for (const auto& [workbook, message] : {std::pair{&unknownChart, "sheet \"Assets\": chart 1 is a chart of a kind"},
                                            std::pair{&macroSheet, "sheet \"Macro1\" is a macro sheet"},
                                            std::pair{&excel95, "sheet \"Assets\": chart 1 is an Excel 95 chart"}}) {
        SCOPED_TRACE(message);
        const std::string path = folder.path("refused.ods");
        try {
            sheet::ods::saveOdsFile(*workbook, path, sheet::biff::SaveTarget::ChosenFile);
            ADD_FAILURE() << "saved";
        } catch (const sheet::FormatError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_TRUE(folder.entries().empty());
    }
}

// Values are typed as readers type them: a number under a date or time format is a date or a time,
// an error and a number that is no number are errors as LibreOffice writes them, and the number
// formats stand among the common styles, where no program prunes them; a text keeps its formatting
// runs, and the runs their spaces; data validation and conditional formats are LibreOffice's. The
// sheet's panes, zoom,
// protection, page and its header and footer go with it.
TEST(OdsFile, TypesValuesAsReadersDoAndKeepsTheViewAndThePage)
{
    Workbook workbook = ods_testing::filledTemplate(ods_testing::sampleEntries());
    const std::size_t dateXf = workbook.xfs.size(), timeXf = dateXf + 1;
    for (int format : {14, 20}) {
        sheet::model::Xf xf = workbook.xfs.at(15);
        xf.formatIndex = format;
        workbook.xfs.push_back(xf);
    }
    auto& cells = workbook.sheets[0].cells;
    const auto set = [&](int row, sheet::CellValue value, std::size_t xf) {
        sheet::model::Cell& cell = cells[{row, 3}];
        workbook.setValue(cell, std::move(value));
        cell.xf = static_cast<std::uint16_t>(xf);
    };
    set(20, 45000.0, dateXf);
    set(21, 45000.75, dateXf);
    set(22, 1.25, timeXf);
    set(23, 60.0, dateXf); // 29 February 1900, which no calendar has
    set(24, sheet::ErrorCode::DivisionByZero, 15);
    set(25, std::numeric_limits<double>::infinity(), 15);
    workbook.sharedStrings.push_back({u"Bold  start", {0, 0, 1, 0, 4, 0, 0, 0}, {}});
    cells[{26, 3}].setSharedText(static_cast<std::uint32_t>(workbook.sharedStrings.size() - 1));
    // Frozen panes after column B and row 3, zoomed to 150 %.
    auto& records = workbook.sheets[0].records;
    records.insert(std::prev(records.end()), {0x0041, {2, 0, 3, 0, 3, 0, 2, 0, 0, 0}});
    records.insert(std::prev(records.end()), {0x00A0, {3, 0, 2, 0}});
    records.insert(std::prev(records.end()), {0x023E, {0x08 | 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
    records.insert(std::prev(records.end()), {0x0012, {1, 0}});
    // A whole number from 0 to 1000 in B4:B9 with a prompt; values above 10000 there filled red.
    records.insert(std::prev(records.end()), {0x01BE, {0x01, 0, 0x0C, 0, 1, 0, 0, 0, 1, 0, 0, 0, 6, 0, 0, 'A', 'm', 'o', 'u',
                                                       'n', 't', 1, 0, 0, 0, 3, 0, 0, 0, 0x1E, 0, 0, 3, 0, 0, 0, 0x1E, 0xE8,
                                                       0x03, 1, 0, 3, 0, 8, 0, 1, 0, 1, 0}});
    records.insert(std::prev(records.end()), {0x01B0, {2, 0, 0, 0, 3, 0, 8, 0, 1, 0, 1, 0, 1, 0, 3, 0, 8, 0, 1, 0, 1, 0}});
    records.insert(std::prev(records.end()),
                   {0x01B1, {1, 5, 3, 0, 0, 0, 0, 0, 0, 0x20, 0, 0, 0x00, 0x04, 0x00, 0x05, 0x1E, 0x10, 0x27}});
    // Formulas written from their tokens at the rules' first cells: a CF A4>AVERAGE($B$4:$B$9) at B4
    // and a custom DV ISNUMBER(B4) over C4:C9, each reference to the left of the rule's cell a tRefN.
    records.insert(std::prev(records.end()),
                   {0x01B1, {2, 0, 19, 0, 0, 0, 0, 0, 0, 0x20, 0, 0, 0x00, 0x04, 0x00, 0x05, 0x2C, 0, 0, 0xFF, 0xC0,
                             0x25, 3, 0, 8, 0, 1, 0, 1, 0, 0x42, 1, 5, 0, 0x0D}});
    records.insert(std::prev(records.end()), {0x01BE, {0x07, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0,
                                                       0x2C, 0, 0, 0xFF, 0xC0, 0x41, 0x80, 0, 0, 0, 0, 0, 1, 0, 3, 0, 8, 0, 2, 0, 2, 0}});

    const auto parts = partsOf(sheet::ods::odsBytes(workbook));
    const std::string& content = parts.at("content.xml");
    for (const char* expected : {
             R"(office:value-type="date" office:date-value="2023-03-15"/>)",
             R"(office:value-type="date" office:date-value="2023-03-15T18:00:00"/>)",
             R"(office:value-type="time" office:time-value="PT30H00M00S"/>)",
             R"(office:value-type="float" office:value="60"/>)",
             R"(table:formula="of:=#DIV/0!" office:value-type="string" office:string-value="" calcext:value-type="error"><text:p>#DIV/0!</text:p>)",
             R"(table:formula="of:=#NUM!" office:value-type="string" office:string-value="" calcext:value-type="error"><text:p>#NUM!</text:p>)"})
        EXPECT_NE(content.find(expected), std::string::npos) << expected;
    EXPECT_NE(content.find(R"(<text:p><text:span text:style-name="T1">Bold</text:span><text:span text:style-name="T0"> <text:s/>start</text:span></text:p>)"),
              std::string::npos);
    EXPECT_NE(content.find(R"(<style:style style:name="T1" style:family="text">)"), std::string::npos);
    EXPECT_NE(content.find(R"x(table:condition="of:cell-content-is-whole-number() and cell-content-is-between(0,1000)")x"),
              std::string::npos);
    EXPECT_EQ(count(content, R"(table:content-validation-name="val1")"), 6u);
    EXPECT_NE(content.find(R"(<calcext:condition calcext:apply-style-name="Conditional1" calcext:value="&gt;10000" )"
                           R"(calcext:base-cell-address="Assets.B4"/>)"),
              std::string::npos);
    EXPECT_NE(content.find(R"(<calcext:condition calcext:apply-style-name="Conditional1" )"
                           R"x(calcext:value="formula-is([.A4]&gt;AVERAGE([.$B$4:.$B$9]))" calcext:base-cell-address="Assets.B4"/>)x"),
              std::string::npos);
    EXPECT_NE(content.find(R"x(table:condition="of:is-true-formula(ISNUMBER([.B4]))" table:allow-empty-cell="false" )x"
                           R"x(table:base-cell-address="Assets.C4")x"),
              std::string::npos);
    EXPECT_EQ(content.find("<number:"), std::string::npos);
    EXPECT_NE(content.find(R"(<table:table table:name="Assets" table:style-name="ta1" table:protected="true">)"), std::string::npos);
    EXPECT_NE(content.find(R"(<style:style style:name="ta1" style:family="table" style:master-page-name="Page1">)"), std::string::npos);
    const std::string& styles = parts.at("styles.xml");
    for (const char* expected : {
             R"(<number:text-style style:name="N165">)",
             R"(<style:page-layout-properties fo:page-width="210mm" fo:page-height="297mm" style:print-orientation="portrait" fo:margin-top="56.7pt")",
             R"(<style:master-page style:name="Page1" style:page-layout-name="pm1"><style:header>)",
             R"(<style:region-center><text:p><text:sheet-name>???</text:sheet-name></text:p></style:region-center>)",
             R"(<style:region-center><text:p>Page <text:page-number>1</text:page-number></text:p></style:region-center>)"})
        EXPECT_NE(styles.find(expected), std::string::npos) << expected;
    const std::string& settings = parts.at("settings.xml");
    for (const char* expected : {R"(config:name="HorizontalSplitMode" config:type="short">2<)",
                                 R"(config:name="HorizontalSplitPosition" config:type="int">2<)",
                                 R"(config:name="VerticalSplitPosition" config:type="int">3<)",
                                 R"(config:name="ActiveSplitRange" config:type="short">3<)",
                                 R"(config:name="ZoomValue" config:type="int">150<)"})
        EXPECT_NE(settings.find(expected), std::string::npos) << expected;
}

} // namespace
