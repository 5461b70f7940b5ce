#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/ods/ChartObject.h"

#include <QXmlStreamWriter>

#include <string>
#include <vector>

namespace sheet::ods {

// A chart sheet as an OpenDocument table of its own: one empty cell under a frame that holds the
// sheet's chart as a chart object, at the chart's own size (or the usual size of a chart sheet's
// chart, when it does not say) from the table's top-left corner.
class ChartSheetTable {
public:
    // `charts` counts the charts of the workbook written so far; the sheet's is added.
    ChartSheetTable(const model::Workbook& workbook, const SheetNames& names, int sheetIndex, int& charts);

    void write(QXmlStreamWriter& xml) const;
    const ChartObject& chartObject() const { return object_; }

private:
    std::string name_;
    std::size_t index_;
    double width_;
    double height_;
    ChartObject object_;
};

} // namespace sheet::ods
