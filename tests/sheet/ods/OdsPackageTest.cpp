// Reading OpenDocument spreadsheets made by other programs, filling them as the chart build does and
// writing the changed package back.
#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/biff/MergedCells.h"
#include "sheet/biff/SliceColours.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/ods/OdsFile.h"
#include "sheet/ods/OdsPackage.h"
#include "sheet/xlsx/XlsxFile.h"
#include "sheet/zip/ZipReader.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <optional>
#include <set>

namespace {

using sheet::ods::OdsPackage;

constexpr const char* Accounting = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";
constexpr int FirstDataRow = 3; // row 4

const std::string SharedWorkbooks = TORTELET_SHARED_WORKBOOKS;

std::vector<std::pair<std::string, std::string>> entriesOf(int count)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (int k = 0; k < count; ++k)
        entries.emplace_back("Asset " + std::to_string(k + 1), std::to_string(1000 + 37 * k));
    return entries;
}

// Empties the data rows and writes the entries with the accounting format, as the chart build does.
sheet::model::Workbook filled(const OdsPackage& package, const std::vector<std::pair<std::string, std::string>>& entries)
{
    sheet::model::Workbook workbook = package.workbook;
    const int sheet = workbook.activeWorksheet();
    const sheet::NumberLocale locale{U'.', U','};
    for (int row = FirstDataRow; row < FirstDataRow + 6; ++row)
        for (int column : {0, 1})
            sheet::edit::writeCellText(workbook, sheet, row, column, "", locale);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const int row = FirstDataRow + static_cast<int>(k);
        sheet::edit::writeCellText(workbook, sheet, row, 0, entries[k].first, locale);
        sheet::edit::writeCellText(workbook, sheet, row, 1, entries[k].second, locale);
        sheet::edit::setCellNumberFormat(workbook, sheet, row, 1, Accounting);
    }
    return workbook;
}

std::map<std::string, std::string> partsOf(const std::vector<std::uint8_t>& bytes, std::vector<std::string>& order)
{
    sheet::zip::ZipReader zip(bytes);
    std::map<std::string, std::string> parts;
    for (const std::string& name : zip.names()) {
        order.push_back(name);
        parts[name] = name.back() == '/' ? std::string() : zip.read(name);
    }
    return parts;
}

struct TemplateCase {
    std::string path;
    bool hasChart;
};

void PrintTo(const TemplateCase& template_, std::ostream* out)
{
    *out << std::filesystem::path(template_.path).filename();
}

class FilledOdsTemplate : public testing::TestWithParam<std::tuple<TemplateCase, int>> {};

TEST_P(FilledOdsTemplate, KeepsEveryOtherPartAndGrowsTheChart)
{
    const auto& [template_, count] = GetParam();
    if (!std::filesystem::exists(template_.path))
        GTEST_SKIP() << template_.path << " is not at hand";
    const std::vector<std::uint8_t> original = sheet::test::fileBytes(template_.path);
    const OdsPackage package = sheet::ods::readOdsPackage(original);
    const auto entries = entriesOf(count);
    sheet::model::Workbook workbook = filled(package, entries);
    // Drawing the workbook before it is written takes the points the fill noted; the new slices get their
    // colours all the same.
    if (count == 20)
        sheet::biff::colourAddedSlices(workbook);
    const std::vector<std::uint8_t> output = sheet::ods::changedOdsBytes(package, workbook);

    std::vector<std::string> before, after;
    const auto source = partsOf(original, before);
    const auto written = partsOf(output, after);
    std::vector<std::string> expectedOrder = before;
    std::stable_partition(expectedOrder.begin(), expectedOrder.end(), [](const std::string& n) { return n == "mimetype"; });
    EXPECT_EQ(after, expectedOrder);
    EXPECT_EQ(written.at("mimetype"), "application/vnd.oasis.opendocument.spreadsheet");
    const std::set<std::string> changed = {"mimetype", "META-INF/manifest.xml", "content.xml", "Object 1/content.xml"};
    for (const auto& [name, bytes] : source) {
        if (!changed.count(name)) {
            EXPECT_EQ(written.at(name), bytes) << name;
        }
    }
    if (!package.isTemplate) {
        EXPECT_EQ(written.at("META-INF/manifest.xml"), source.at("META-INF/manifest.xml"));
    }
    EXPECT_EQ(written.at("META-INF/manifest.xml").find("spreadsheet-template"), std::string::npos);

    // Read back: the entries, the band's styles and the chart over every entry.
    const OdsPackage back = sheet::ods::readOdsPackage(output);
    EXPECT_FALSE(back.isTemplate);
    const sheet::model::Sheet& sheet = back.workbook.sheets.at(static_cast<std::size_t>(back.workbook.activeWorksheet()));
    for (int k = 0; k < count; ++k) {
        const auto* label = sheet.cell(FirstDataRow + k, 0);
        const auto* amount = sheet.cell(FirstDataRow + k, 1);
        ASSERT_TRUE(label && amount) << k;
        EXPECT_EQ(back.workbook.value(*label), sheet::CellValue(entries[static_cast<std::size_t>(k)].first));
        EXPECT_EQ(back.workbook.value(*amount), sheet::CellValue(std::stod(entries[static_cast<std::size_t>(k)].second)));
        EXPECT_NE(back.workbook.formatCode(amount->xf), "General") << k;
    }
    for (int row = FirstDataRow + count; row < FirstDataRow + 6; ++row) {
        EXPECT_TRUE(!sheet.cell(row, 0) || sheet.cell(row, 0)->isEmpty());
    }
    if (template_.hasChart) {
        const sheet::model::Chart& chart = sheet.charts.at(0);
        ASSERT_FALSE(chart.series.empty());
        const int last = FirstDataRow + std::max(count, 6) - 1;
        EXPECT_EQ(chart.series[0].values->range.lastRow, last);
        EXPECT_EQ(chart.series[0].categories->range.lastRow, last);
        ASSERT_EQ(chart.series[0].cachedValues.size(), static_cast<std::size_t>(last - FirstDataRow + 1));
        EXPECT_EQ(chart.series[0].cachedValues[0], std::stod(entries[0].second));
        // No two neighbouring slices share a fill, the last and the first included.
        const std::size_t points = chart.series[0].cachedValues.size();
        for (std::size_t k = 0; k < points; ++k) {
            const auto a = chart.pointFormat(0, static_cast<unsigned>(k)).fill;
            const auto b = chart.pointFormat(0, static_cast<unsigned>((k + 1) % points)).fill;
            ASSERT_EQ(a.kind, sheet::model::ChartFill::Kind::Solid) << k;
            if (points > 2) {
                EXPECT_NE(a.colour, b.colour) << k;
            }
        }
        EXPECT_TRUE(chart.threeD());
        EXPECT_EQ(chart.type(), sheet::model::ChartType::Pie);
        EXPECT_EQ(chart.title->plain(), "My Assets");
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, FilledOdsTemplate,
                         testing::Combine(testing::Values(TemplateCase{sheet::test::dataPath("libreoffice-template.ods"), true},
                                                          TemplateCase{sheet::test::dataPath("libreoffice-template.ots"), true},
                                                          TemplateCase{SharedWorkbooks + "/template.ots", false}),
                                          testing::Values(3, 20, 1000)));

// A flat document is filled as a package is: the written rows change, every other cell stays.
TEST(OdsPackage, FillsAFlatDocument)
{
    const std::string path = SharedWorkbooks + "/flat-opendocument.fods";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << path << " is not at hand";
    const OdsPackage package = sheet::ods::readOdsPackage(sheet::test::fileBytes(path));
    const auto entries = entriesOf(20);
    const std::vector<std::uint8_t> output = sheet::ods::changedOdsBytes(package, filled(package, entries));
    ASSERT_EQ(std::string(output.begin(), output.begin() + 5), "<?xml");
    const OdsPackage back = sheet::ods::readOdsPackage(output);
    EXPECT_TRUE(back.flat);
    const sheet::model::Sheet& before = package.workbook.sheets[0];
    const sheet::model::Sheet& after = back.workbook.sheets[0];
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(back.workbook.value(*after.cell(FirstDataRow + k, 1)), sheet::CellValue(std::stod(entries[static_cast<std::size_t>(k)].second)));
    for (const auto& [at, cell] : before.cells) {
        if (at.row >= FirstDataRow && at.row < FirstDataRow + 20 && at.column < 2)
            continue;
        const sheet::model::Cell* again = after.cell(at.row, at.column);
        ASSERT_TRUE(again) << at.row << "," << at.column;
        EXPECT_EQ(back.workbook.value(*again), package.workbook.value(cell)) << at.row << "," << at.column;
        EXPECT_EQ(back.cellStyles.at(again->xf), package.cellStyles.at(cell.xf)) << at.row << "," << at.column;
    }
}

TEST(OdsPackage, ReadsTheSampleTemplateAsLibreOfficeSavedIt)
{
    const OdsPackage package = sheet::ods::readOdsPackage(sheet::test::fileBytes(sheet::test::dataPath("libreoffice-template.ods")));
    const sheet::model::Workbook& workbook = package.workbook;
    ASSERT_EQ(workbook.sheets.size(), 1u);
    const sheet::model::Sheet& sheet = workbook.sheets[0];
    EXPECT_EQ(sheet.name, "Assets");
    EXPECT_EQ(workbook.value(*sheet.cell(2, 0)), sheet::CellValue(std::string("Asset Type")));
    EXPECT_EQ(workbook.value(*sheet.cell(8, 1)), sheet::CellValue(7500.0));
    // The widths and the look of the band, as the .xls template has them.
    EXPECT_NEAR(sheet.columnWidth(0), 3904, 60);
    EXPECT_NEAR(sheet.columnWidth(1), 2656, 60);
    EXPECT_EQ(sheet.rowHeight(3), 300);
    const sheet::model::Xf& header = workbook.xfs.at(sheet.cell(2, 0)->xf);
    EXPECT_TRUE(workbook.font(header.fontIndex)->bold());
    EXPECT_EQ(workbook.font(header.fontIndex)->name, "Constantia");
    EXPECT_EQ(workbook.palette.rgb(header.patternForeground), 0x4F81BDu);
    EXPECT_EQ(workbook.formatCode(sheet.cell(3, 1)->xf).find("#,##0") != std::string::npos, true);
    // The chart, where it lies and what it draws.
    ASSERT_EQ(sheet.drawings.size(), 1u);
    const sheet::model::Anchor& anchor = sheet.drawings[0].anchor;
    // From the middle of column C near the top of row 3 to the middle of column O a quarter down row 26.
    EXPECT_NEAR(anchor.col1 + anchor.dx1 / 1024.0, 2.5, 0.1);
    EXPECT_NEAR(anchor.row1 + anchor.dy1 / 256.0, 2.0, 0.1);
    EXPECT_NEAR(anchor.col2 + anchor.dx2 / 1024.0, 14.5, 0.1);
    EXPECT_NEAR(anchor.row2 + anchor.dy2 / 256.0, 25.25, 0.1);
    const sheet::model::Chart& chart = sheet.charts.at(0);
    EXPECT_NEAR(chart.view3d->elevation, 30, 0.5);
    EXPECT_NEAR(chart.groups[0].firstSliceAngle, 210, 0.5);
    EXPECT_NEAR(chart.series[0].format.explosion.value_or(0), 0.1, 1e-9);
    EXPECT_TRUE(chart.series[0].format.labels->category);
    EXPECT_TRUE(chart.series[0].format.labels->percent);
    EXPECT_EQ(chart.series[0].name->range.firstRow, 2);
}

TEST(OdsPackage, RefusesWhatItCannotRead)
{
    const auto refused = [](const std::string& text, const std::string& reason) {
        try {
            sheet::ods::readOdsPackage(std::vector<std::uint8_t>(text.begin(), text.end()));
            ADD_FAILURE() << "read: " << reason;
        } catch (const sheet::FormatError& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    };
    refused("just some text", "neither a zip package nor an XML document");
    refused("<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]><d>&b;</d>",
            "document type");
    refused("<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"><office:body>", "cut short");
    refused("<a><b></a>", "not well-formed");
    refused("<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"/>", "no body");
    // A package whose manifest says that its parts are encrypted.
    const std::vector<std::uint8_t> encrypted = sheet::zip::zipArchive(
        {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", true},
         {"content.xml", "encrypted bytes"},
         {"META-INF/manifest.xml",
          "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\"><manifest:file-entry "
          "manifest:full-path=\"content.xml\"><manifest:encryption-data/></manifest:file-entry></manifest:manifest>"}});
    refused(std::string(encrypted.begin(), encrypted.end()), "encrypted");
    // A value beyond the cells the engine holds.
    refused("<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\"><office:body><office:spreadsheet>"
            "<table:table table:name=\"S\"><table:table-row table:number-rows-repeated=\"70000\"><table:table-cell/></table:table-row>"
            "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"1\"/></table:table-row>"
            "</table:table></office:spreadsheet></office:body></office:document>",
            "beyond the 65,536 rows");
}

// Damaged parts inside a sound archive (cut short, a character changed into one that XML reserves, a
// number made huge) are read or refused with the engine's errors, never a crash; what is read writes back.
TEST(OdsPackage, SurvivesDamagedParts)
{
    const std::vector<std::uint8_t> original = sheet::test::fileBytes(sheet::test::dataPath("libreoffice-template.ods"));
    std::vector<std::string> order;
    const auto parts = partsOf(original, order);
    std::uint32_t seed = 12345;
    const auto random = [&seed](std::size_t below) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::size_t>(seed >> 8) % std::max<std::size_t>(below, 1);
    };
    const char* replacements[] = {"<", "\"", "&", "99999999", "-1", "", "/>", "0"};
    for (int round = 0; round < 300; ++round) {
        std::vector<sheet::zip::ZipEntry> entries;
        for (const std::string& name : order) {
            if (name.starts_with("ObjectReplacements/") || name.starts_with("Thumbnails/"))
                continue; // pictures, which only take time here
            std::string bytes = parts.at(name);
            const bool damaged = (name == "content.xml" || name == "styles.xml" || name == "Object 1/content.xml") && random(2) == 0;
            if (damaged && !bytes.empty()) {
                const std::size_t at = random(bytes.size());
                if (random(4) == 0)
                    bytes.resize(at);
                else
                    bytes.replace(at, random(8), replacements[random(std::size(replacements))]);
            }
            entries.push_back({name, bytes, name == "mimetype"});
        }
        try {
            const OdsPackage package = sheet::ods::readOdsPackage(sheet::zip::zipArchive(entries));
            sheet::ods::changedOdsBytes(package, package.workbook);
        } catch (const sheet::Error&) {
        }
    }
}

// What is read goes through the writers: written as .ods it reads back with the same values, and the
// .xlsx writer takes it.
TEST(OdsPackage, WhatIsReadIsWrittenAgain)
{
    std::vector<std::string> paths = {sheet::test::dataPath("libreoffice-template.ods")};
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(SharedWorkbooks, missing))
        if (entry.path().extension() == ".ods" || entry.path().extension() == ".fods")
            paths.push_back(entry.path().string());
    for (const std::string& path : paths) {
        const OdsPackage package = sheet::ods::readOdsPackage(sheet::test::fileBytes(path));
        // A writer may refuse by name a chart type it cannot write yet; nothing else.
        const auto written = [&path](const auto& write) -> std::optional<std::vector<std::uint8_t>> {
            try {
                return write();
            } catch (const sheet::FormatError& error) {
                EXPECT_NE(std::string(error.what()).find("chart"), std::string::npos) << path << ": " << error.what();
                return std::nullopt;
            }
        };
        EXPECT_TRUE(written([&] { return sheet::xlsx::xlsxBytes(package.workbook); }) || !package.charts.empty()) << path;
        const std::optional<std::vector<std::uint8_t>> bytes = written([&] { return sheet::ods::odsBytes(package.workbook); });
        if (!bytes) {
            EXPECT_FALSE(package.charts.empty()) << path;
            continue;
        }
        const OdsPackage back = sheet::ods::readOdsPackage(*bytes);
        ASSERT_EQ(back.workbook.sheets.size(), package.workbook.sheets.size()) << path;
        for (std::size_t k = 0; k < package.workbook.sheets.size(); ++k) {
            const sheet::model::Sheet& sheet = package.workbook.sheets[k];
            EXPECT_EQ(back.workbook.sheets[k].name, sheet.name);
            for (const auto& [at, cell] : sheet.cells) {
                const sheet::model::Cell* again = back.workbook.sheets[k].cell(at.row, at.column);
                const sheet::CellValue value = package.workbook.value(cell);
                if (std::holds_alternative<std::monostate>(value))
                    continue;
                ASSERT_TRUE(again) << path << " " << at.row << "," << at.column;
                const sheet::CellValue written = back.workbook.value(*again);
                if (std::holds_alternative<double>(value) && std::holds_alternative<double>(written))
                    // Dates and times are written to the millisecond.
                    EXPECT_NEAR(std::get<double>(written), std::get<double>(value), 1e-7) << path << " " << at.row << "," << at.column;
                else
                    EXPECT_EQ(written, value) << path << " " << at.row << "," << at.column;
            }
        }
    }
}

// What other programs' workbooks hold besides values: comments, merged areas, rich text, hidden sheets
// and a chart of another type on a sheet of its own.
TEST(OdsPackage, ReadsCommentsMergedAreasRichTextAndCharts)
{
    const std::string comments = SharedWorkbooks + "/comments-merged-rich-text.ods";
    const std::string chart = SharedWorkbooks + "/chart-in-opendocument.ods";
    if (!std::filesystem::exists(comments) || !std::filesystem::exists(chart))
        GTEST_SKIP() << "the real workbooks are not at hand";
    const OdsPackage first = sheet::ods::readOdsPackage(sheet::test::fileBytes(comments));
    const sheet::model::Sheet& sample = first.workbook.sheets.at(0);
    ASSERT_EQ(sample.comments.size(), 2u);
    EXPECT_EQ(sample.comments[0].author, "Mark");
    EXPECT_EQ(sheet::model::plainText(sample.comments[1].text).rfind("Tests for UTF-8 content", 0), 0u);
    EXPECT_EQ(sheet::biff::mergedCells(sample).size(), 7u);
    std::size_t rich = 0;
    for (const auto& [at, cell] : sample.cells)
        if (cell.kind() == sheet::model::Cell::Kind::SharedText && !first.workbook.sharedStrings[cell.textIndex()].runs.empty())
            ++rich;
    EXPECT_EQ(rich, 1u);

    const OdsPackage second = sheet::ods::readOdsPackage(sheet::test::fileBytes(chart));
    ASSERT_EQ(second.workbook.sheets.size(), 4u);
    EXPECT_FALSE(second.workbook.sheets[1].visible);
    EXPECT_FALSE(second.workbook.sheets[2].visible);
    ASSERT_EQ(second.workbook.sheets[3].charts.size(), 1u);
    const sheet::model::Chart& column = second.workbook.sheets[3].charts[0];
    EXPECT_EQ(column.type(), sheet::model::ChartType::Column);
    ASSERT_EQ(column.series.size(), 2u);
    EXPECT_EQ(column.series[0].values->sheet, 0);
}

// The formulas of the real workbooks are read into the records the writers take them from.
TEST(OdsPackage, ReadsTheFormulasOfRealWorkbooks)
{
    std::error_code missing;
    std::size_t formulas = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SharedWorkbooks, missing)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".ods" && extension != ".ots" && extension != ".fods")
            continue;
        const OdsPackage package = sheet::ods::readOdsPackage(sheet::test::fileBytes(entry.path().string()));
        for (std::size_t k = 0; k < package.formulas.size(); ++k) {
            const sheet::model::Sheet& sheet = package.workbook.sheets[k];
            for (const auto& [at, text] : package.formulas[k]) {
                const sheet::model::Cell* cell = sheet.cell(at.row, at.column);
                EXPECT_TRUE(cell && sheet.formulaOf(at, *cell)) << entry.path().filename() << " " << text;
                ++formulas;
            }
        }
    }
    if (formulas == 0)
        GTEST_SKIP() << "no workbook with formulas at hand";
}

// Every real OpenDocument workbook at hand is read, and its values are LibreOffice's; every filled template
// opens in LibreOffice with the pie over every entry.
TEST(OdsPackage, LibreOfficeAgreesWithWhatIsReadAndWritten)
{
    const char* python = "/usr/bin/python3";
    if (!std::filesystem::exists(python) || !std::filesystem::exists("/usr/lib/libreoffice/program/soffice.bin"))
        GTEST_SKIP() << "LibreOffice or its Python bridge is missing";
    sheet::test::ScratchFolder folder;
    std::ofstream list(folder.path("cases.txt"));
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(SharedWorkbooks, missing)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".ods" && extension != ".ots" && extension != ".fods")
            continue;
        const OdsPackage package = sheet::ods::readOdsPackage(sheet::test::fileBytes(entry.path().string()));
        const std::string dump = folder.path(entry.path().filename().string() + ".values");
        std::ofstream out(dump);
        for (const sheet::model::Sheet& sheet : package.workbook.sheets)
            for (const auto& [at, cell] : sheet.cells) {
                const sheet::CellValue value = package.workbook.value(cell);
                if (const auto* number = std::get_if<double>(&value))
                    out << sheet.name << '\t' << at.row << '\t' << at.column << "\tn\t" << std::setprecision(17) << *number << '\n';
                else if (const auto* text = std::get_if<std::string>(&value))
                    out << sheet.name << '\t' << at.row << '\t' << at.column << "\ts\t" << QString::fromStdString(*text).toUtf8().toPercentEncoding().toStdString() << '\n';
                else if (const auto* logical = std::get_if<bool>(&value))
                    out << sheet.name << '\t' << at.row << '\t' << at.column << "\tn\t" << (*logical ? 1 : 0) << '\n';
                else if (const auto* error = std::get_if<sheet::ErrorCode>(&value))
                    out << sheet.name << '\t' << at.row << '\t' << at.column << "\ts\t" << QByteArray(sheet::model::errorText(*error)).toPercentEncoding().toStdString() << '\n';
            }
        list << "values\t" << entry.path().string() << '\t' << dump << '\n';
    }
    for (const std::string& name : {std::string("libreoffice-template.ods"), std::string("libreoffice-template.ots")}) {
        const OdsPackage package = sheet::ods::readOdsPackage(sheet::test::fileBytes(sheet::test::dataPath(name)));
        for (int count : {3, 20, 1000}) {
            const std::string path = folder.path(std::to_string(count) + "-" + name + ".ods");
            sheet::ods::saveChangedOds(package, filled(package, entriesOf(count)), path, sheet::biff::SaveTarget::ChosenFile);
            list << "pie\t" << path << '\t' << count << '\n';
        }
    }
    list.close();
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(python, {QStringLiteral(TORTELET_LIBREOFFICE_CHECK), QString::fromStdString(folder.path("cases.txt"))});
    ASSERT_TRUE(check.waitForFinished(600000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAll().toStdString();
}

} // namespace
