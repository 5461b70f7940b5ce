#include "sheet/edit/SheetView.h"

#include "sheet/Errors.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/io/ByteWriter.h"

#include <string>

namespace sheet::edit {
namespace {

constexpr std::uint16_t GridlinesFlag = 0x0002;
constexpr std::uint16_t UserSetWidth = 0x0002;
constexpr std::size_t ColInfoSize = 12;

// Calls `visit(index)` for each record of the sheet itself (not of an embedded chart).
template <typename Visit>
void forSheetRecords(model::Sheet& sheet, Visit visit)
{
    int depth = 0;
    for (std::size_t i = 0; i < sheet.records.size(); ++i) {
        const std::uint16_t type = sheet.records[i].type;
        if (type == biff::rt::Bof)
            ++depth;
        if (depth == 1 && visit(i))
            return;
        if (type == biff::rt::Eof)
            --depth;
    }
}

model::Record colInfo(int first, int last, int width, const std::vector<std::uint8_t>* like)
{
    model::Record record{biff::rt::ColInfo, {}};
    if (like && like->size() >= ColInfoSize) {
        record.bytes = *like;
    } else {
        io::ByteWriter w(record.bytes);
        w.zeros(6);
        w.u16(model::DefaultCellXf);
        w.u16(UserSetWidth);
        w.u16(0);
    }
    io::ByteWriter::put16(record.bytes.data(), static_cast<std::uint16_t>(first));
    io::ByteWriter::put16(record.bytes.data() + 2, static_cast<std::uint16_t>(last));
    io::ByteWriter::put16(record.bytes.data() + 4, static_cast<std::uint16_t>(width));
    return record;
}

void insertRecords(model::Sheet& sheet, std::size_t at, std::vector<model::Record> records)
{
    const std::size_t count = records.size();
    sheet.records.insert(sheet.records.begin() + static_cast<std::ptrdiff_t>(at),
                         std::make_move_iterator(records.begin()), std::make_move_iterator(records.end()));
    for (model::Chart& chart : sheet.charts)
        for (std::size_t& source : chart.sourceRecords)
            if (source >= at)
                source += count;
}

void readColumns(model::Sheet& sheet)
{
    sheet.columns.clear();
    forSheetRecords(sheet, [&](std::size_t i) {
        const auto& bytes = sheet.records[i].bytes;
        if (sheet.records[i].type == biff::rt::ColInfo && bytes.size() >= 10)
            sheet.columns.push_back(model::ColumnInfo{
                io::ByteWriter::get16(bytes.data()), io::ByteWriter::get16(bytes.data() + 2),
                io::ByteWriter::get16(bytes.data() + 4), io::ByteWriter::get16(bytes.data() + 6),
                (io::ByteWriter::get16(bytes.data() + 8) & 0x0001) != 0});
        return false;
    });
}

} // namespace

void setShowGridlines(model::Sheet& sheet, bool show)
{
    sheet.showGridlines = show;
    forSheetRecords(sheet, [&](std::size_t i) {
        auto& bytes = sheet.records[i].bytes;
        if (sheet.records[i].type != biff::rt::Window2 || bytes.size() < 2)
            return false;
        const std::uint16_t flags = io::ByteWriter::get16(bytes.data());
        io::ByteWriter::put16(bytes.data(), show ? flags | GridlinesFlag : flags & ~GridlinesFlag);
        return true;
    });
}

void setColumnWidth(model::Sheet& sheet, int column, int width)
{
    checkPosition(0, column);
    if (width < 0 || width > 0xFFFF)
        throw ArgumentError("a column width of " + std::to_string(width) + "/256 characters is not possible");
    std::optional<std::size_t> covering, lastColInfo, dimensions;
    forSheetRecords(sheet, [&](std::size_t i) {
        const model::Record& record = sheet.records[i];
        if (record.type == biff::rt::Dimensions && !dimensions)
            dimensions = i;
        if (record.type != biff::rt::ColInfo || record.bytes.size() < ColInfoSize)
            return false;
        lastColInfo = i;
        if (column >= io::ByteWriter::get16(record.bytes.data()) && column <= io::ByteWriter::get16(record.bytes.data() + 2))
            covering = i;
        return false;
    });
    if (covering) {
        const std::vector<std::uint8_t> like = sheet.records[*covering].bytes;
        const int first = io::ByteWriter::get16(like.data());
        const int last = io::ByteWriter::get16(like.data() + 2);
        const int oldWidth = io::ByteWriter::get16(like.data() + 4);
        sheet.records[*covering] = colInfo(column, column, width, &like);
        std::vector<model::Record> after;
        if (column < last)
            after.push_back(colInfo(column + 1, last, oldWidth, &like));
        insertRecords(sheet, *covering + 1, std::move(after));
        if (first < column)
            insertRecords(sheet, *covering, {colInfo(first, column - 1, oldWidth, &like)});
    } else {
        std::size_t at = lastColInfo ? *lastColInfo + 1 : (dimensions ? *dimensions : 1);
        if (lastColInfo) {
            // keep the records in column order
            forSheetRecords(sheet, [&](std::size_t i) {
                const model::Record& record = sheet.records[i];
                if (record.type == biff::rt::ColInfo && record.bytes.size() >= ColInfoSize &&
                    io::ByteWriter::get16(record.bytes.data()) > column) {
                    at = i;
                    return true;
                }
                return false;
            });
        }
        insertRecords(sheet, at, {colInfo(column, column, width, nullptr)});
    }
    readColumns(sheet);
}

} // namespace sheet::edit
