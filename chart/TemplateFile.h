#pragma once

#include <QString>

namespace chart {

// Whether a chart template file is already at the path. Only a regular file of this user counts;
// anything else there (a link, a FIFO, a device, a folder, another user's file) is refused with
// std::runtime_error, and nothing is opened or followed to find out.
bool existingTemplateFile(const QString& path);

}  // namespace chart
