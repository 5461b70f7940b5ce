#pragma once

#include "sheet/formula/Token.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace sheet::formula {

// A formula as a BIFF8 record keeps it: its tokens (rgce) and the values of its arrays after them (rgcb).
struct EncodedFormula {
    std::vector<std::uint8_t> tokens;
    std::vector<std::uint8_t> extra;
};

// The BIFF8 bytes of a formula's tokens (as parseFormula gives them), which readTokens reads back.
// References keep their rows and columns with the relative flags, as a FORMULA or NAME record holds
// them; a reference on a sheet goes through its entry of the external sheet table. Cells, areas and
// names are of the reference class, functions of the value class but where a reference is wanted from
// those that give one (INDEX, OFFSET, INDIRECT), arrays of the array class; and all of these of the
// array class where they are computed for a whole range, for a function that takes arrays
// (SUMPRODUCT((A1:A9="x")*B1:B9)). SUM of one argument is written as Excel writes it. Throws a FormatError for tokens the file format cannot hold: a text
// longer than 255 characters, an argument count out of the function's range, a formula longer than
// a record holds.
EncodedFormula encodeTokens(std::span<const Token> tokens);

// Appends an XLUnicodeString of `text` (UTF-8): its length in `countBytes` bytes (1 or 2), the flags,
// and its characters in one byte each when they all fit, else in two. Throws a FormatError when the
// text is longer than the count can say.
void appendUnicodeString(std::vector<std::uint8_t>& out, std::string_view text, int countBytes);

} // namespace sheet::formula
