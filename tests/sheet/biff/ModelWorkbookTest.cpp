#include "RecordsStripped.h"

#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/biff/MergedCells.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/formula/CellFormulas.h"
#include "sheet/ods/OdsPackage.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace sheet {
namespace {

// A workbook read from .xls, stripped of its records as a reader of another format leaves it, written
// again and read back.
struct Rewritten {
    model::Workbook original;
    model::Workbook copy;
};

Rewritten rewrite(const std::string& path)
{
    Rewritten result;
    result.original = biff::openWorkbookFile(path).workbook;
    biff::WorkbookFile stripped = biff::newWorkbookFile(test::withoutRecords(result.original));
    result.copy = biff::readWorkbookFile(biff::workbookFileBytes(stripped)).workbook;
    return result;
}

std::string fontOf(const model::Workbook& workbook, int xfIndex)
{
    const model::Xf* xf = workbook.xf(xfIndex);
    const model::Font* font = xf ? workbook.font(xf->fontIndex) : nullptr;
    if (!font)
        return "none";
    return font->name + " " + std::to_string(font->height) + " " + std::to_string(font->weight) +
           (font->italic ? " italic" : "") + " u" + std::to_string(font->underline) + " c" +
           std::to_string(workbook.palette.rgb(font->colorIndex));
}

std::string lookOf(const model::Workbook& workbook, int xfIndex)
{
    const model::Xf* xf = workbook.xf(xfIndex);
    if (!xf)
        return "none";
    return workbook.formatCode(xfIndex) + " | " + fontOf(workbook, xfIndex) + " | fill " +
           std::to_string(xf->fillPattern) + " " + std::to_string(workbook.palette.rgb(xf->patternForeground)) +
           " | align " + std::to_string(static_cast<int>(xf->horizontal)) + (xf->wrap ? " wrap" : "") + " | borders " +
           std::to_string(xf->left.style) + std::to_string(xf->right.style) + std::to_string(xf->top.style) +
           std::to_string(xf->bottom.style);
}

std::string reference(const std::optional<model::RangeReference>& r)
{
    if (!r)
        return "-";
    return std::to_string(r->sheet) + "!" + std::to_string(r->range.firstRow) + "," + std::to_string(r->range.firstColumn) +
           ":" + std::to_string(r->range.lastRow) + "," + std::to_string(r->range.lastColumn);
}

// What a reader of the chart sees of it, in one text.
std::string chartOf(const model::Chart& chart)
{
    std::string text = "type " + model::chartTypeName(chart.type());
    for (const model::ChartGroup& group : chart.groups)
        text += " group(" + std::to_string(static_cast<int>(group.type)) + " " +
                std::to_string(static_cast<int>(group.grouping)) + " angle " + std::to_string(group.firstSliceAngle) +
                " hole " + std::to_string(group.holePercent) + (group.varyColours ? " varied" : "") + ")";
    if (chart.view3d)
        text += " 3-D " + std::to_string(chart.view3d->rotation) + " " + std::to_string(chart.view3d->elevation) + " " +
                std::to_string(chart.view3d->heightPercent) + " " + std::to_string(chart.view3d->perspective);
    for (const model::ChartSeries& series : chart.series) {
        text += " series(" + reference(series.name) + " " + series.nameText + " " + reference(series.values) + " " +
                reference(series.categories) + " group " + std::to_string(series.group);
        if (series.format.explosion)
            text += " exploded " + std::to_string(*series.format.explosion);
        if (series.format.labels)
            text += " labels " + std::to_string(series.format.labels->category) +
                    std::to_string(series.format.labels->percent) + std::to_string(series.format.labels->value);
        for (const auto& [point, format] : series.points)
            text += " p" + std::to_string(point) + " fill " + std::to_string(static_cast<int>(format.fill.kind)) + " " +
                    std::to_string(format.fill.colour) +
                    (format.explosion ? " exploded " + std::to_string(*format.explosion) : std::string());
        text += ")";
    }
    if (chart.title)
        text += " title " + chart.title->plain() + " " + std::to_string(chart.title->font.height) + " " +
                std::to_string(chart.title->font.weight);
    text += chart.legend ? " legend " + std::to_string(static_cast<int>(chart.legend->place)) : " no legend";
    for (const model::ChartAxis& axis : chart.axes)
        text += " axis " + std::to_string(static_cast<int>(axis.kind)) + (axis.majorGridlines ? " gridlines" : "");
    return text;
}

class StrippedWorkbook : public testing::TestWithParam<std::string> {};

// Every part of the model that the .xls format holds survives a workbook written without the records it
// was read from: the values, formats, column widths, row heights, merged cells, formulas and charts.
TEST_P(StrippedWorkbook, ReadsBackAsTheOriginal)
{
    const std::string path = GetParam() == "template" ? test::templatePath() : test::dataPath(GetParam());
    const Rewritten r = rewrite(path);
    const model::Workbook& a = r.original;
    const model::Workbook& b = r.copy;
    ASSERT_EQ(b.sheets.size(), a.sheets.size());
    EXPECT_EQ(b.activeSheet, a.activeSheet);
    const formula::WorkbookLinks linksA = formula::readWorkbookLinks(a, formula::modelSheetNames(a));
    const formula::WorkbookLinks linksB = formula::readWorkbookLinks(b, formula::modelSheetNames(b));
    for (std::size_t s = 0; s < a.sheets.size(); ++s) {
        const model::Sheet& sa = a.sheets[s];
        const model::Sheet& sb = b.sheets[s];
        SCOPED_TRACE(sa.name);
        EXPECT_EQ(sb.name, sa.name);
        EXPECT_EQ(sb.kind, sa.kind);
        EXPECT_EQ(sb.visible, sa.visible);
        EXPECT_EQ(sb.showGridlines, sa.showGridlines);
        const formula::SheetFormulas formulasA(sa, static_cast<int>(s), linksA, formula::Grammar::A1);
        const formula::SheetFormulas formulasB(sb, static_cast<int>(s), linksB, formula::Grammar::A1);
        ASSERT_EQ(sb.cells.size(), sa.cells.size());
        for (const auto& [at, cell] : sa.cells) {
            SCOPED_TRACE(std::to_string(at.row) + "," + std::to_string(at.column));
            const model::Cell* copy = sb.cell(at.row, at.column);
            ASSERT_NE(copy, nullptr);
            EXPECT_EQ(b.value(*copy), a.value(cell));
            EXPECT_EQ(lookOf(b, copy->xf), lookOf(a, cell.xf));
            const auto formulaA = formulasA.at(at);
            const auto formulaB = formulasB.at(at);
            ASSERT_EQ(formulaB.has_value(), formulaA.has_value());
            if (formulaA) {
                EXPECT_EQ(formulaB->text, formulaA->text);
            }
        }
        for (int column = 0; column < 256; ++column)
            EXPECT_EQ(sb.columnWidth(column), sa.columnWidth(column)) << "column " << column;
        for (const auto& [row, info] : sa.rows) {
            EXPECT_EQ(sb.rowHeight(row), sa.rowHeight(row)) << "row " << row;
            EXPECT_EQ(sb.rowHidden(row), sa.rowHidden(row)) << "row " << row;
        }
        EXPECT_EQ(biff::mergedCells(sb), biff::mergedCells(sa));
        ASSERT_EQ(sb.charts.size(), sa.charts.size());
        for (std::size_t c = 0; c < sa.charts.size(); ++c)
            EXPECT_EQ(chartOf(sb.charts[c]), chartOf(sa.charts[c]));
        ASSERT_EQ(sb.comments.size(), sa.comments.size());
        for (std::size_t c = 0; c < sa.comments.size(); ++c) {
            const model::Comment& ca = sa.comments[c];
            const model::Comment& cb = sb.comments[c];
            EXPECT_EQ(std::tie(cb.row, cb.column, cb.author, cb.visible), std::tie(ca.row, ca.column, ca.author, ca.visible));
            EXPECT_EQ(model::plainText(cb.text), model::plainText(ca.text));
            ASSERT_TRUE(cb.anchor && ca.anchor);
            EXPECT_EQ(std::tie(cb.anchor->col1, cb.anchor->row1, cb.anchor->col2, cb.anchor->row2),
                      std::tie(ca.anchor->col1, ca.anchor->row1, ca.anchor->col2, ca.anchor->row2));
        }
        for (const model::DrawingObject& object : sa.drawings) {
            if (object.chartIndex < 0)
                continue;
            const auto placed = std::find_if(sb.drawings.begin(), sb.drawings.end(),
                                             [&](const model::DrawingObject& o) { return o.chartIndex == object.chartIndex; });
            ASSERT_NE(placed, sb.drawings.end());
            EXPECT_EQ(placed->anchor.col1, object.anchor.col1);
            EXPECT_EQ(placed->anchor.row1, object.anchor.row1);
            EXPECT_EQ(placed->anchor.dx2, object.anchor.dx2);
            EXPECT_EQ(placed->anchor.row2, object.anchor.row2);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Workbooks, StrippedWorkbook,
                         testing::Values("template", "libreoffice-pie.xls", "writeexcel-chart.xls", "merged-entry-rows.xls",
                                         "writeexcel-formulas-and-names.xls", "names-and-external-books.xls",
                                         "shared-formula-below-the-rows.xls", "chart-sheet-active.xls",
                                         "libreoffice-features.xls", "writeexcel-budget.xls",
                                         "comments-drawing-in-continue-records.xls"),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

// A workbook that the OpenDocument reader gave reads back from .xls with its values, formats, merged cells
// and charts.
TEST(StrippedWorkbook, OpenDocumentWorkbooksReadBackFromXls)
{
    for (const std::string& path : {test::dataPath("libreoffice-template.ods"), test::dataPath("libreoffice-template.ots")}) {
        SCOPED_TRACE(path);
        const model::Workbook read = ods::readOdsPackage(test::fileBytes(path)).workbook;
        biff::WorkbookFile file = biff::newWorkbookFile(read);
        const model::Workbook copy = biff::readWorkbookFile(biff::workbookFileBytes(file)).workbook;
        ASSERT_EQ(copy.sheets.size(), read.sheets.size());
        for (std::size_t s = 0; s < read.sheets.size(); ++s) {
            const model::Sheet& before = read.sheets[s];
            const model::Sheet& after = copy.sheets[s];
            EXPECT_EQ(after.name, before.name);
            ASSERT_EQ(after.cells.size(), before.cells.size());
            for (const auto& [at, cell] : before.cells) {
                const model::Cell* written = after.cell(at.row, at.column);
                ASSERT_NE(written, nullptr);
                EXPECT_EQ(copy.value(*written), read.value(cell));
                EXPECT_EQ(lookOf(copy, written->xf), lookOf(read, cell.xf));
            }
            EXPECT_EQ(biff::mergedCells(after), biff::mergedCells(before));
            ASSERT_EQ(after.charts.size(), before.charts.size());
            for (std::size_t c = 0; c < before.charts.size(); ++c)
                EXPECT_EQ(chartOf(after.charts[c]), chartOf(before.charts[c]));
        }
    }
}

// What the format cannot hold is refused by name, and nothing is written.
TEST(StrippedWorkbook, WhatBiff8CannotHoldIsRefusedByName)
{
    const model::Workbook base = test::withoutRecords(biff::openWorkbookFile(test::templatePath()).workbook);
    const auto refusal = [](model::Workbook workbook) -> std::string {
        biff::WorkbookFile file = biff::newWorkbookFile(std::move(workbook));
        try {
            biff::workbookFileBytes(file);
        } catch (const FormatError& error) {
            return error.what();
        }
        return "written";
    };
    model::Workbook rows = base;
    rows.sheets[0].rows[70000] = model::RowInfo{};
    EXPECT_NE(refusal(rows).find("sheet \"Assets\" has a row format in row 70,001, and the format holds 65,536 rows"),
              std::string::npos) << refusal(rows);
    model::Workbook columns = base;
    model::ColumnInfo wide;
    wide.first = wide.last = 300;
    columns.sheets[0].columns.push_back(wide);
    EXPECT_NE(refusal(columns).find("in column 301, and the format holds 256 columns"), std::string::npos);
    model::Workbook styles = base;
    styles.xfs.resize(5000, styles.xfs.back());
    EXPECT_NE(refusal(styles).find("it has 5,000 cell formats, and the format holds 4,050"), std::string::npos);
    model::Workbook name = base;
    name.sheets[0].name = "Assets of the family over the whole of the year";
    EXPECT_NE(refusal(name).find("the sheet name \"Assets of the family over the whole of the year\" is longer than 31"),
              std::string::npos);
    model::Workbook newer = base;
    model::Record iferror{0x0018, {0x02, 0x00, 0x00, 13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00}, false};
    for (char c : std::string("_xlfn.IFERROR"))
        iferror.bytes.push_back(static_cast<std::uint8_t>(c));
    newer.globalRecords.push_back(iferror);
    EXPECT_NE(refusal(newer).find("a formula calls IFERROR, a function newer than the format"), std::string::npos);
    EXPECT_EQ(refusal(base), "written");
}

// A chart of each type that the model knows reads back as it was described: its type, grouping, series,
// legend and axes.
TEST(StrippedWorkbook, EveryChartTypeReadsBackAsDescribed)
{
    const model::Workbook base = test::withoutRecords(biff::openWorkbookFile(test::templatePath()).workbook);
    using Type = model::ChartType;
    for (Type type : {Type::Column, Type::Bar, Type::Line, Type::Area, Type::Scatter, Type::Doughnut, Type::Radar,
                      Type::FilledRadar, Type::Bubble, Type::Pie}) {
        SCOPED_TRACE(model::chartTypeName(type));
        model::Workbook workbook = base;
        test::redrawFirstChartAs(workbook, type);
        const std::string described = chartOf(workbook.sheets[0].charts[0]);
        biff::WorkbookFile file = biff::newWorkbookFile(std::move(workbook));
        const model::Workbook copy = biff::readWorkbookFile(biff::workbookFileBytes(file)).workbook;
        EXPECT_EQ(chartOf(copy.sheets[0].charts.at(0)), described);
        const auto& axes = copy.sheets[0].charts[0].axes;
        if (!axes.empty()) {
            EXPECT_EQ(axes.back().maximum, 300000);
        }
    }
}

// A pie that a fill grew keeps its slices' colours, and each added slice gets one of its own that neither
// neighbour has, the last and the first included.
TEST(StrippedWorkbook, AddedSlicesGetColoursOfTheirOwn)
{
    model::Workbook grown = test::withoutRecords(biff::openWorkbookFile(test::templatePath()).workbook);
    model::Chart& pie = grown.sheets[0].charts.at(0);
    pie.series[0].values->range.lastRow = 14;
    pie.series[0].categories->range.lastRow = 14;
    pie.addedPoints[0] = 6;
    biff::WorkbookFile file; // no compound file held it: saving makes one
    file.workbook = grown;
    const model::Workbook copy = biff::readWorkbookFile(biff::workbookFileBytes(file)).workbook;
    const model::Chart& written = copy.sheets[0].charts.at(0);
    std::vector<model::Rgb> colours;
    for (unsigned point = 0; point < 11; ++point) {
        const model::ChartFill fill = written.pointFormat(0, point).fill;
        ASSERT_EQ(fill.kind, model::ChartFill::Kind::Solid) << point;
        colours.push_back(fill.colour);
    }
    EXPECT_EQ(std::vector<model::Rgb>(colours.begin(), colours.begin() + 6),
              (std::vector<model::Rgb>{0x004586, 0xFF420E, 0xFFD320, 0x579D1C, 0x7E0021, 0x83CAFF}));
    for (std::size_t k = 0; k < colours.size(); ++k)
        EXPECT_NE(colours[k], colours[(k + 1) % colours.size()]) << k;
    EXPECT_EQ(written.pointFormat(0, 9).explosion, written.pointFormat(0, 0).explosion);
}

} // namespace
} // namespace sheet
