#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace sheet::model {

// The error values a cell can hold, with their codes in the file.
enum class ErrorCode : std::uint8_t {
    Null = 0x00,
    DivisionByZero = 0x07,
    Value = 0x0F,
    Reference = 0x17,
    Name = 0x1D,
    Number = 0x24,
    NotAvailable = 0x2A,
};

// "#DIV/0!" and so on; "#N/A" for a code the file invented.
const char* errorText(ErrorCode code);

// Empty, a number, a text (UTF-8), a logical value or an error.
using CellValue = std::variant<std::monostate, double, std::string, bool, ErrorCode>;

} // namespace sheet::model

namespace sheet {
using model::CellValue;
using model::ErrorCode;
} // namespace sheet
