#pragma once

#include <QString>

namespace platform {

// The one process-wide title of every message box that has none of its own.
void setApplicationTitle(const QString& title);
QString applicationTitle();

}  // namespace platform
