#pragma once

#include <QString>

namespace preview {

// Copies the file's bytes to the destination through a temporary file in the destination's folder
// that is renamed over it: an existing destination is kept until a complete copy replaces it.
// Throws std::runtime_error with the reason when the source cannot be read or the copy not written.
void CopyFileReplacing(const QString& source, const QString& destination);

}  // namespace preview
