#include "MadeWorkbook.h"

#include "sheet/Errors.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/container/CompoundFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/text/Utf16.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>

namespace sheet {
namespace {

using test::cellHeader;
using test::put;

constexpr std::uint16_t Formula = 0x0006, Biff4Formula = 0x0406, Number = 0x0203, Label = 0x0204,
                        BoolErr = 0x0205, String = 0x0207, Rk = 0x027E, MulRk = 0x00BD, MulBlank = 0x00BE, Window1 = 0x003D,
                        RString = 0x00D6;

model::CellValue valueAt(const model::Workbook& workbook, int sheet, int row, int column)
{
    const model::Cell* cell = workbook.sheets.at(static_cast<std::size_t>(sheet)).cell(row, column);
    return cell ? workbook.value(*cell) : model::CellValue{};
}

// A FORMULA record's body: the cell, its cached number and a formula of one token (=1).
std::vector<std::uint8_t> formulaBody(int row, int column, double cached)
{
    std::vector<std::uint8_t> body = cellHeader(row, column);
    put(body, std::bit_cast<std::uint64_t>(cached), 8);
    put(body, 0, 2);
    put(body, 0, 4);
    put(body, 2, 2);
    body.push_back(0x1E); // an integer
    body.push_back(1);
    body.push_back(0);
    return body;
}

std::vector<std::uint8_t> numberBody(int row, int column, double value)
{
    std::vector<std::uint8_t> body = cellHeader(row, column);
    put(body, std::bit_cast<std::uint64_t>(value), 8);
    return body;
}

// How many records of `type` the workbook's stream holds, its header records included.
int recordsOfType(const std::vector<std::uint8_t>& fileBytes, std::uint16_t type)
{
    const container::CompoundFile file = container::readCompoundFile(fileBytes);
    const std::vector<std::uint8_t>& stream = file.root.child(u"Workbook")->data;
    int count = 0;
    for (std::size_t at = 0; at + 4 <= stream.size(); at += 4 + (stream[at + 2] | (stream[at + 3] << 8)))
        count += (stream[at] | (stream[at + 1] << 8)) == type;
    return count;
}

// Some libraries store the BIFF8 workbook under Excel 95's stream name; the BOF record tells them
// apart. The copy is saved under the name that every reader looks for.
TEST(OtherWriters, Biff8UnderAnyStreamNameIsReadAndSavedAsWorkbook)
{
    test::MadeWorkbook made;
    made.sheet("Data").record(Number, numberBody(0, 0, 42));
    for (const std::u16string name : {u"Book", u"BOOK", u"workbook"}) {
        biff::WorkbookFile file = biff::readWorkbookFile(made.file(name));
        EXPECT_EQ(valueAt(file.workbook, 0, 0, 0), model::CellValue(42.0));
        edit::writeCellText(file.workbook, 0, 1, 0, "2", NumberLocale{});
        const std::vector<std::uint8_t> saved = biff::workbookFileBytes(file);
        const container::CompoundFile copy = container::readCompoundFile(saved);
        ASSERT_EQ(copy.root.children.size(), 1u);
        EXPECT_EQ(copy.root.children[0].name, u"Workbook");
        const biff::WorkbookFile again = biff::readWorkbookFile(saved);
        EXPECT_EQ(valueAt(again.workbook, 0, 1, 0), model::CellValue(2.0));
    }

    // Excel 97 can keep an Excel 95 copy beside the workbook for older programs; after a save it
    // would show the data as it was, so it goes, and every other stream stays.
    container::CompoundFile both = container::readCompoundFile(made.file());
    const std::vector<std::uint8_t> excel95 = test::MadeWorkbook(0x0500).sheet("Data").stream();
    const auto stream = [](std::u16string name, std::vector<std::uint8_t> data) {
        return container::Entry{std::move(name), container::Entry::Type::Stream, {}, 0, 0, 0, std::move(data), {}};
    };
    both.root.children.push_back(stream(u"Book", excel95));
    both.root.children.push_back(stream(u"\x05SummaryInformation", {1}));
    biff::WorkbookFile file = biff::readWorkbookFile(container::writeCompoundFile(both));
    EXPECT_EQ(file.workbook.biff, 8);
    const container::CompoundFile copy = container::readCompoundFile(biff::workbookFileBytes(file));
    ASSERT_EQ(copy.root.children.size(), 2u);
    EXPECT_NE(copy.root.child(u"Workbook"), nullptr);
    EXPECT_NE(copy.root.child(u"\x05SummaryInformation"), nullptr);
}

// A formula under Excel 4.0's record id is a formula cell; when the sheet is written anew, the cell
// has one record, under today's id.
TEST(OtherWriters, FormulaUnderTheOldRecordIdIsOneFormulaCell)
{
    test::MadeWorkbook made;
    made.sheet("Data").record(Biff4Formula, formulaBody(0, 0, 1)).record(Biff4Formula, formulaBody(1, 0, 1));
    biff::WorkbookFile file = biff::readWorkbookFile(made.file());
    const model::Cell* cell = file.workbook.sheets[0].cell(0, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(cell->hasFormula());
    EXPECT_EQ(file.workbook.value(*cell), model::CellValue(1.0));

    edit::writeCellText(file.workbook, 0, 1, 0, "7", NumberLocale{});
    const std::vector<std::uint8_t> saved = biff::workbookFileBytes(file);
    EXPECT_EQ(recordsOfType(saved, Biff4Formula), 0);
    EXPECT_EQ(recordsOfType(saved, Formula), 1);
    const biff::WorkbookFile again = biff::readWorkbookFile(saved);
    EXPECT_TRUE(again.workbook.sheets[0].cell(0, 0)->hasFormula());
    EXPECT_EQ(valueAt(again.workbook, 0, 1, 0), model::CellValue(7.0));
    EXPECT_FALSE(again.workbook.sheets[0].cell(1, 0)->hasFormula());
}

// Each cell as "row,column=value/format", in the sheet's order.
std::vector<std::string> cellsOf(const model::Workbook& workbook)
{
    std::vector<std::string> cells;
    for (const auto& [at, cell] : workbook.sheets.at(0).cells) {
        const model::CellValue value = workbook.value(cell);
        const std::string shown = std::holds_alternative<double>(value) ? std::to_string(std::get<double>(value))
            : std::holds_alternative<std::string>(value)                ? std::get<std::string>(value)
                                                                         : "";
        cells.push_back(std::to_string(at.row) + "," + std::to_string(at.column) + "=" + shown + "/"
                        + std::to_string(cell.xf));
    }
    return cells;
}

// Other writers keep formatted blanks in MULBLANK records and numbers in RK ones, a cell in 2 or 6
// bytes. Changing cells inside such runs keeps every other cell with its value and format, and the
// sheet written anew keeps them as compact as they came.
TEST(OtherWriters, RunsOfBlanksAndNumbersKeepEveryCellThroughEdits)
{
    std::vector<std::uint8_t> blanks; // B1:G1
    put(blanks, 0, 2);
    put(blanks, 1, 2);
    for (const int xf : {16, 16, 17, 15, 16, 18})
        put(blanks, static_cast<std::uint64_t>(xf), 2);
    put(blanks, 6, 2);
    std::vector<std::uint8_t> numbers; // A2:E2, 100 to 500
    put(numbers, 1, 2);
    put(numbers, 0, 2);
    for (int k = 0; k < 5; ++k) {
        put(numbers, static_cast<std::uint64_t>(15 + k % 2), 2);
        put(numbers, static_cast<std::uint64_t>((k + 1) * 100) << 2 | 0x02, 4);
    }
    put(numbers, 4, 2);
    std::vector<std::uint8_t> hundredths = cellHeader(2, 0); // A3: 1.25 as 125 hundredths
    put(hundredths, 125 << 2 | 0x03, 4);
    test::MadeWorkbook made;
    made.sheet("Data").record(MulBlank, blanks).record(MulRk, numbers).record(Rk, hundredths);
    biff::WorkbookFile file = biff::readWorkbookFile(made.file());
    EXPECT_EQ(file.workbook.sheets[0].cells.size(), 12u);

    edit::writeCellText(file.workbook, 0, 0, 3, "x", NumberLocale{});   // D1, amid the blanks
    edit::writeCellText(file.workbook, 0, 0, 4, "", NumberLocale{});    // E1, a blank of the default format, goes
    edit::writeCellText(file.workbook, 0, 1, 2, "7.5", NumberLocale{});  // C2, amid the numbers
    const std::vector<std::string> expected = {"0,1=/16", "0,2=/16", "0,3=x/17", "0,5=/16", "0,6=/18",
                                               "1,0=100.000000/15", "1,1=200.000000/16", "1,2=7.500000/15",
                                               "1,3=400.000000/16", "1,4=500.000000/15", "2,0=1.250000/15"};
    EXPECT_EQ(cellsOf(file.workbook), expected);

    const std::vector<std::uint8_t> saved = biff::workbookFileBytes(file);
    EXPECT_EQ(cellsOf(biff::readWorkbookFile(saved).workbook), expected);
    EXPECT_EQ(recordsOfType(saved, MulBlank), 2);  // B1:C1 and F1:G1
    EXPECT_EQ(recordsOfType(saved, MulRk), 2);     // A2:B2 and D2:E2
    EXPECT_EQ(recordsOfType(saved, Rk), 1);        // A3
}

TEST(OtherWriters, ChartSheetActiveLeavesTheFirstWorksheetToWriteTo)
{
    std::vector<std::uint8_t> window(18, 0);
    window[10] = 1; // the second sheet is active
    test::MadeWorkbook made;
    made.global(Window1, window).sheet("Data").sheet("Chart", 0x0020, 0x02);
    const biff::WorkbookFile file = biff::readWorkbookFile(made.file());
    ASSERT_EQ(file.workbook.sheets.size(), 2u);
    EXPECT_EQ(file.workbook.activeSheet, 1);
    EXPECT_EQ(file.workbook.activeWorksheet(), 0);

    test::MadeWorkbook chartsOnly;
    chartsOnly.sheet("Chart", 0x0020, 0x02);
    EXPECT_EQ(biff::readWorkbookFile(chartsOnly.file()).workbook.activeWorksheet(), -1);
}

// An Excel 95 workbook: strings are bytes in the workbook's code page, XFs are packed otherwise.
TEST(OtherWriters, Excel95WorkbooksAreReadWithTheirCodePageButNotWritten)
{
    const auto bytes = [](std::initializer_list<int> values) {
        std::vector<std::uint8_t> out;
        for (int value : values)
            out.push_back(static_cast<std::uint8_t>(value));
        return out;
    };
    std::vector<std::uint8_t> font{0xC8, 0, 0, 0, 0xFF, 0x7F, 0xBC, 0x02, 0, 0, 0, 0, 0, 0, 5, 'A', 'r', 'i', 'a', 'l'};
    std::vector<std::uint8_t> format = bytes({0xA4, 0, 7, '0', '.', '0', 0xA0, 0x80, 0xA0, ';'}); // 0.0 € ;
    std::vector<std::uint8_t> xf;
    put(xf, 1, 2);    // the second font
    put(xf, 0xA4, 2); // the format above
    put(xf, 0, 2);
    xf.push_back(0x02 | 0x08); // centred, wrapped
    xf.push_back(0x02);        // text upwards
    put(xf, (1u << 16) | (2u << 22) | (10u << 25), 4); // solid fill, a medium red bottom line
    put(xf, 1u | (3u << 3), 4);                         // thin top, dashed left
    test::MadeWorkbook made(0x0500);
    made.global(0x0042, {0xE3, 0x04}) // code page 1251
        .global(0x0031, font)
        .global(0x0031, font)
        .global(0x041E, format);
    for (int i = 0; i < 16; ++i)
        made.global(0x00E0, xf);
    std::vector<std::uint8_t> label = cellHeader(0, 0, 15);
    put(label, 6, 2);
    for (int c : {0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2}) // Привет
        label.push_back(static_cast<std::uint8_t>(c));
    std::vector<std::uint8_t> rk = cellHeader(1, 0, 15);
    put(rk, (12u << 2) | 0x02, 4);
    std::vector<std::uint8_t> formula = formulaBody(2, 0, 0);
    formula[6] = 0; // the result is a string, in the STRING record that follows
    formula[12] = formula[13] = 0xFF;
    std::vector<std::uint8_t> string;
    put(string, 2, 2);
    string.push_back(0xDF); // Я
    string.push_back('!');
    std::vector<std::uint8_t> logical = cellHeader(3, 0, 15);
    logical.push_back(1);
    logical.push_back(0);
    std::vector<std::uint8_t> blanks;
    put(blanks, 4, 2);
    put(blanks, 0, 2);
    put(blanks, 15, 2);
    put(blanks, 15, 2);
    put(blanks, 1, 2);
    made.sheet("\xCB\xE8\xF1\xF2") // Лист
        .record(Label, label)
        .record(Rk, rk)
        .record(Formula, formula)
        .record(String, string)
        .record(BoolErr, logical)
        .record(MulBlank, blanks);

    biff::WorkbookFile file = biff::readWorkbookFile(made.file(u"Book"));
    const model::Workbook& workbook = file.workbook;
    EXPECT_EQ(workbook.biff, 5);
    EXPECT_EQ(workbook.sheets[0].name, "Лист");
    EXPECT_EQ(valueAt(workbook, 0, 0, 0), model::CellValue(std::string("Привет")));
    EXPECT_EQ(valueAt(workbook, 0, 1, 0), model::CellValue(12.0));
    EXPECT_EQ(valueAt(workbook, 0, 2, 0), model::CellValue(std::string("Я!")));
    EXPECT_TRUE(workbook.sheets[0].cell(2, 0)->hasFormula());
    EXPECT_EQ(valueAt(workbook, 0, 3, 0), model::CellValue(true));
    EXPECT_NE(workbook.sheets[0].cell(4, 1), nullptr);
    EXPECT_EQ(workbook.formatCode(15), "0.0\u00A0\u0402\u00A0;") << "0xA0 and 0x80 in code page 1251";
    const model::Xf& cellFormat = workbook.xfs.at(15);
    EXPECT_EQ(workbook.font(cellFormat.fontIndex)->name, "Arial");
    EXPECT_TRUE(workbook.font(cellFormat.fontIndex)->bold());
    EXPECT_EQ(cellFormat.horizontal, model::HorizontalAlignment::Center);
    EXPECT_TRUE(cellFormat.wrap);
    EXPECT_EQ(cellFormat.rotation, 90);
    EXPECT_EQ(cellFormat.fillPattern, 1);
    EXPECT_EQ(cellFormat.bottom.style, 2);
    EXPECT_EQ(cellFormat.bottom.colorIndex, 10);
    EXPECT_EQ(cellFormat.top.style, 1);
    EXPECT_EQ(cellFormat.left.style, 3);

    edit::writeCellText(file.workbook, 0, 5, 0, "1", NumberLocale{});
    try {
        biff::workbookFileBytes(file);
        ADD_FAILURE() << "an Excel 95 workbook was written";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("Excel 95 workbooks can be read but not written"));
    }
}

// Slips that xlrd reads past, and so must the engine, keeping what they hold: an EOF record that
// claims a length reaching into the next sheet or past the stream's end, a string table whose count
// of references is zero, empty CONTINUE records.
TEST(OtherWriters, SlipsThatOtherReadersTolerateAreRead)
{
    std::vector<std::uint8_t> strings;
    put(strings, 0, 4); // no references, although a cell has one
    put(strings, 2, 4);
    for (const char* text : {"ab", "cd"}) {
        put(strings, 2, 2);
        strings.push_back(0);
        strings.push_back(static_cast<std::uint8_t>(text[0]));
        strings.push_back(static_cast<std::uint8_t>(text[1]));
    }
    std::vector<std::uint8_t> sharedLabel = cellHeader(1, 0);
    put(sharedLabel, 1, 4);
    test::MadeWorkbook made;
    made.global(0x00FC, strings)
        .global(0x003C)
        .sheet("First")
        .record(Number, numberBody(0, 0, 1))
        .record(0x003C)
        .record(0x00FD, sharedLabel)
        .eofClaiming(8)
        .sheet("Second")
        .record(Number, numberBody(0, 0, 2))
        .eofClaiming(100);

    biff::WorkbookFile file = biff::readWorkbookFile(made.file());
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(file.workbook.sheets.size(), 2u);
        EXPECT_EQ(valueAt(file.workbook, 0, 0, 0), model::CellValue(1.0));
        EXPECT_EQ(valueAt(file.workbook, 0, 1, 0), model::CellValue(std::string("cd")));
        EXPECT_EQ(valueAt(file.workbook, 1, 0, 0), model::CellValue(2.0));
        edit::writeCellText(file.workbook, 0, 3, 0, "x", NumberLocale{});
        file = biff::readWorkbookFile(biff::workbookFileBytes(file));
    }
}

// A text with formatting runs of its own in the cell record (RSTRING), as older writers and Excel 95
// store it. When its sheet is written anew, its cell refers to the string table, where the text goes
// with its runs; Excel 95's runs of two bytes are widened to BIFF8's four.
TEST(OtherWriters, RichTextCellKeepsItsRunsWhenItsSheetIsWrittenAnew)
{
    const std::string text = "Total 2024";
    const std::vector<std::pair<int, int>> runs{{0, 5}, {6, 6}}; // character index, font index
    std::vector<std::uint8_t> expected;
    for (auto [character, font] : runs) {
        put(expected, static_cast<std::uint64_t>(character), 2);
        put(expected, static_cast<std::uint64_t>(font), 2);
    }
    const auto expectRichText = [&](const model::Workbook& workbook, const char* when) {
        const model::Cell* cell = workbook.sheets.at(0).cell(0, 1);
        ASSERT_NE(cell, nullptr) << when;
        ASSERT_EQ(cell->kind(), model::Cell::Kind::SharedText) << when;
        EXPECT_EQ(workbook.sharedStrings.at(cell->textIndex()).text, text::toUtf16(text)) << when;
        EXPECT_EQ(workbook.sharedStrings.at(cell->textIndex()).runs, expected) << when;
    };
    for (const std::uint16_t biff : {0x0600, 0x0500}) {
        const int width = biff == 0x0600 ? 2 : 1;
        std::vector<std::uint8_t> body = cellHeader(0, 1);
        put(body, text.size(), 2);
        if (biff == 0x0600)
            body.push_back(0); // one byte a character
        body.insert(body.end(), text.begin(), text.end());
        put(body, runs.size(), width);
        for (auto [character, font] : runs) {
            put(body, static_cast<std::uint64_t>(character), width);
            put(body, static_cast<std::uint64_t>(font), width);
        }
        test::MadeWorkbook made(biff);
        made.sheet("Data").record(Number, numberBody(0, 0, 1)).record(RString, body);
        biff::WorkbookFile file = biff::readWorkbookFile(made.file());
        expectRichText(file.workbook, biff == 0x0600 ? "read" : "read from Excel 95");
        if (biff != 0x0600)
            continue;
        edit::writeCellText(file.workbook, 0, 1, 0, "2", NumberLocale{});
        const std::vector<std::uint8_t> saved = biff::workbookFileBytes(file);
        EXPECT_EQ(recordsOfType(saved, RString), 0);
        expectRichText(biff::readWorkbookFile(saved).workbook, "written anew");
    }
}

TEST(OtherWriters, OlderFilesAreRefusedByTheirName)
{
    const struct {
        std::uint16_t bof, kind;
        const char* name;
    } older[] = {{0x0009, 0x0010, "an Excel 2.1 worksheet (BIFF2)"},
                 {0x0209, 0x0020, "an Excel 3.0 chart (BIFF3)"},
                 {0x0409, 0x0010, "an Excel 4.0 worksheet (BIFF4)"},
                 {0x0409, 0x0100, "an Excel 4.0 workbook (BIFF4W)"}};
    for (const auto& file : older) {
        std::vector<std::uint8_t> bytes;
        put(bytes, file.bof, 2);
        put(bytes, 6, 2);
        put(bytes, 0, 2);
        put(bytes, file.kind, 2);
        put(bytes, 0, 2);
        put(bytes, 0x000A, 4); // EOF
        try {
            biff::readWorkbookFile(bytes);
            ADD_FAILURE() << file.name << " was read";
        } catch (const FormatError& error) {
            EXPECT_THAT(error.what(), ::testing::HasSubstr(std::string("the file is ") + file.name));
        }
    }
}

} // namespace
} // namespace sheet
