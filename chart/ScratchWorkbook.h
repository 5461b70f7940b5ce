#pragma once

#include "platform/Randomness.h"

#include <QString>

namespace chart {

// Eight digits from 1 to 9, each drawn from the system's random source.
QString drawScratchDigits(platform::Randomness& random);

// Creates an empty file at the path for the scratch workbook, exclusively and without following a
// link; false when anything already has that name. Throws std::runtime_error on other failures.
bool claimScratchPath(const QString& path);

// Removes the claimed file when it is still the empty placeholder, that is when no workbook was
// saved over it.
void releaseEmptyPlaceholder(const QString& path);

}  // namespace chart
