#include "sheet/biff/SimpleFormula.h"

#include "sheet/biff/UnicodeText.h"
#include "sheet/io/ByteReader.h"
#include "sheet/model/A1Notation.h"
#include "sheet/text/Utf16.h"

#include <charconv>
#include <cmath>

namespace sheet::biff {
namespace {

constexpr std::uint8_t Uminus = 0x13, Str = 0x17, Int = 0x1E, Num = 0x1F;
constexpr std::uint8_t Ref = 0x04, Area = 0x05; // in the low five bits, of any token class

std::string cell(int row, std::uint16_t column)
{
    const std::string address = model::cellAddress(row, column & 0x00FF);
    const std::size_t digits = address.find_first_of("0123456789");
    const std::string letters = address.substr(0, digits), number = address.substr(digits);
    return ((column & 0x4000) ? "" : "$") + letters + ((column & 0x8000) ? "" : "$") + number;
}

std::string numberText(double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

} // namespace

std::optional<std::string> simpleFormulaText(std::span<const std::uint8_t> tokens)
{
    try {
        io::ByteReader reader(tokens, "a formula");
        std::string sign;
        while (!reader.atEnd() && tokens[reader.position()] == Uminus) {
            reader.u8();
            sign += "-";
        }
        if (reader.atEnd())
            return std::nullopt;
        const std::uint8_t token = reader.u8();
        std::string text;
        if (token == Int) {
            text = std::to_string(reader.u16());
        } else if (token == Num) {
            const double value = reader.f64();
            if (!std::isfinite(value))
                return std::nullopt;
            text = numberText(value);
        } else if (token == Str) {
            const std::size_t count = reader.u8();
            const bool wide = reader.u8() & 1;
            std::string value = text::toUtf8(readCharacters(reader, count, wide));
            // A list of texts keeps its items apart with zeros; the format with commas.
            for (char& c : value)
                if (c == '\0')
                    c = ',';
            std::string quoted = "\"";
            for (const char c : value)
                quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            text = quoted + "\"";
        } else if ((token & 0x1F) == Ref && token >= 0x20) {
            const int row = reader.u16();
            text = cell(row, reader.u16());
        } else if ((token & 0x1F) == Area && token >= 0x20) {
            const int firstRow = reader.u16(), lastRow = reader.u16();
            const std::uint16_t firstColumn = reader.u16(), lastColumn = reader.u16();
            text = cell(firstRow, firstColumn) + ":" + cell(lastRow, lastColumn);
        } else {
            return std::nullopt;
        }
        if (!reader.atEnd())
            return std::nullopt;
        return sign + text;
    } catch (const FormatError&) {
        return std::nullopt;
    }
}

} // namespace sheet::biff
