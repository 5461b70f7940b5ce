#include "sheet/Errors.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/xlsx/XlsxPackage.h"
#include "sheet/zip/ZipArchive.h"
#include "sheet/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <tuple>

namespace {

using sheet::xlsx::XlsxPackage;

constexpr const char* Accounting = R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))";

struct Entry {
    std::string label, amount;
};

std::vector<Entry> entries(int count)
{
    std::vector<Entry> list;
    for (int k = 0; k < count; ++k)
        list.push_back({"Asset " + std::to_string(k + 1), std::to_string(1000 + 37 * k)});
    return list;
}

// Fills the active sheet as the chart build does: rows 4 to 9 emptied, then an entry to a row from row 4
// on, its amount in the accounting format.
void fill(sheet::model::Workbook& workbook, const std::vector<Entry>& list)
{
    const sheet::NumberLocale locale{U'.', U','};
    const int sheet = workbook.activeWorksheet();
    for (int row = 3; row <= 8; ++row)
        for (int column = 0; column <= 1; ++column)
            sheet::edit::writeCellText(workbook, sheet, row, column, "", locale);
    for (std::size_t k = 0; k < list.size(); ++k) {
        const int row = 3 + static_cast<int>(k);
        sheet::edit::writeCellText(workbook, sheet, row, 0, list[k].label, locale);
        sheet::edit::writeCellText(workbook, sheet, row, 1, list[k].amount, locale);
        sheet::edit::setCellNumberFormat(workbook, sheet, row, 1, Accounting);
    }
}

std::map<std::string, std::string> partsByName(const std::vector<sheet::zip::ZipEntry>& parts)
{
    std::map<std::string, std::string> byName;
    for (const auto& part : parts)
        byName[part.name] = part.bytes;
    return byName;
}

class XlsxTemplateFill : public testing::TestWithParam<std::tuple<const char*, int>> {};

// A template made by another program is filled with a list of entries: the package keeps every part the
// fill does not touch byte for byte, the template becomes a workbook, the pie grows to every entry with
// neighbouring slices apart in colour, the output reads back with the entries, and openpyxl opens it with
// the pie's references covering every entry.
TEST_P(XlsxTemplateFill, KeepsTheUntouchedPartsAndGrowsThePie)
{
    const auto [name, count] = GetParam();
    const XlsxPackage source = sheet::xlsx::readXlsxPackage(sheet::test::fileBytes(sheet::test::dataPath(name)));
    const int active = source.workbook.activeWorksheet();
    ASSERT_GE(active, 0);
    ASSERT_EQ(source.workbook.sheets[static_cast<std::size_t>(active)].charts.size(), 1u);

    sheet::model::Workbook workbook = source.workbook;
    const std::vector<Entry> list = entries(count);
    fill(workbook, list);
    const std::vector<sheet::zip::ZipEntry> parts = sheet::xlsx::changedXlsxParts(source, workbook);

    const auto before = partsByName(source.parts);
    const auto after = partsByName(parts);
    const sheet::xlsx::XlsxSheet& sheetPart = source.sheets[static_cast<std::size_t>(active)];
    const std::set<std::string> mayChange = {sheetPart.part, sheetPart.chartParts.front(), source.stylesPart,
                                             source.workbookPart, "[Content_Types].xml", "xl/_rels/workbook.xml.rels"};
    for (const auto& [part, bytes] : before) {
        if (mayChange.contains(part) || part.find("calcChain") != std::string::npos)
            continue;
        ASSERT_TRUE(after.contains(part)) << part;
        EXPECT_EQ(after.at(part), bytes) << part << " changed";
    }
    EXPECT_NE(after.at(sheetPart.part), before.at(sheetPart.part));
    EXPECT_EQ(after.at("[Content_Types].xml").find("template"), std::string::npos);

    const std::vector<std::uint8_t> bytes = sheet::zip::zipArchive(parts);
    const XlsxPackage output = sheet::xlsx::readXlsxPackage(bytes);
    EXPECT_FALSE(output.isTemplate);
    const sheet::model::Workbook& read = output.workbook;
    const sheet::model::Sheet& sheet = read.sheets[static_cast<std::size_t>(read.activeWorksheet())];
    for (std::size_t k = 0; k < list.size(); ++k) {
        const int row = 3 + static_cast<int>(k);
        ASSERT_NE(sheet.cell(row, 0), nullptr) << "row " << row + 1;
        EXPECT_EQ(std::get<std::string>(read.value(*sheet.cell(row, 0))), list[k].label);
        EXPECT_EQ(std::get<double>(read.value(*sheet.cell(row, 1))), std::stod(list[k].amount));
        EXPECT_EQ(read.formatCode(sheet.cell(row, 1)->xf), Accounting);
    }
    const sheet::model::ChartSeries& series = sheet.charts.front().series.front();
    ASSERT_TRUE(series.values && series.categories);
    const int lastRow = std::max(count, 6) + 2;
    EXPECT_EQ(series.values->range.lastRow, lastRow);
    EXPECT_EQ(series.categories->range.lastRow, lastRow);
    ASSERT_EQ(series.cachedValues.size(), static_cast<std::size_t>(lastRow - 2));
    EXPECT_EQ(series.cachedValues[static_cast<std::size_t>(count - 1)], std::stod(list.back().amount));
    // Neighbouring slices, the last and the first among them, never share a fill.
    const sheet::model::Chart& chart = sheet.charts.front();
    if (source.workbook.sheets[static_cast<std::size_t>(active)].charts.front().series.front().points.size() > 1) {
        for (int point = 0; point < count && count > 1; ++point) {
            const auto fill = chart.pointFormat(0, static_cast<unsigned>(point)).fill;
            const auto next = chart.pointFormat(0, static_cast<unsigned>((point + 1) % count)).fill;
            EXPECT_FALSE(fill.kind == sheet::model::ChartFill::Kind::Solid && fill == next) << "point " << point;
        }
    }

    const sheet::test::ScratchFolder folder;
    const std::string path = folder.path("filled.xlsx");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const std::string command = std::string("/usr/bin/python3 ") + TORTELET_OPENPYXL_CHECK + " " + path + " " +
                                std::to_string(count) + " " + std::to_string(lastRow + 1);
    const int status = std::system(command.c_str());
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "openpyxl is missing";
    EXPECT_EQ(status, 0) << command;
}

INSTANTIATE_TEST_SUITE_P(TemplatesOfOtherPrograms, XlsxTemplateFill,
                         testing::Combine(testing::Values("libreoffice-pie-chart.xlsx", "libreoffice-pie-chart.xltx",
                                                          "gnumeric-pie-chart.xlsx", "openpyxl-pie-3d.xlsx"),
                                          testing::Values(3, 20, 1000)));

// Whatever is not a package is refused by name, an entity declaration at once.
TEST(XlsxPackage, RefusesWhatIsNoSpreadsheetPackage)
{
    const auto refusal = [](std::vector<std::uint8_t> bytes) {
        try {
            sheet::xlsx::readXlsxPackage(std::move(bytes));
        } catch (const sheet::FormatError& error) {
            return std::string(error.what());
        }
        return std::string("read");
    };
    EXPECT_NE(refusal({'h', 'e', 'l', 'l', 'o'}).find("not a zip archive"), std::string::npos);
    EXPECT_NE(refusal(sheet::test::fileBytes(sheet::test::templatePath())).find("compound document"), std::string::npos);
    EXPECT_NE(refusal(sheet::zip::zipArchive({{"a.txt", "text"}})).find("no spreadsheet package"), std::string::npos);
    EXPECT_NE(refusal(sheet::test::fileBytes(sheet::test::dataPath("xml-entity-declaration.xlsx"))).find("entities"),
              std::string::npos);
}

} // namespace
