#pragma once

#include "platform/Clipboard.h"
#include "platform/Picture.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The common module's file and clipboard routines. All paths are full paths.
namespace common {

// Writes the bytes to the path unless a file of that name already exists, which is then left as it
// is. Pending window events run once first. The bytes go to a temporary file in the same folder that
// is then moved into place without replacing anything, so a failed write never leaves a half file and
// nothing is ever written through a link planted at the path. Throws std::runtime_error on failure.
void WriteFileIfMissing(const QByteArray& data, const QString& path);

// Writes the bytes to a temporary file in the path's folder and renames it over the path: the
// destination is either left as it was or replaced by the complete file, and a symbolic link at the
// path is replaced, never followed. Throws std::runtime_error on failure.
void WriteFileReplacing(const QByteArray& data, const QString& path);

// Deletes the file whatever its permissions; never fails and reports nothing. Pending window events
// run once first.
void DeleteFileForced(const QString& path);

// The forced deletion: makes the file writable and removes it. Throws std::runtime_error on failure.
void DeleteFileViaScripting(const QString& path);

// The picture on the clipboard, read with up to 1000 attempts in a row; a null picture when none
// came. Format 0 takes whichever picture the clipboard holds, the recorded drawing before the
// bitmap; format 14 (enhanced metafile) takes only the drawing, and the bitmap formats 2 (bitmap),
// 8 (device independent bitmap) and 17 (its version 5) only the bitmap; any other format never
// gives one.
platform::Picture GetClipboardPicture(platform::Clipboard& clipboard, int format);

// toPoint: every locale decimal separator becomes ".". Otherwise every "." and then every ","
// becomes the locale's decimal separator.
QString ConvertDecimalSeparator(const QString& text, bool toPoint);

// The user's decimal separator: the second character of one half written in the user's locale.
QString LocaleDecimalSeparator();

}  // namespace common
