#pragma once

#include "platform/MessageBoxes.h"

#include <QString>

namespace common {

// A failure's description as a person is shown it: cut to a readable length, with a mark when cut.
QString shownDescription(const QString& description);

// The text of the "Application Error" box, assembled exactly as the support desk expects it,
// with the description as shownDescription() gives it.
QString errorMessage(const QString& description, const QString& location, int line);

// Shows the "Application Error" box for a failure and returns when it was dismissed.
void ReportError(platform::MessageBoxes& boxes, const QString& location, int line, const QString& description);

}  // namespace common
