#pragma once

#include "sheet/io/ByteReader.h"

#include <string>

namespace sheet::biff {

// How a workbook's records hold their strings: as BIFF8's XLUnicodeStrings, or as an Excel 95
// workbook's bytes in the code page that its CODEPAGE record names.
struct RecordText {
    bool unicode = true;
    int codepage = 1252;

    // A string with a character count of `countBytes` bytes (1 or 2) before it.
    std::u16string read(io::ByteReader& reader, int countBytes) const;
};

} // namespace sheet::biff
