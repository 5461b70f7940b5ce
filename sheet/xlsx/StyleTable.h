#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/xlsx/ConditionalFormats.h"

#include <map>
#include <string>
#include <vector>

namespace sheet::xlsx {

// The workbook's cell formats as the styles part of a package. Every XF keeps its index (so a cell's
// style is its XF), and its font, fill, border, number format and alignment come along; the fills and
// borders are shared among the XFs that have the same ones.
class StyleTable {
public:
    explicit StyleTable(const model::Workbook& workbook);

    // The style of a cell or column with the XF `xf`; 0, the Normal style, for an XF that does not exist.
    int style(int xf) const;
    // The styles part (xl/styles.xml), with the differential formats of the conditional formats.
    std::string part(const DifferentialStyles& differential) const;

private:
    struct CellStyle {
        int numberFormat = 0;
        int font = 0;
        int fill = 0;
        int border = 0;
        const model::Xf* xf = nullptr;
    };

    int numberFormatId(int formatIndex);
    int fillId(const model::Xf& xf);
    int borderId(const model::Xf& xf);

    const model::Workbook& workbook_;
    std::vector<CellStyle> styles_;
    std::map<int, int> numberFormatIds_;       // the workbook's format index -> the package's id
    std::map<int, std::string> customFormats_; // id -> code, for the formats the part lists
    std::vector<std::string> fills_;           // keys of the distinct fills, in order
    std::vector<std::string> borders_;
    int nextCustomFormat_;
};

} // namespace sheet::xlsx
