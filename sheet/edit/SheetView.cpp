#include "sheet/edit/SheetView.h"

#include "sheet/Errors.h"
#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/edit/CellEditing.h"
#include "sheet/io/ByteWriter.h"

#include <string>

namespace sheet::edit {
namespace {

constexpr std::uint16_t GridlinesFlag = 0x0002;

// A column range that holds all its fields. One that was cut short before its reserved bytes is left as
// it is, and a width set inside it goes into a range of its own.
bool whole(const model::ColumnInfo& info)
{
    return info.reserved.size() >= 2;
}

model::ColumnInfo withColumns(model::ColumnInfo info, int first, int last, int width)
{
    info.first = first;
    info.last = last;
    info.width = width;
    return info;
}

} // namespace

void setShowGridlines(model::Sheet& sheet, bool show)
{
    sheet.showGridlines = show;
    biff::forEachSheetRecord(sheet.records, [&](std::size_t i) {
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
    auto& columns = sheet.columns;
    auto covering = columns.end();
    for (auto it = columns.begin(); it != columns.end(); ++it)
        if (whole(*it) && column >= it->first && column <= it->last)
            covering = it;
    if (covering != columns.end()) {
        const model::ColumnInfo like = *covering;
        std::vector<model::ColumnInfo> split;
        if (like.first < column)
            split.push_back(withColumns(like, like.first, column - 1, like.width));
        split.push_back(withColumns(like, column, column, width));
        if (column < like.last)
            split.push_back(withColumns(like, column + 1, like.last, like.width));
        const auto at = columns.erase(covering);
        columns.insert(at, split.begin(), split.end());
        return;
    }
    // A range of its own, kept in column order: before the first range that starts to its right, else after
    // the last one.
    auto at = columns.end();
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        if (!whole(*it))
            continue;
        if (it->first > column) {
            at = it;
            break;
        }
        at = it + 1;
    }
    model::ColumnInfo info;
    info.first = info.last = column;
    info.width = width;
    info.options = model::ColumnInfo::UserSetWidth;
    columns.insert(at, info);
}

} // namespace sheet::edit
