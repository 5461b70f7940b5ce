#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sheet::biff {

// The text (A1 style, without "=") of a formula's tokens when they are a simple one: a number, a
// text, a list of texts (a validation's "a,b,c"), a cell or an area of the sheet, each maybe after a
// unary minus. Nothing for any other formula, which the full formula grammar writes.
std::optional<std::string> simpleFormulaText(std::span<const std::uint8_t> tokens);

} // namespace sheet::biff
