#pragma once

#include "sheet/model/Chart.h"

#include <string>
#include <vector>

namespace sheet::zip {
class ZipReader;
}

namespace sheet::ods {

// Reads the chart object in `folder` of the package ("Object 1") into the chart model: its type, the
// series with the cells their names, values and categories come from (sheet names found in `sheetNames`),
// the look of the series and of each point (fills, explosion, data labels), the title, the legend, the
// 3-D view and the values and categories the object's own table keeps. A chart of a type the model does
// not know has the type Other.
model::Chart readChartObject(const zip::ZipReader& package, const std::string& folder,
                             const std::vector<std::string>& sheetNames);

} // namespace sheet::ods
