#pragma once

#include <QString>

namespace preview {

// Copies the file's bytes to the destination that the person chose, through a temporary file renamed
// over it: an existing destination is kept until a complete copy replaces it. A symbolic link at the
// destination is followed and its target replaced; a folder, device or FIFO is refused. A new file gets
// the mode the umask allows, a replaced one keeps its mode. Throws std::runtime_error with the reason
// when the source cannot be read or the copy not written.
void CopyFileReplacing(const QString& source, const QString& destination);

}  // namespace preview
