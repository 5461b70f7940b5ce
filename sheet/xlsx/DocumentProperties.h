#pragma once

#include <string>

namespace sheet::xlsx {

// The package's document properties: the core part (docProps/core.xml), which holds no date or
// person, so that the same workbook always gives the same bytes, and the extended part
// (docProps/app.xml) naming the program that wrote it.
std::string corePropertiesPart();
std::string extendedPropertiesPart();

} // namespace sheet::xlsx
