#pragma once

#include <string>
#include <string_view>

namespace tools {

// Writes `bytes` to `path` through a new temporary file in the same folder that is then renamed
// over the path: a failure leaves any old file as it was, and a symbolic link at the path is
// replaced, never followed. Throws FileFailure naming the path.
void writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tools
