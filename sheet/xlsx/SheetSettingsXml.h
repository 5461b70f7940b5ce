#pragma once

#include "sheet/biff/SheetSettings.h"
#include "sheet/xlsx/XmlPart.h"

namespace sheet::xlsx {

// The pieces of a worksheet part that say how the sheet is shown, printed and protected, each written
// where the part's order puts it.

// <sheetPr>, when the sheet fits its printout to pages; before the dimension.
void writeSheetProperties(XmlPart& xml, const biff::SheetSettings& settings);
// <sheetViews>: gridlines, headings, zeros, direction, zoom, the first cell shown, frozen or split
// panes and the selection of each pane.
void writeSheetView(XmlPart& xml, const biff::SheetSettings& settings, bool active);
// <sheetProtection>, when the sheet is protected; after the cells.
void writeSheetProtection(XmlPart& xml, const biff::SheetSettings& settings);
// <printOptions>, <pageMargins>, <pageSetup> and <headerFooter>; after the merged cells and before the drawing.
void writePageSetup(XmlPart& xml, const biff::SheetSettings& settings);
// <workbookProtection>, when the workbook's structure or windows are protected; before its views.
void writeWorkbookProtection(XmlPart& xml, const biff::WorkbookProtection& protection);

} // namespace sheet::xlsx
