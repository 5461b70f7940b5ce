#pragma once

#include "platform/MessageBoxes.h"

#include <QString>

namespace common {

// The text of the "Application Error" box, assembled exactly as the support desk expects it.
QString errorMessage(const QString& description, const QString& location, int line);

// Shows the "Application Error" box for a failure and returns when it was dismissed.
void ReportError(platform::MessageBoxes& boxes, const QString& location, int line, const QString& description);

}  // namespace common
