#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::test {

// A workbook stream put together record by record, for cases that no program's file shows on its own:
// the globals with one BOUNDSHEET per sheet, then the sheets, each pointed at from its BOUNDSHEET.
// `biff` is the BOF version: 0x0600 for BIFF8, 0x0500 for BIFF5 and BIFF7, whose strings are bytes.
class MadeWorkbook {
public:
    explicit MadeWorkbook(std::uint16_t biff = 0x0600) : biff_(biff) {}

    // Adds a record to the globals, before the BOUNDSHEET records.
    MadeWorkbook& global(std::uint16_t type, const std::vector<std::uint8_t>& body = {});
    // Starts a sheet (0x10 worksheet, 0x20 chart) named `name`; the records that follow go into it.
    MadeWorkbook& sheet(const std::string& name, std::uint16_t kind = 0x0010, std::uint8_t boundSheetType = 0);
    MadeWorkbook& record(std::uint16_t type, const std::vector<std::uint8_t>& body = {});
    // Gives the sheet's EOF record a length that it does not have, reaching into what follows it.
    MadeWorkbook& eofClaiming(std::uint16_t length);

    // The stream, each sheet closed with EOF.
    std::vector<std::uint8_t> stream() const;
    // The stream in a compound file under `streamName`.
    std::vector<std::uint8_t> file(const std::u16string& streamName = u"Workbook") const;

    std::vector<std::uint8_t> bof(std::uint16_t kind) const;

private:
    struct Sheet {
        std::string name;
        std::uint8_t type = 0;
        std::vector<std::uint8_t> records;
        std::uint16_t eofLength = 0;
    };
    std::uint16_t biff_;
    std::vector<std::uint8_t> globals_;
    std::vector<Sheet> sheets_;
};

// A cell record's first six bytes: row, column, XF.
std::vector<std::uint8_t> cellHeader(int row, int column, int xf = 15);
// Appends a little-endian value of `size` bytes; bytes beyond the value's eight are zeros.
void put(std::vector<std::uint8_t>& out, std::uint64_t value, int size);

} // namespace sheet::test
