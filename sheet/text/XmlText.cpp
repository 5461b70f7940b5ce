#include "sheet/text/XmlText.h"

#include <charconv>
#include <cstdint>

namespace sheet::text {

namespace {

void appendUtf8(std::string& out, std::uint32_t code)
{
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The character a reference between "&" and ";" stands for; false for one that is unknown.
bool appendReference(std::string& out, std::string_view entity)
{
    if (entity == "amp") out += '&';
    else if (entity == "lt") out += '<';
    else if (entity == "gt") out += '>';
    else if (entity == "quot") out += '"';
    else if (entity == "apos") out += '\'';
    else if (entity.size() > 1 && entity[0] == '#') {
        const bool hex = entity[1] == 'x' || entity[1] == 'X';
        const std::string_view digits = entity.substr(hex ? 2 : 1);
        std::uint64_t code = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (digits.empty() || end != digits.data() + digits.size())
            return false;
        appendUtf8(out, error == std::errc() && code <= 0x10FFFF ? static_cast<std::uint32_t>(code) : 0xFFFD);
    } else {
        return false;
    }
    return true;
}

} // namespace

std::string xmlUnescaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
        const std::size_t semicolon = text[k] == '&' ? text.find(';', k) : std::string_view::npos;
        if (semicolon == std::string_view::npos || !appendReference(out, text.substr(k + 1, semicolon - k - 1))) {
            out += text[k];
            continue;
        }
        k = semicolon;
    }
    return out;
}

} // namespace sheet::text
