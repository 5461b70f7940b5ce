#include "sheet/xlsx/XlsxPackage.h"

namespace sheet::xlsx {

// The package's first cell format (that of cells without one) and the workbook's DefaultCellXf change
// places; a package of fewer formats gets copies of its first up to DefaultCellXf.

std::size_t modelXfCount(std::size_t count)
{
    return std::max<std::size_t>(count, model::DefaultCellXf + 1);
}

int modelXfIndex(int packageIndex, std::size_t count)
{
    if (packageIndex <= 0 || static_cast<std::size_t>(packageIndex) >= count)
        return model::DefaultCellXf;
    if (packageIndex == model::DefaultCellXf)
        return 0;
    return packageIndex;
}

int packageXfIndex(int modelIndex, std::size_t count)
{
    const std::size_t modelCount = modelXfCount(count);
    if (modelIndex < 0)
        return 0;
    if (static_cast<std::size_t>(modelIndex) >= modelCount)
        return static_cast<int>(count + (static_cast<std::size_t>(modelIndex) - modelCount));
    if (modelIndex == model::DefaultCellXf)
        return 0;
    if (modelIndex == 0)
        return count > model::DefaultCellXf ? model::DefaultCellXf : 0;
    return static_cast<std::size_t>(modelIndex) < count ? modelIndex : 0;
}

} // namespace sheet::xlsx
