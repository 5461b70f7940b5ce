#include "sheet/Errors.h"
#include "sheet/TestFiles.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/io/ByteWriter.h"
#include "sheet/io/WorkbookFile.h"

#include <gtest/gtest.h>
#include <random>

namespace sheet {
namespace {

// Opens the bytes as a workbook and touches everything in it; true when it opened.
bool openAndWalk(const std::vector<std::uint8_t>& bytes)
{
    try {
        io::WorkbookFile file = io::readWorkbookFile(bytes);
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
        io::readWorkbookFile(io::workbookFileBytes(file));
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

void record(std::vector<std::uint8_t>& out, std::uint16_t type, std::vector<std::uint8_t> body)
{
    biff::appendRecord(out, type, body);
}

std::vector<std::uint8_t> bof(std::uint16_t kind)
{
    return {0x00, 0x06, static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(kind >> 8), 0, 0, 0, 0,
            0,    0,    0,                               0,                                    0, 0, 0, 0};
}

std::vector<std::uint8_t> boundSheet(std::uint32_t offset)
{
    std::vector<std::uint8_t> body(6, 0);
    io::ByteWriter::put32(body.data(), offset);
    body.insert(body.end(), {1, 0, 'S'});
    return body;
}

std::string errorOf(const std::vector<std::uint8_t>& stream)
{
    try {
        io::readWorkbookFile(withWorkbookStream(stream));
    } catch (const FormatError& error) {
        return error.what();
    }
    return "<opened>";
}

TEST(HostileInput, DamagedWorkbookStreamsGiveClearErrors)
{
    std::vector<std::uint8_t> stream;
    record(stream, 0x0809, bof(0x0005));
    const std::size_t boundSheetAt = stream.size();
    record(stream, 0x0085, boundSheet(0));
    record(stream, 0x000A, {});
    const std::size_t sheetAt = stream.size();
    io::ByteWriter::put32(stream.data() + boundSheetAt + 4, static_cast<std::uint32_t>(sheetAt));
    std::vector<std::uint8_t> good = stream;
    record(good, 0x0809, bof(0x0010));
    record(good, 0x00FD, {0, 0, 0, 0, 15, 0, 0, 0, 0, 0});
    record(good, 0x000A, {});
    EXPECT_NE(errorOf(good).find("missing shared string"), std::string::npos) << errorOf(good);

    std::vector<std::uint8_t> cut = stream;
    record(cut, 0x0809, bof(0x0010));
    cut.insert(cut.end(), {0x03, 0x02, 0xFF, 0x00, 1, 2});
    EXPECT_NE(errorOf(cut).find("runs past the end of the Workbook stream"), std::string::npos) << errorOf(cut);

    std::vector<std::uint8_t> noEnd = stream;
    record(noEnd, 0x0809, bof(0x0010));
    EXPECT_NE(errorOf(noEnd).find("no end record"), std::string::npos) << errorOf(noEnd);

    std::vector<std::uint8_t> overlapping = stream;
    io::ByteWriter::put32(overlapping.data() + boundSheetAt + 4, 0);
    EXPECT_NE(errorOf(overlapping).find("overlap"), std::string::npos) << errorOf(overlapping);

    std::vector<std::uint8_t> beyond = stream;
    io::ByteWriter::put32(beyond.data() + boundSheetAt + 4, 0x7FFFFFFF);
    EXPECT_NE(errorOf(beyond).find("past the end"), std::string::npos) << errorOf(beyond);

    std::vector<std::uint8_t> biff5 = stream;
    biff5[5] = 0x05;
    EXPECT_NE(errorOf(biff5).find("BIFF8"), std::string::npos) << errorOf(biff5);

    std::vector<std::uint8_t> encrypted;
    record(encrypted, 0x0809, bof(0x0005));
    record(encrypted, 0x002F, {0, 0});
    record(encrypted, 0x000A, {});
    EXPECT_NE(errorOf(encrypted).find("password"), std::string::npos) << errorOf(encrypted);

    std::vector<std::uint8_t> nested;
    record(nested, 0x0809, bof(0x0005));
    for (int i = 0; i < 20; ++i)
        record(nested, 0x0809, bof(0x0020));
    EXPECT_NE(errorOf(nested).find("nested too deep"), std::string::npos) << errorOf(nested);

    EXPECT_NE(errorOf({}).find("past the end"), std::string::npos) << errorOf({});
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

TEST(HostileInput, CellsInReverseOrderReadBackInOrder)
{
    constexpr int Rows = 20000;
    std::vector<std::uint8_t> stream;
    record(stream, 0x0809, bof(0x0005));
    const std::size_t boundSheetAt = stream.size();
    record(stream, 0x0085, boundSheet(0));
    record(stream, 0x000A, {});
    io::ByteWriter::put32(stream.data() + boundSheetAt + 4, static_cast<std::uint32_t>(stream.size()));
    record(stream, 0x0809, bof(0x0010));
    for (int row = Rows - 1; row >= 0; --row) {
        record(stream, 0x0203, numberCell(row, 1, row));
        record(stream, 0x0203, numberCell(row, 0, -row));
    }
    record(stream, 0x0203, numberCell(7, 1, 0.5));
    record(stream, 0x000A, {});

    const io::WorkbookFile file = io::readWorkbookFile(withWorkbookStream(stream));
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

TEST(HostileInput, MutatedWorkbooksNeverCrash)
{
    std::mt19937 random(20261207);
    int opened = 0, refused = 0;
    for (const std::string& path : {test::templatePath(), test::dataPath("writeexcel-chart.xls")}) {
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
