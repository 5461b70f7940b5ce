#pragma once

#include "sheet/biff/SheetSettings.h"
#include "sheet/model/Workbook.h"

#include <QString>
#include <QXmlStreamWriter>

#include <vector>

namespace sheet::ods {

// How each sheet is printed, as an OpenDocument page: the page layout "pm" + N (paper, orientation,
// margins, scale or fitting to pages, centring, what is printed, the first page number, the order of
// the pages) and the master page "Page" + N with the header and footer, their fields (page number,
// page count, sheet name, date, time, file name) in their left, centre and right regions. N counts the
// sheets from 1. The header's and footer's fonts and styles are not kept: their text is.
class PageStyles {
public:
    explicit PageStyles(const model::Workbook& workbook);

    static QString masterPage(std::size_t sheet) { return QStringLiteral("Page") + QString::number(sheet + 1); }

    // The page layouts, for the styles part's automatic styles.
    void writeLayouts(QXmlStreamWriter& xml) const;
    // The master pages, for the styles part's master styles.
    void writeMasterPages(QXmlStreamWriter& xml) const;

private:
    std::vector<biff::SheetSettings> sheets_;
};

} // namespace sheet::ods
