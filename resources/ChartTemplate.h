#pragma once

#include <QByteArray>

namespace resources {

// The built-in chart template workbook (Excel 97-2003 template), byte for byte as embedded.
// Throws std::runtime_error when the program was built without it.
QByteArray chartTemplate();

}  // namespace resources
