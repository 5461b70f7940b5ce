#include "sheet/biff/ExternSheetTable.h"

#include "sheet/biff/RecordStream.h"
#include "sheet/biff/RecordTypes.h"
#include "sheet/io/ByteReader.h"
#include "sheet/io/ByteWriter.h"


namespace sheet::biff {
namespace {

constexpr std::uint16_t ExternName = 0x0023, Xct = 0x0059, Crn = 0x005A;
constexpr std::size_t EntrySize = 6;

bool namesThisWorkbook(const model::Record& supBook)
{
    return supBook.bytes.size() >= 4 && supBook.bytes[2] == 0x01 && supBook.bytes[3] == 0x04;
}

} // namespace

ExternSheetTable::ExternSheetTable(const std::vector<model::Record>& kept, std::size_t sheetCount)
    : sheetCount_(sheetCount)
{
    bool inBook = false;
    for (const model::Record& record : kept) {
        if (record.type == rt::SupBook) {
            if (namesThisWorkbook(record) && selfBook_ < 0)
                selfBook_ = static_cast<int>(bookCount_);
            ++bookCount_;
            books_.push_back(record);
            inBook = true;
        } else if (inBook && (record.type == ExternName || record.type == Xct || record.type == Crn ||
                              record.type == rt::Continue)) {
            books_.push_back(record);
        } else if (record.type == rt::ExternSheet) {
            inBook = false;
            io::ByteReader reader(record.bytes, "an EXTERNSHEET record");
            const std::size_t count = record.bytes.size() >= 2 ? reader.u16() : 0;
            for (std::size_t k = 0; k < count && reader.remaining() >= EntrySize; ++k) {
                Entry entry;
                entry.book = reader.u16();
                entry.first = reader.u16();
                entry.last = reader.u16();
                entries_.push_back(entry);
            }
        } else if (record.type != rt::Bof && record.type != rt::Eof) {
            inBook = false;
            others_.push_back(record);
        }
    }
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        const Entry& entry = entries_[k];
        if (static_cast<int>(entry.book) == selfBook_ && entry.first == entry.last && !ownSheets_.contains(entry.first))
            ownSheets_.emplace(entry.first, static_cast<std::uint16_t>(k));
    }
}

std::optional<std::uint16_t> ExternSheetTable::entryFor(int sheet)
{
    if (sheet < 0 || static_cast<std::size_t>(sheet) >= sheetCount_)
        return std::nullopt;
    if (const auto found = ownSheets_.find(sheet); found != ownSheets_.end())
        return found->second;
    if (selfBook_ < 0) {
        model::Record supBook{rt::SupBook, {}, false};
        io::ByteWriter w(supBook.bytes);
        w.u16(static_cast<std::uint16_t>(sheetCount_));
        w.u16(0x0401);
        selfBook_ = static_cast<int>(bookCount_++);
        books_.push_back(std::move(supBook));
    }
    const auto entry = static_cast<std::uint16_t>(entries_.size());
    ownSheets_.emplace(sheet, entry);
    const auto index = static_cast<std::uint16_t>(sheet);
    entries_.push_back(Entry{static_cast<std::uint16_t>(selfBook_), index, index});
    return entry;
}

void ExternSheetTable::write(std::vector<std::uint8_t>& out) const
{
    for (const model::Record& record : books_)
        appendRecordAsIs(out, record.type, record.bytes);
    if (!entries_.empty()) {
        std::vector<std::uint8_t> body;
        io::ByteWriter w(body);
        w.u16(static_cast<std::uint16_t>(entries_.size()));
        for (const Entry& entry : entries_) {
            w.u16(entry.book);
            w.u16(entry.first);
            w.u16(entry.last);
        }
        appendRecord(out, rt::ExternSheet, body);
    }
    for (const model::Record& record : others_)
        appendAsRead(out, record);
}

} // namespace sheet::biff
