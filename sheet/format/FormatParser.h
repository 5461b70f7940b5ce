#pragma once

#include "sheet/format/FormatSection.h"

#include <string_view>
#include <vector>

namespace sheet::format {

// Splits a format code into its sections. Never fails: what cannot be read
// as a placeholder, a colour or a condition is shown as literal text.
std::vector<FormatSection> parseFormatCode(std::string_view code);

}  // namespace sheet::format
