#include "sheet/xlsx/SheetSettingsXml.h"

#include "sheet/model/A1Notation.h"

#include <array>
#include <cstdio>

namespace sheet::xlsx {
namespace {

constexpr std::array<const char*, 4> PaneNames = {"bottomRight", "topRight", "bottomLeft", "topLeft"};

std::string hashText(int hash)
{
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%04X", static_cast<unsigned>(hash & 0xFFFF));
    return text.data();
}

std::string rangeList(const std::vector<model::CellRange>& ranges)
{
    std::string list;
    for (const model::CellRange& range : ranges)
        list += (list.empty() ? "" : " ") + model::rangeAddress(range);
    return list;
}

// The panes that a frozen or split window has: a split of columns only has no lower panes, a split
// of rows only no right ones.
bool paneExists(const biff::SheetSettings& s, int pane)
{
    if (pane == 3)
        return true;
    const bool right = pane == 0 || pane == 1;
    const bool lower = pane == 0 || pane == 2;
    return (!right || s.paneColumns > 0) && (!lower || s.paneRows > 0);
}

void writePane(XmlPart& xml, const biff::SheetSettings& s)
{
    xml.empty("pane");
    if (s.paneColumns > 0)
        xml.attribute("xSplit", s.paneColumns);
    if (s.paneRows > 0)
        xml.attribute("ySplit", s.paneRows);
    xml.attribute("topLeftCell", model::cellAddress(s.paneTopRow, s.paneLeftColumn));
    if (paneExists(s, s.activePane))
        xml.attribute("activePane", PaneNames[static_cast<std::size_t>(s.activePane)]);
    xml.attribute("state", s.frozen ? "frozen" : "split");
}

} // namespace

void writeSheetProperties(XmlPart& xml, const biff::SheetSettings& settings)
{
    if (!settings.fitToPage)
        return;
    xml.start("sheetPr");
    xml.empty("pageSetUpPr");
    xml.attribute("fitToPage", 1);
    xml.end();
}

void writeSheetView(XmlPart& xml, const biff::SheetSettings& s, bool active)
{
    xml.start("sheetViews");
    const bool panes = s.hasFrozenOrSplitPanes();
    const bool selections = !s.selections.empty();
    if (panes || selections)
        xml.start("sheetView");
    else
        xml.empty("sheetView");
    if (s.showFormulas)
        xml.attribute("showFormulas", 1);
    if (!s.showGridlines)
        xml.attribute("showGridLines", 0);
    if (!s.showHeadings)
        xml.attribute("showRowColHeaders", 0);
    if (!s.showZeros)
        xml.attribute("showZeros", 0);
    if (s.rightToLeft)
        xml.attribute("rightToLeft", 1);
    if (active)
        xml.attribute("tabSelected", 1);
    if (!s.showOutline)
        xml.attribute("showOutlineSymbols", 0);
    if (s.pageBreakPreview)
        xml.attribute("view", "pageBreakPreview");
    if (s.topRow > 0 || s.leftColumn > 0)
        xml.attribute("topLeftCell", model::cellAddress(s.topRow, s.leftColumn));
    if (s.zoom != 100)
        xml.attribute("zoomScale", s.zoom);
    xml.attribute("workbookViewId", 0);
    if (panes)
        writePane(xml, s);
    for (const biff::SheetSettings::Selection& selection : s.selections) {
        if (panes ? !paneExists(s, selection.pane) : selection.pane != 3)
            continue;
        xml.empty("selection");
        if (selection.pane != 3)
            xml.attribute("pane", PaneNames[static_cast<std::size_t>(selection.pane)]);
        xml.attribute("activeCell", model::cellAddress(selection.row, selection.column));
        xml.attribute("sqref", selection.ranges.empty() ? model::cellAddress(selection.row, selection.column)
                                                        : rangeList(selection.ranges));
    }
    if (panes || selections)
        xml.end();
    xml.end();
}

void writeSheetProtection(XmlPart& xml, const biff::SheetSettings& s)
{
    if (!s.protectedContents && !s.protectedObjects && !s.protectedScenarios)
        return;
    xml.empty("sheetProtection");
    if (s.passwordHash != 0)
        xml.attribute("password", hashText(s.passwordHash));
    if (s.protectedContents)
        xml.attribute("sheet", 1);
    if (s.protectedObjects)
        xml.attribute("objects", 1);
    if (s.protectedScenarios)
        xml.attribute("scenarios", 1);
}

void writePageSetup(XmlPart& xml, const biff::SheetSettings& s)
{
    if (s.centreHorizontally || s.centreVertically || s.printHeadings || s.printGridlines) {
        xml.empty("printOptions");
        if (s.centreHorizontally)
            xml.attribute("horizontalCentered", 1);
        if (s.centreVertically)
            xml.attribute("verticalCentered", 1);
        if (s.printHeadings)
            xml.attribute("headings", 1);
        if (s.printGridlines)
            xml.attribute("gridLines", 1);
    }
    xml.empty("pageMargins");
    xml.attribute("left", s.leftMargin);
    xml.attribute("right", s.rightMargin);
    xml.attribute("top", s.topMargin);
    xml.attribute("bottom", s.bottomMargin);
    xml.attribute("header", s.headerMargin);
    xml.attribute("footer", s.footerMargin);
    if (s.hasSetup) {
        xml.empty("pageSetup");
        if (s.paperSize > 0)
            xml.attribute("paperSize", s.paperSize);
        xml.attribute("scale", s.scale);
        if (s.usesFirstPageNumber)
            xml.attribute("firstPageNumber", s.firstPageNumber);
        xml.attribute("fitToWidth", s.fitWidth);
        xml.attribute("fitToHeight", s.fitHeight);
        if (!s.downThenOver)
            xml.attribute("pageOrder", "overThenDown");
        xml.attribute("orientation", s.landscape ? "landscape" : "portrait");
        if (s.blackAndWhite)
            xml.attribute("blackAndWhite", 1);
        if (s.draft)
            xml.attribute("draft", 1);
        if (s.usesFirstPageNumber)
            xml.attribute("useFirstPageNumber", 1);
        if (s.copies > 1)
            xml.attribute("copies", s.copies);
    }
    if (!s.header.empty() || !s.footer.empty()) {
        xml.start("headerFooter");
        if (!s.header.empty())
            xml.text("oddHeader", s.header);
        if (!s.footer.empty())
            xml.text("oddFooter", s.footer);
        xml.end();
    }
}

void writeWorkbookProtection(XmlPart& xml, const biff::WorkbookProtection& protection)
{
    if (!protection.structure && !protection.windows)
        return;
    xml.empty("workbookProtection");
    if (protection.passwordHash != 0)
        xml.attribute("workbookPassword", hashText(protection.passwordHash));
    if (protection.structure)
        xml.attribute("lockStructure", 1);
    if (protection.windows)
        xml.attribute("lockWindows", 1);
}

} // namespace sheet::xlsx
