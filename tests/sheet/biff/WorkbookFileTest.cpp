#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/io/ByteReader.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sheet {
namespace {

using test::dataPath;
using test::templatePath;

std::string text(const model::Workbook& workbook, const model::Sheet& sheet, int row, int column)
{
    const model::Cell* cell = sheet.cell(row, column);
    return cell && cell->isText() ? std::get<std::string>(workbook.value(*cell)) : "<none>";
}

double number(const model::Sheet& sheet, int row, int column)
{
    const model::Cell* cell = sheet.cell(row, column);
    return cell && cell->number() ? *cell->number() : -999;
}

TEST(WorkbookFile, ReadsTheChartTemplate)
{
    const biff::WorkbookFile file = biff::openWorkbookFile(templatePath());
    const model::Workbook& workbook = file.workbook;
    ASSERT_EQ(workbook.sheets.size(), 1u);
    const model::Sheet& assets = workbook.sheets[0];
    EXPECT_EQ(assets.name, "Assets");
    EXPECT_EQ(workbook.activeSheet, 0);
    EXPECT_EQ(text(workbook, assets, 2, 0), "Asset Type");
    EXPECT_EQ(text(workbook, assets, 2, 1), "Amount");
    const char* labels[] = {"Savings", "401k", "Stocks", "House", "Bonds", "Car"};
    const double amounts[] = {25000, 55000, 15000, 250000, 11000, 7500};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(text(workbook, assets, 3 + i, 0), labels[i]);
        EXPECT_EQ(number(assets, 3 + i, 1), amounts[i]);
    }
    EXPECT_EQ(edit::usedRange(assets), (model::CellRange{2, 0, 18, 1}));

    ASSERT_EQ(assets.charts.size(), 1u);
    const model::Chart& chart = assets.charts[0];
    EXPECT_EQ(chart.type(), model::ChartType::Pie);
    EXPECT_TRUE(chart.threeD());
    ASSERT_EQ(chart.series.size(), 1u);
    EXPECT_EQ(chart.series[0].values->range, (model::CellRange{3, 1, 8, 1}));
    EXPECT_EQ(chart.series[0].categories->range, (model::CellRange{3, 0, 8, 0}));
    EXPECT_EQ(chart.series[0].name->range, (model::CellRange{2, 1, 2, 1}));
    EXPECT_EQ(chart.series[0].values->sheet, 0);
    ASSERT_EQ(assets.drawings.size(), 1u);
    EXPECT_EQ(assets.drawings[0].chartIndex, 0);
    EXPECT_EQ(assets.drawings[0].anchor.col1, 2);
    EXPECT_EQ(assets.drawings[0].anchor.col2, 14);
    EXPECT_EQ(chart.records.front().type, 0x0809);
    EXPECT_EQ(chart.records.back().type, 0x000A);

    const model::Xf* header = workbook.xf(assets.cell(2, 0)->xf);
    const model::Font* font = workbook.font(header->fontIndex);
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->bold());
    EXPECT_EQ(font->name, "Constantia");
    EXPECT_EQ(font->height, 220);
    EXPECT_EQ(header->fillPattern, 1);
    EXPECT_EQ(workbook.palette.rgb(header->patternForeground), 0x4F81BDu) << "the header's fill from the PALETTE record";
    EXPECT_EQ(workbook.palette.rgb(font->colorIndex), 0xFFFFFFu);
    EXPECT_EQ(workbook.palette.rgb(64), 0x000000u);
    EXPECT_EQ(workbook.palette.rgb(65), 0xFFFFFFu);
    EXPECT_EQ(workbook.palette.rgb(0x7FFF), 0x000000u);
    EXPECT_FALSE(assets.showGridlines);
}

TEST(WorkbookFile, ReadsAWorkbookWrittenByPerl)
{
    const biff::WorkbookFile file = biff::openWorkbookFile(dataPath("writeexcel-chart.xls"));
    const model::Workbook& workbook = file.workbook;
    ASSERT_EQ(workbook.sheets.size(), 2u);
    const model::Sheet& data = workbook.sheets[0];
    EXPECT_EQ(text(workbook, data, 1, 0), "Äpfel");
    EXPECT_EQ(text(workbook, data, 2, 0), "日本語");
    EXPECT_EQ(text(workbook, data, 3, 0), "Ελληνικά");
    EXPECT_EQ(number(data, 3, 1), -3.25);
    EXPECT_EQ(number(data, 4, 1), 1e9);
    EXPECT_EQ(workbook.formatCode(data.cell(1, 1)->xf), "#,##0.00 \"€\"");
    ASSERT_NE(data.cell(5, 1), nullptr);
    EXPECT_TRUE(data.cell(5, 1)->hasFormula());
    EXPECT_EQ(edit::usedRange(data), (model::CellRange{0, 0, 8, 3}));
    ASSERT_EQ(data.charts.size(), 1u);
    EXPECT_EQ(data.charts[0].series[0].values->range, (model::CellRange{1, 1, 4, 1}));
    EXPECT_EQ(workbook.sheets[1].name, "Second");
    EXPECT_EQ(number(workbook.sheets[1], 0, 0), 42);
}

TEST(WorkbookFile, ReadsALongStringTableWrittenByLibreOffice)
{
    const biff::WorkbookFile file = biff::openWorkbookFile(dataPath("libreoffice-strings.xls"));
    const model::Sheet& sheet = file.workbook.sheets[0];
    EXPECT_EQ(text(file.workbook, sheet, 1, 0), "entry 0 ünïcödé ");
    EXPECT_EQ(text(file.workbook, sheet, 1500, 0), "entry 1499 ünïcödé " + std::string(1499 % 17, 'x'));
    EXPECT_EQ(number(sheet, 1500, 1), 1499 * 1.25);
    EXPECT_EQ(text(file.workbook, sheet, 1501, 1).size(), 9000u);
}

TEST(WorkbookFile, SavingAnUnchangedWorkbookKeepsEveryStream)
{
    for (const std::string& path : {templatePath(), dataPath("writeexcel-chart.xls"), dataPath("libreoffice-strings.xls")}) {
        biff::WorkbookFile file = biff::openWorkbookFile(path);
        const container::CompoundFile before = file.container;
        const biff::WorkbookFile again = biff::readWorkbookFile(biff::workbookFileBytes(file));
        ASSERT_EQ(again.container.root.children.size(), before.root.children.size()) << path;
        for (const container::Entry& stream : before.root.children) {
            const container::Entry* copy = again.container.root.child(stream.name);
            ASSERT_NE(copy, nullptr) << path;
            EXPECT_EQ(copy->data, stream.data) << path;
        }
    }
}

TEST(WorkbookFile, ChangedWorkbooksKeepWhatWasNotChanged)
{
    for (const std::string& path : {templatePath(), dataPath("writeexcel-chart.xls"), dataPath("libreoffice-strings.xls")}) {
        biff::WorkbookFile file = biff::openWorkbookFile(path);
        const model::Workbook before = file.workbook;
        edit::writeCellText(file.workbook, 0, 0, 5, "changed", NumberLocale{});
        edit::setCellNumberFormat(file.workbook, 0, 0, 6, "0.000");
        const biff::WorkbookFile again = biff::readWorkbookFile(biff::workbookFileBytes(file));
        const model::Workbook& after = again.workbook;
        EXPECT_EQ(text(after, after.sheets[0], 0, 5), "changed") << path;
        EXPECT_EQ(after.formatCode(after.sheets[0].cell(0, 6)->xf), "0.000") << path;
        ASSERT_EQ(after.sheets.size(), before.sheets.size());
        for (std::size_t s = 0; s < before.sheets.size(); ++s) {
            for (const auto& [at, cell] : before.sheets[s].cells) {
                const model::Cell* copy = after.sheets[s].cell(at.row, at.column);
                ASSERT_NE(copy, nullptr) << path << " " << at.row << "," << at.column;
                EXPECT_EQ(after.value(*copy), before.value(cell)) << path;
                EXPECT_EQ(copy->hasFormula(), cell.hasFormula()) << path;
                EXPECT_EQ(copy->xf, cell.xf) << path;
            }
            EXPECT_EQ(after.sheets[s].charts.size(), before.sheets[s].charts.size());
            for (std::size_t c = 0; c < before.sheets[s].charts.size(); ++c) {
                const auto& chartBefore = before.sheets[s].charts[c].records;
                const auto& chartAfter = after.sheets[s].charts[c].records;
                ASSERT_EQ(chartBefore.size(), chartAfter.size());
                for (std::size_t r = 0; r < chartBefore.size(); ++r)
                    EXPECT_EQ(chartBefore[r].bytes, chartAfter[r].bytes);
            }
            EXPECT_EQ(after.sheets[s].drawings.size(), before.sheets[s].drawings.size());
            EXPECT_EQ(after.sheets[s].columns.size(), before.sheets[s].columns.size());
        }
        EXPECT_EQ(after.fonts.size(), before.fonts.size());
        EXPECT_EQ(again.container.root.children.size(), file.container.root.children.size());
    }
}

// The INDEX record must point at the DEFCOLWIDTH record and at each row block's DBCELL record,
// whether the sheet was rebuilt or only moved because the globals grew.
TEST(WorkbookFile, IndexPointsAtTheRowBlocks)
{
    biff::WorkbookFile file = biff::openWorkbookFile(templatePath());
    auto& records = file.workbook.sheets[0].records;
    records.insert(records.begin() + 1, model::Record{0x020B, std::vector<std::uint8_t>(16, 0)});
    for (int row = 3; row < 200; ++row)
        edit::writeCellText(file.workbook, 0, row, 0, "row " + std::to_string(row), NumberLocale{});
    for (const char* how : {"rebuilt", "moved"}) {
        const std::vector<std::uint8_t> bytes = biff::workbookFileBytes(file);
        const biff::WorkbookFile again = biff::readWorkbookFile(bytes);
        const std::vector<std::uint8_t> stream = container::readCompoundFile(bytes).root.child(u"Workbook")->data;
        const auto& sheetRecords = again.workbook.sheets[0].records;
        ASSERT_EQ(sheetRecords[1].type, 0x020B);
        io::ByteReader index(sheetRecords[1].bytes, "INDEX");
        index.skip(4);
        EXPECT_EQ(index.u32(), 2u);
        EXPECT_EQ(index.u32(), 200u);
        const std::span<const std::uint8_t> all(stream);
        EXPECT_EQ(io::ByteReader(all.subspan(index.u32()), "DEFCOLWIDTH").u16(), 0x0055) << how;
        int blocks = 0;
        while (!index.atEnd()) {
            const std::uint32_t dbCell = index.u32();
            io::ByteReader at(all.subspan(dbCell), "DBCELL");
            EXPECT_EQ(at.u16(), 0x00D7) << how;
            at.u16();
            const std::uint32_t back = at.u32();
            EXPECT_EQ(io::ByteReader(all.subspan(dbCell - back), "ROW").u16(), 0x0208) << how;
            ++blocks;
        }
        EXPECT_EQ(blocks, 7) << how;
        file = biff::readWorkbookFile(biff::workbookFileBytes(file));
        file.workbook.formats.codes[300] = "0.0000"; // the globals grow, the unchanged sheet moves
        file.workbook.addedFormats.push_back(300);
        file.workbook.modified = true;
    }
}

// Some writers leave out the FONT records that their cell formats use; a saved copy has them.
TEST(WorkbookFile, SavingGivesEveryCellFormatItsFont)
{
    biff::WorkbookFile file = biff::openWorkbookFile(templatePath());
    auto& globals = file.workbook.globalRecords;
    std::erase_if(globals, [](const model::Record& record) { return record.type == 0x0031; });
    file.workbook.fonts.clear();
    const biff::WorkbookFile again = biff::readWorkbookFile(biff::workbookFileBytes(file));
    for (const model::Xf& xf : again.workbook.xfs)
        ASSERT_NE(again.workbook.font(xf.fontIndex), nullptr) << "font " << xf.fontIndex;
    EXPECT_EQ(again.workbook.fonts.front().name, "Arial");
    EXPECT_EQ(again.workbook.fonts.front().height, 200);
    EXPECT_EQ(text(again.workbook, again.workbook.sheets[0], 2, 0), "Asset Type");
}

TEST(WorkbookFile, RefusesFilesThatAreNoWorkbook)
{
    test::ScratchFolder folder;
    EXPECT_THROW(biff::openWorkbookFile(folder.path("missing.xls")), FileError);
    EXPECT_THROW(biff::openWorkbookFile(folder.path("")), FileError);

    container::CompoundFile other;
    other.root.type = container::Entry::Type::Root;
    other.root.children.push_back(container::Entry{u"WordDocument", container::Entry::Type::Stream, {}, 0, 0, 0, {1, 2, 3}, {}});
    try {
        biff::readWorkbookFile(container::writeCompoundFile(other));
        FAIL() << "a compound file without a Workbook stream was taken";
    } catch (const FormatError& error) {
        EXPECT_STREQ(error.what(), "not a workbook: the file has no Workbook stream");
    }
}

// Comments come with their author, their text in its runs and fonts, whether they are shown, and the
// place of their box in the sheet's drawing, whose records go on in CONTINUE records.
TEST(WorkbookFile, ReadsCommentsWithTheirAuthorTextAndBox)
{
    const model::Workbook workbook = biff::openWorkbookFile(dataPath("comments-drawing-in-continue-records.xls")).workbook;
    const model::Sheet& sheet = workbook.sheets.at(0);
    ASSERT_EQ(sheet.comments.size(), 61u);
    for (std::size_t k = 0; k < sheet.comments.size(); ++k) {
        const model::Comment& comment = sheet.comments[k];
        SCOPED_TRACE(k);
        EXPECT_EQ(comment.author, "Youval Bronicki");
        EXPECT_FALSE(comment.visible);
        ASSERT_EQ(comment.text.size(), 2u);
        EXPECT_EQ(comment.text[0].text, "Youval Bronicki:");
        EXPECT_EQ(comment.text[1].text, "\nComment");
        ASSERT_TRUE(comment.text[0].font && comment.text[1].font);
        EXPECT_TRUE(comment.text[0].font->bold());
        EXPECT_FALSE(comment.text[1].font->bold());
        ASSERT_TRUE(comment.anchor);
        EXPECT_EQ(comment.anchor->col1, comment.column + 1);
        const auto box = std::find_if(sheet.drawings.begin(), sheet.drawings.end(),
                                      [&](const model::DrawingObject& object) { return object.shapeId == comment.shapeId; });
        ASSERT_NE(box, sheet.drawings.end());
        EXPECT_EQ(box->objectType, 25);
    }
    EXPECT_EQ(sheet.comments[0].row, 0);
    EXPECT_EQ(sheet.comments[1].row, 1);
}

} // namespace
} // namespace sheet
