#pragma once

#include <string>
#include <string_view>

namespace tools {

// Writes `bytes` to `path`, a file the person named, through a new temporary file that is then renamed
// over it: a failure leaves any old file as it was. A symbolic link is followed and its target replaced;
// a folder, device or FIFO is refused. Throws FileFailure naming the path.
void writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tools
