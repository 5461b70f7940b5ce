#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/WorkbookFile.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/io/ByteWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <random>

namespace sheet {
namespace {

// Opens the bytes as a workbook and touches everything in it; true when it opened.
bool openAndWalk(const std::vector<std::uint8_t>& bytes)
{
    try {
        biff::WorkbookFile file = biff::readWorkbookFile(bytes);
        for (std::size_t s = 0; s < file.workbook.sheets.size(); ++s) {
            const model::Sheet& sheet = file.workbook.sheets[s];
            for (const auto& [at, cell] : sheet.cells)
                (void)file.workbook.formatCode(cell.xf);
            (void)edit::usedRange(sheet);
        }
        if (!file.workbook.sheets.empty() && file.workbook.sheets[0].kind == model::SheetKind::Worksheet) {
            edit::writeCellText(file.workbook, 0, 9, 0, "more", NumberLocale{});
            edit::writeCellText(file.workbook, 0, 9, 1, "1", NumberLocale{});
            edit::setCellNumberFormat(file.workbook, 0, 9, 1, "0.0");
        }
        biff::readWorkbookFile(biff::workbookFileBytes(file));
        return true;
    } catch (const FormatError&) {
        return false;
    }
}

std::vector<std::uint8_t> withWorkbookStream(const std::vector<std::uint8_t>& stream)
{
    container::CompoundFile file;
    file.root.type = container::Entry::Type::Root;
    file.root.children.push_back(container::Entry{u"Workbook", container::Entry::Type::Stream, {}, 0, 0, 0, stream, {}});
    return container::writeCompoundFile(file);
}

std::vector<std::uint8_t> bof(std::uint16_t kind)
{
    return {0x00, 0x06, static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(kind >> 8), 0, 0, 0, 0,
            0,    0,    0,                               0,                                    0, 0, 0, 0};
}

constexpr std::uint16_t Globals = 0x0005;
constexpr std::uint16_t Worksheet = 0x0010;

// A Workbook stream written record by record.
struct Stream {
    std::vector<std::uint8_t> bytes;
    std::size_t sheetOffsetAt = 0; // where BOUNDSHEET keeps the offset of the sheet

    Stream& add(std::uint16_t type, const std::vector<std::uint8_t>& body = {})
    {
        biff::appendRecord(bytes, type, body);
        return *this;
    }
    Stream& sheetOffset(std::uint32_t offset)
    {
        io::ByteWriter::put32(bytes.data() + sheetOffsetAt, offset);
        return *this;
    }
};

// The globals of a workbook with one worksheet, `records` among them; the sheet is to start where
// they end.
Stream globals(const std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>>& records = {})
{
    Stream stream;
    stream.add(0x0809, bof(Globals));
    for (const auto& [type, body] : records)
        stream.add(type, body);
    stream.sheetOffsetAt = stream.bytes.size() + 4;
    stream.add(0x0085, {0, 0, 0, 0, 0, 0, 1, 0, 'S'});
    stream.add(0x000A);
    return stream.sheetOffset(static_cast<std::uint32_t>(stream.bytes.size()));
}

std::vector<std::uint8_t> numberCell(int row, int column, double value)
{
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u16(static_cast<std::uint16_t>(row));
    w.u16(static_cast<std::uint16_t>(column));
    w.u16(15);
    w.f64(value);
    return body;
}

// A Workbook stream with one damage, and what the refusal says.
struct Damage {
    const char* name;
    std::function<std::vector<std::uint8_t>()> stream;
    const char* message;
};

void PrintTo(const Damage& damage, std::ostream* out)
{
    *out << damage.name;
}

class DamagedWorkbookStream : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedWorkbookStream, IsRefusedWithAClearError)
{
    try {
        biff::readWorkbookFile(withWorkbookStream(GetParam().stream()));
        ADD_FAILURE() << "opened without complaint";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr(GetParam().message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedWorkbookStream,
    ::testing::Values(
        Damage{"EmptyStream", [] { return std::vector<std::uint8_t>{}; }, "past the end"},
        Damage{"UnknownVersionGlobals",
               [] {
                   Stream stream = globals();
                   stream.bytes[5] = 0x07;
                   return stream.bytes;
               },
               "BIFF8"},
        Damage{"PasswordProtected",
               [] { return Stream{}.add(0x0809, bof(Globals)).add(0x002F, {0, 0}).add(0x000A).bytes; }, "password"},
        Damage{"NoSheets", [] { return Stream{}.add(0x0809, bof(Globals)).add(0x000A).bytes; }, "no sheets"},
        Damage{"SubstreamsNestedTooDeep",
               [] {
                   Stream stream;
                   stream.add(0x0809, bof(Globals));
                   for (int i = 0; i < 20; ++i)
                       stream.add(0x0809, bof(0x0020));
                   return stream.bytes;
               },
               "nested too deep"},
        Damage{"StringTableCutShort",
               [] {
                   Stream stream = globals({{0x00FC, {0, 0, 0, 0, 5, 0, 0, 0, 10, 0, 0, 'a', 'b'}}});
                   return stream.add(0x0809, bof(Worksheet)).add(0x000A).bytes;
               },
               "shared string table is cut short"},
        Damage{"SheetOverlappingTheGlobals", [] { return globals().sheetOffset(0).bytes; }, "overlap"},
        Damage{"SheetPastTheEnd", [] { return globals().sheetOffset(0x7FFFFFFF).bytes; }, "past the end"},
        Damage{"SheetWithoutAnEnd", [] { return globals().add(0x0809, bof(Worksheet)).bytes; }, "no end record"},
        Damage{"RecordCutShort",
               [] {
                   Stream stream = globals().add(0x0809, bof(Worksheet));
                   stream.bytes.insert(stream.bytes.end(), {0x03, 0x02, 0xFF, 0x00, 1, 2});
                   return stream.bytes;
               },
               "runs past the end of the Workbook stream"},
        Damage{"CellWithoutItsSharedString",
               [] {
                   return globals()
                       .add(0x0809, bof(Worksheet))
                       .add(0x00FD, {0, 0, 0, 0, 15, 0, 0, 0, 0, 0})
                       .add(0x000A)
                       .bytes;
               },
               "missing shared string"},
        Damage{"CellBeyondTheLastColumn",
               [] { return globals().add(0x0809, bof(Worksheet)).add(0x0203, numberCell(0, 256, 1)).add(0x000A).bytes; },
               "beyond the last column"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

TEST(HostileInput, CellsInReverseOrderReadBackInOrder)
{
    constexpr int Rows = 20000;
    Stream stream = globals().add(0x0809, bof(Worksheet));
    for (int row = Rows - 1; row >= 0; --row) {
        stream.add(0x0203, numberCell(row, 1, row));
        stream.add(0x0203, numberCell(row, 0, -row));
    }
    stream.add(0x0203, numberCell(7, 1, 0.5));
    stream.add(0x000A);

    const biff::WorkbookFile file = biff::readWorkbookFile(withWorkbookStream(stream.bytes));
    const model::Sheet& sheet = file.workbook.sheets.at(0);
    ASSERT_EQ(sheet.cells.size(), std::size_t{2 * Rows});
    model::CellAddress expected{0, 0};
    for (const auto& [at, cell] : sheet.cells) {
        ASSERT_EQ(at, expected);
        const double value = at.row == 7 && at.column == 1 ? 0.5 : at.column == 1 ? at.row : -at.row;
        ASSERT_EQ(cell.number(), value) << "row " << at.row << ", column " << at.column;
        expected = at.column == 0 ? model::CellAddress{at.row, 1} : model::CellAddress{at.row + 1, 0};
    }
}

// Blank runs that come before the sheet's other cells stay runs when they are put in order: a sheet of
// such rows costs its runs, not a cell for each blank. Where cells meet, the one read last stands.
TEST(HostileInput, BlankRunsOutOfOrderStayRuns)
{
    constexpr int Rows = 2000;
    const auto blanks = [](int row, int first, int last, std::uint16_t xf) {
        std::vector<std::uint8_t> body;
        io::ByteWriter w(body);
        w.u16(static_cast<std::uint16_t>(row));
        w.u16(static_cast<std::uint16_t>(first));
        for (int column = first; column <= last; ++column)
            w.u16(xf);
        w.u16(static_cast<std::uint16_t>(last));
        return body;
    };
    Stream stream = globals().add(0x0809, bof(Worksheet));
    for (int row = Rows - 1; row >= 0; --row)
        stream.add(0x00BE, blanks(row, 1, 200, 16));
    stream.add(0x0203, numberCell(5, 10, 2.5));
    stream.add(0x00BE, blanks(5, 150, 220, 17));
    for (int row = 0; row < Rows; ++row)
        stream.add(0x0203, numberCell(row, 0, row));
    stream.add(0x000A);

    const biff::WorkbookFile file = biff::readWorkbookFile(withWorkbookStream(stream.bytes));
    const model::CellStore& cells = file.workbook.sheets.at(0).cells;
    EXPECT_EQ(cells.size(), std::size_t{Rows} * 201 + 20);
    EXPECT_EQ(cells.find({5, 10})->second.number(), 2.5);
    EXPECT_EQ(cells.find({5, 149})->second.xf, 16);
    EXPECT_EQ(cells.find({5, 150})->second.xf, 17);
    EXPECT_EQ(cells.find({5, 220})->second.xf, 17);
    EXPECT_EQ(cells.find({1999, 0})->second.number(), 1999);
    EXPECT_EQ(cells.find({6, 1}).runLength(), 200);
    model::CellAddress previous{-1, 0};
    for (const auto& [at, cell] : cells) {
        ASSERT_LT(previous, at);
        previous = at;
    }
}

TEST(HostileInput, MutatedWorkbooksNeverCrash)
{
    std::mt19937 random(20261207);
    int opened = 0, refused = 0;
    for (const std::string& path : {test::templatePath(), test::dataPath("writeexcel-chart.xls"),
                                    test::dataPath("comments-drawing-in-continue-records.xls"),
                                    test::dataPath("excel-95-biff5.xls")}) {
        const std::vector<std::uint8_t> original = test::fileBytes(path);
        for (int round = 0; round < 300; ++round) {
            std::vector<std::uint8_t> bytes = original;
            const int changes = 1 + static_cast<int>(random() % 8);
            for (int c = 0; c < changes; ++c) {
                const std::size_t at = random() % bytes.size();
                switch (random() % 4) {
                case 0: bytes[at] = static_cast<std::uint8_t>(random()); break;
                case 1: bytes[at] ^= static_cast<std::uint8_t>(1u << (random() % 8)); break;
                case 2: bytes[at] = 0xFF; break;
                default: bytes.resize(std::max<std::size_t>(at, 1)); break;
                }
            }
            (openAndWalk(bytes) ? opened : refused)++;
        }
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace sheet
