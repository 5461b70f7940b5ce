#include "sheet/biff/CellTableWriter.h"

#include "sheet/biff/CellRecords.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace sheet::biff {
namespace {

constexpr int RowsPerBlock = 32;

void header(io::ByteWriter& w, std::uint16_t type, std::uint16_t length)
{
    w.u16(type);
    w.u16(length);
}

void cellStart(io::ByteWriter& w, std::uint16_t type, std::uint16_t length, const model::CellAddress& at,
               const model::Cell& cell)
{
    header(w, type, length);
    w.u16(static_cast<std::uint16_t>(at.row));
    w.u16(static_cast<std::uint16_t>(at.column));
    w.u16(static_cast<std::uint16_t>(cell.xf));
}

void writeFormula(io::ByteWriter& w, const std::vector<model::Record>& records, const model::Cell& cell)
{
    for (std::size_t i = 0; i < records.size(); ++i) {
        const model::Record& record = records[i];
        header(w, record.type, static_cast<std::uint16_t>(record.bytes.size()));
        if (i == 0 && record.bytes.size() >= 6) {
            std::vector<std::uint8_t> body = record.bytes;
            io::ByteWriter::put16(body.data() + 4, static_cast<std::uint16_t>(cell.xf));
            w.bytes(body);
        } else {
            w.bytes(record.bytes);
        }
    }
}

// Writes a cell; a text cell must hold a string table entry by now (see internStrings).
void writeCell(io::ByteWriter& w, const model::Sheet& sheet, const model::CellAddress& at, const model::Cell& cell)
{
    if (const std::vector<model::Record>* formula = sheet.formulaOf(at, cell)) {
        writeFormula(w, *formula, cell);
        return;
    }
    switch (cell.kind()) {
    case model::Cell::Kind::Number:
        cellStart(w, rt::Number, 14, at, cell);
        w.f64(*cell.number());
        break;
    case model::Cell::Kind::SharedText:
    case model::Cell::Kind::Text:
        cellStart(w, rt::LabelSst, 10, at, cell);
        w.u32(cell.textIndex());
        break;
    case model::Cell::Kind::Logical:
        cellStart(w, rt::BoolErr, 8, at, cell);
        w.u8(cell.logical() ? 1 : 0);
        w.u8(0);
        break;
    case model::Cell::Kind::Error:
        cellStart(w, rt::BoolErr, 8, at, cell);
        w.u8(static_cast<std::uint8_t>(cell.error()));
        w.u8(1);
        break;
    case model::Cell::Kind::Empty:
        cellStart(w, rt::Blank, 6, at, cell);
        break;
    }
}

// The RK value of a cell whose number came as one and can go back as one; nothing for any other.
std::optional<std::uint32_t> rkOf(const model::Sheet& sheet, const model::CellStore::reference& entry)
{
    const auto& [at, cell] = entry;
    if (!cell.storedAsRk() || sheet.formulaOf(at, cell))
        return std::nullopt;
    return encodeRk(*cell.number());
}

// Writes the cell at `cell` with those that go into one record with it, and returns the cell after
// them: a run of blanks kept as one goes out as a MULBLANK, neighbours whose numbers came as RK values
// as a MULRK (one alone as an RK), so that such cells take no more room than they came in.
model::CellStore::const_iterator writeCells(io::ByteWriter& w, const model::Sheet& sheet,
                                            model::CellStore::const_iterator cell)
{
    const auto [at, stored] = *cell;
    const int run = cell.runLength();
    if (run > 1) {
        header(w, rt::MulBlank, static_cast<std::uint16_t>(6 + 2 * run));
        w.u16(static_cast<std::uint16_t>(at.row));
        w.u16(static_cast<std::uint16_t>(at.column));
        auto blank = cell;
        for (int k = 0; k < run; ++k, ++blank)
            w.u16(blank->second.xf);
        w.u16(static_cast<std::uint16_t>(at.column + run - 1));
        return blank;
    }
    std::vector<std::pair<std::uint16_t, std::uint32_t>> numbers;
    auto next = cell;
    for (; next != sheet.cells.end() && next->first.row == at.row
           && next->first.column == at.column + static_cast<int>(numbers.size());
         ++next) {
        const std::optional<std::uint32_t> rk = rkOf(sheet, *next);
        if (!rk)
            break;
        numbers.emplace_back(next->second.xf, *rk);
    }
    if (numbers.empty()) {
        writeCell(w, sheet, at, stored);
        return std::next(cell);
    }
    if (numbers.size() == 1) {
        cellStart(w, rt::Rk, 10, at, stored);
        w.u32(numbers.front().second);
        return next;
    }
    header(w, rt::MulRk, static_cast<std::uint16_t>(6 + 6 * numbers.size()));
    w.u16(static_cast<std::uint16_t>(at.row));
    w.u16(static_cast<std::uint16_t>(at.column));
    for (const auto& [xf, rk] : numbers) {
        w.u16(xf);
        w.u32(rk);
    }
    w.u16(static_cast<std::uint16_t>(at.column + static_cast<int>(numbers.size()) - 1));
    return next;
}

// The ROW flags that say what DEFAULTROWHEIGHT says of rows without a record: a custom height, hidden,
// extra space above and below. A row that gets a record of its own keeps looking the same.
std::uint32_t defaultRowFlags(const model::Sheet& sheet)
{
    std::uint32_t flags = 0;
    if (sheet.defaultRowFlags & 0x0001)
        flags |= 0x40;
    if (sheet.defaultRowFlags & 0x0002)
        flags |= 0x20;
    if (sheet.defaultRowFlags & 0x0004)
        flags |= 0x10000000;
    if (sheet.defaultRowFlags & 0x0008)
        flags |= 0x20000000;
    return flags;
}

std::vector<std::uint8_t> rowBody(const model::Sheet& sheet, int row, const model::RowInfo* info, int firstColumn,
                                  int endColumn)
{
    std::vector<std::uint8_t> body;
    if (info && info->raw.size() == 16) {
        body = info->raw;
    } else {
        io::ByteWriter w(body);
        w.zeros(6);
        w.u16(static_cast<std::uint16_t>(info ? info->height : sheet.defaultRowHeight));
        w.zeros(4);
        std::uint32_t flags = 0x0100;
        if (!info)
            flags |= defaultRowFlags(sheet);
        if (info && info->hidden)
            flags |= 0x20;
        if (info && info->customHeight)
            flags |= 0x40;
        if (info && info->xf)
            flags |= 0x80 | (static_cast<std::uint32_t>(*info->xf & 0x0FFF) << 16);
        w.u32(flags);
    }
    io::ByteWriter::put16(body.data(), static_cast<std::uint16_t>(row));
    io::ByteWriter::put16(body.data() + 2, static_cast<std::uint16_t>(firstColumn));
    io::ByteWriter::put16(body.data() + 4, static_cast<std::uint16_t>(endColumn));
    return body;
}

// The rows that get a ROW record: those with a record of their own and those with cells.
std::vector<int> presentRows(const model::Sheet& sheet)
{
    std::vector<int> rows;
    auto rowInfo = sheet.rows.begin();
    auto cell = sheet.cells.begin();
    while (rowInfo != sheet.rows.end() || cell != sheet.cells.end()) {
        int next;
        if (cell == sheet.cells.end() || (rowInfo != sheet.rows.end() && rowInfo->first <= cell->first.row))
            next = rowInfo->first;
        else
            next = cell->first.row;
        rows.push_back(next);
        while (rowInfo != sheet.rows.end() && rowInfo->first == next)
            ++rowInfo;
        while (cell != sheet.cells.end() && cell->first.row == next)
            ++cell;
    }
    return rows;
}

} // namespace

std::size_t cellTableBlocks(const model::Sheet& sheet)
{
    std::size_t blocks = 0;
    int lastBlock = -1;
    for (int row : presentRows(sheet))
        if (row / RowsPerBlock != lastBlock)
            ++blocks, lastBlock = row / RowsPerBlock;
    return blocks;
}

std::vector<std::uint32_t> writeCellTable(const model::Sheet& sheet, std::vector<std::uint8_t>& out, std::size_t base)
{
    io::ByteWriter w(out);
    std::vector<std::uint32_t> dbCells;
    const std::vector<int> rows = presentRows(sheet);
    auto cell = sheet.cells.begin();
    for (std::size_t first = 0; first < rows.size();) {
        const int block = rows[first] / RowsPerBlock;
        std::size_t last = first;
        while (last < rows.size() && rows[last] / RowsPerBlock == block)
            ++last;

        const std::size_t firstRowRecord = w.size();
        auto blockCells = cell;
        for (std::size_t r = first; r < last; ++r) {
            const int row = rows[r];
            int firstColumn = 0, endColumn = 0;
            auto rowCells = sheet.cells.lower_bound(model::CellAddress{row, 0});
            if (rowCells != sheet.cells.end() && rowCells->first.row == row) {
                firstColumn = rowCells->first.column;
                auto rowEnd = sheet.cells.lower_bound(model::CellAddress{row + 1, 0});
                endColumn = std::prev(rowEnd)->first.column + 1;
            }
            auto info = sheet.rows.find(row);
            const auto body = rowBody(sheet, row, info == sheet.rows.end() ? nullptr : &info->second, firstColumn,
                                      endColumn);
            header(w, rt::Row, static_cast<std::uint16_t>(body.size()));
            w.bytes(body);
        }
        const std::size_t firstRowEnd = firstRowRecord + 20;
        std::vector<std::uint16_t> offsets;
        std::size_t previous = firstRowEnd;
        cell = blockCells;
        while (cell != sheet.cells.end() && cell->first.row / RowsPerBlock == block) {
            const int row = cell->first.row;
            const std::size_t rowStart = w.size();
            offsets.push_back(static_cast<std::uint16_t>(rowStart - previous));
            previous = rowStart;
            while (cell != sheet.cells.end() && cell->first.row == row)
                cell = writeCells(w, sheet, cell);
        }
        const std::size_t dbCell = w.size();
        header(w, rt::DbCell, static_cast<std::uint16_t>(4 + 2 * offsets.size()));
        w.u32(static_cast<std::uint32_t>(dbCell - firstRowRecord));
        for (std::uint16_t offset : offsets)
            w.u16(offset);
        dbCells.push_back(static_cast<std::uint32_t>(base + dbCell));
        first = last;
    }
    return dbCells;
}

std::vector<std::uint8_t> dimensionsBody(const model::Sheet& sheet)
{
    if (sheet.cells.empty())
        return std::vector<std::uint8_t>(14, 0);
    int firstColumn = 255, lastColumn = 0;
    for (const auto& [at, cell] : sheet.cells) {
        firstColumn = std::min(firstColumn, at.column);
        lastColumn = std::max(lastColumn, at.column);
    }
    std::vector<std::uint8_t> body;
    io::ByteWriter w(body);
    w.u32(static_cast<std::uint32_t>(sheet.cells.begin()->first.row));
    w.u32(static_cast<std::uint32_t>(sheet.cells.back().first.row + 1));
    w.u16(static_cast<std::uint16_t>(firstColumn));
    w.u16(static_cast<std::uint16_t>(lastColumn + 1));
    w.u16(0);
    return body;
}

} // namespace sheet::biff
