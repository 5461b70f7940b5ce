#pragma once

#include "Entry.h"

#include <vector>

namespace entries {

// The six entries shown on a first start and by "Load Sample/Example Data".
const std::vector<Entry>& SampleSet();

// The sample set in the stored form, without a separator after the last entry.
QString DefaultEntryListText();

}  // namespace entries
