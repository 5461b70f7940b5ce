#include "sheet/biff/SheetWriter.h"

#include "sheet/biff/CellRecords.h"
#include "sheet/biff/CellTableWriter.h"
#include "sheet/biff/ColumnInfoRecords.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteWriter.h"

#include <algorithm>
#include <optional>

namespace sheet::biff {
namespace {

constexpr std::size_t IndexFixedSize = 16;

// Where the new cell table goes: at the old one, else after DIMENSIONS, else before WINDOW2 or EOF.
std::size_t cellTablePosition(const std::vector<model::Record>& records)
{
    std::size_t dimensions = 0, window = 0;
    std::optional<std::size_t> table;
    forEachSheetRecord(records, [&](std::size_t i) {
        const std::uint16_t type = records[i].type;
        if (isCellTableRecord(type))
            table = i;
        if (type == rt::Dimensions && !dimensions)
            dimensions = i + 1;
        if (type == rt::Window2 && !window)
            window = i;
        return table.has_value();
    });
    if (table)
        return *table;
    if (dimensions)
        return dimensions;
    return window ? window : records.size() - 1;
}

// Where a worksheet's column ranges go: at its first COLINFO record, which they replace, else before
// DIMENSIONS, else after BOF.
struct ColumnsPosition {
    std::size_t index = 0;
    bool replacesRecord = false;
};

ColumnsPosition columnsPosition(const std::vector<model::Record>& records)
{
    std::optional<std::size_t> dimensions, first;
    forEachSheetRecord(records, [&](std::size_t i) {
        if (records[i].type == rt::ColInfo)
            first = i;
        if (records[i].type == rt::Dimensions && !dimensions)
            dimensions = i;
        return first.has_value();
    });
    if (first)
        return {*first, true};
    return {dimensions.value_or(1), false};
}

// Calls `found(offset)` for each DBCELL record that `record` is or holds, with its offset in the record
// as the stream has it.
template <typename Found>
void forEachDbCell(const model::Record& record, Found found)
{
    if (!record.run) {
        if (record.type == rt::DbCell)
            found(0);
        return;
    }
    for (std::size_t at = 0; at < record.bytes.size();) {
        const RunRecord inner = runRecordAt(record.bytes, at);
        if (inner.type == rt::DbCell)
            found(at);
        at = inner.next;
    }
}

class SheetWriter {
public:
    SheetWriter(const model::Sheet& sheet, std::vector<std::uint8_t>& out) : sheet_(sheet), out_(out) {}

    void write()
    {
        const auto& records = sheet_.records;
        const bool worksheet = sheet_.kind == model::SheetKind::Worksheet;
        const bool rebuild = sheet_.modified && worksheet;
        const std::size_t tableAt = rebuild ? cellTablePosition(records) : records.size();
        const std::size_t blocks = rebuild ? cellTableBlocks(sheet_) : countDbCells();
        const ColumnsPosition columnsAt = columnsPosition(records);
        int depth = 0;
        bool skippingContinue = false;
        for (std::size_t i = 0; i < records.size(); ++i) {
            const model::Record& record = records[i];
            if (i == columnsAt.index && !columnsAt.replacesRecord)
                writeColumnInfos(sheet_.columns, out_);
            if (i == tableAt)
                dbCells_ = writeCellTable(sheet_, out_, 0);
            if (record.type == rt::Bof)
                ++depth;
            const bool sheetLevel = depth == 1;
            if (record.type == rt::Eof)
                --depth;
            if (rebuild && sheetLevel) {
                if (isCellTableRecord(record.type) || (skippingContinue && record.type == rt::Continue)) {
                    skippingContinue = true;
                    continue;
                }
                skippingContinue = false;
                if (record.type == rt::Dimensions) {
                    appendRecordAsIs(out_, rt::Dimensions, dimensionsBody(sheet_));
                    continue;
                }
            }
            if (sheetLevel && record.type == rt::Index && !indexAt_) {
                indexAt_ = out_.size();
                writeIndexPlaceholder(record, blocks, rebuild);
                continue;
            }
            if (worksheet && sheetLevel && record.type == rt::ColInfo) {
                if (i == columnsAt.index)
                    writeColumnInfos(sheet_.columns, out_);
                continue;
            }
            if (sheetLevel && record.type == rt::DefColWidth)
                defColWidthAt_ = out_.size();
            if (!rebuild && sheetLevel)
                forEachDbCell(record, [&](std::size_t at) { dbCells_.push_back(static_cast<std::uint32_t>(out_.size() + at)); });
            appendAsRead(out_, record);
        }
        patchIndex();
    }

private:
    std::size_t countDbCells() const
    {
        std::size_t count = 0;
        forEachSheetRecord(sheet_.records, [&](std::size_t i) {
            forEachDbCell(sheet_.records[i], [&](std::size_t) { ++count; });
            return false;
        });
        return count;
    }

    void writeIndexPlaceholder(const model::Record& original, std::size_t blocks, bool rebuild)
    {
        std::vector<std::uint8_t> body(IndexFixedSize + 4 * blocks, 0);
        if (original.bytes.size() >= IndexFixedSize && !rebuild) {
            std::copy_n(original.bytes.begin(), 12, body.begin());
        } else if (!sheet_.cells.empty()) {
            io::ByteWriter::put32(body.data() + 4, static_cast<std::uint32_t>(sheet_.cells.begin()->first.row));
            io::ByteWriter::put32(body.data() + 8, static_cast<std::uint32_t>(sheet_.cells.back().first.row + 1));
        }
        appendRecordAsIs(out_, rt::Index, body);
    }

    void patchIndex()
    {
        if (!indexAt_)
            return;
        std::uint8_t* body = out_.data() + *indexAt_ + 4;
        io::ByteWriter::put32(body + 12, static_cast<std::uint32_t>(defColWidthAt_));
        const std::size_t slots = (io::ByteWriter::get16(out_.data() + *indexAt_ + 2) - IndexFixedSize) / 4;
        for (std::size_t i = 0; i < slots && i < dbCells_.size(); ++i)
            io::ByteWriter::put32(body + IndexFixedSize + 4 * i, dbCells_[i]);
    }

    const model::Sheet& sheet_;
    std::vector<std::uint8_t>& out_;
    std::optional<std::size_t> indexAt_;
    std::size_t defColWidthAt_ = 0;
    std::vector<std::uint32_t> dbCells_;
};

} // namespace

void writeSheet(const model::Sheet& sheet, std::vector<std::uint8_t>& out)
{
    SheetWriter(sheet, out).write();
}

} // namespace sheet::biff
