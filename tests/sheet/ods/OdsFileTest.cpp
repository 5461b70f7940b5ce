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
    Workbook notPie = ods_testing::filledTemplate(ods_testing::sampleEntries());
    notPie.sheets[0].charts[0].groups[0].type = sheet::model::ChartType::Bar;
    Workbook chartSheet = ods_testing::filledTemplate(ods_testing::sampleEntries());
    chartSheet.sheets.push_back(chartSheet.sheets[0]);
    chartSheet.sheets[1].name = "Chart1";
    chartSheet.sheets[1].kind = sheet::model::SheetKind::Chart;
    Workbook excel95 = ods_testing::filledTemplate(ods_testing::sampleEntries());
    excel95.biff = 5;  // whose objects the engine does not place: the chart has no drawing
    excel95.sheets[0].drawings.clear();

    const sheet::test::ScratchFolder folder;
    for (const auto& [workbook, message] : {std::pair{&notPie, "sheet \"Assets\": chart 1 is not a pie chart"},
                                            std::pair{&chartSheet, "sheet \"Chart1\" is a chart sheet"},
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

} // namespace
