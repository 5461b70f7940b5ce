#pragma once

#include <QImage>
#include <QString>

namespace chart {

// Writes the picture as a bitmap file through a temporary file that replaces the path.
// Throws std::runtime_error when there is no picture or it cannot be written.
void SavePictureFile(const QImage& picture, const QString& path);

// Reads a picture file, recognising its format by its content. Only a plain file of this user is
// read, never one reached through a symbolic link. Throws std::runtime_error on failure.
QImage LoadPictureFile(const QString& path);

}  // namespace chart
