#pragma once

#include "sheet/io/FileBytes.h"

#include <string>
#include <string_view>

namespace tools {

// Writes `bytes` to `path`, a file the person named, through a new temporary file that is then renamed
// over it: a failure leaves any old file as it was. A symbolic link is followed and its target replaced;
// a folder, device or FIFO is refused. Throws FileFailure naming the path.
void writeFileAtomically(const std::string& path, std::string_view bytes);
// The same for content given piece by piece; what the content throws ends the write and is named as
// the path's failure when it is the engine's.
void writeFileAtomically(const std::string& path, const sheet::io::FileContent& content);

}  // namespace tools
