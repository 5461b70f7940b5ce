#pragma once

#include "sheet/model/Chart.h"
#include "sheet/zip/ZipReader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sheet::xlsx {

// Reads a DrawingML chart part (c:chartSpace) into the chart model: each chart group's type and grouping,
// the 3-D view, the series with their references (to the sheets named in `sheetNames`) and caches, the
// look of series and points, data labels, axes, legend and title. Scheme colours take the theme's.
model::Chart readChartPart(const zip::ZipReader& package, const std::string& part,
                           const std::vector<std::string>& sheetNames, const std::vector<std::uint32_t>& themeColours);

} // namespace sheet::xlsx
