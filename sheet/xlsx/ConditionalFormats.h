#pragma once

#include "sheet/biff/SheetConditionalFormats.h"
#include "sheet/formula/CellFormulas.h"
#include "sheet/model/Palette.h"
#include "sheet/xlsx/XmlPart.h"

#include <vector>

namespace sheet::xlsx {

// The differential formats (dxf) of the workbook's conditional formats, each distinct look once, for
// the styles part.
class DifferentialStyles {
public:
    int index(const biff::DifferentialFormat& format);
    // <dxfs>, when there are any; after the cell styles.
    void write(XmlPart& xml, const model::Palette& palette) const;

private:
    std::vector<biff::DifferentialFormat> formats_;
};

// <conditionalFormatting> for each conditional format with the rules whose formulas can be written: a
// comparison of the cell's value (cellIs) or a formula (expression), in the order of priority the
// sheet gives them, each with its differential format. A formula that is not a simple one is written
// from its tokens by `formulas`' links (when there are any); a rule whose tokens cannot be written is
// left out. After the merged cells.
void writeConditionalFormats(XmlPart& xml, const std::vector<biff::ConditionalFormat>& formats, DifferentialStyles& styles,
                             int& priority, const formula::SheetFormulas* formulas);

} // namespace sheet::xlsx
