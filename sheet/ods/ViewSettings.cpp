#include "sheet/ods/ViewSettings.h"

namespace sheet::ods {
namespace {

constexpr int TwipsPerPixel = 15;
enum SplitMode { NoSplit = 0, Split = 1, Frozen = 2 };

void configItem(QXmlStreamWriter& xml, const char* name, const char* type, int value)
{
    xml.writeStartElement("config:config-item");
    xml.writeAttribute("config:name", name);
    xml.writeAttribute("config:type", type);
    xml.writeCharacters(QString::number(value));
    xml.writeEndElement();
}

} // namespace

void writeTableViewSettings(QXmlStreamWriter& xml, const biff::SheetSettings& s)
{
    // The active cell is that of the active pane's selection.
    int row = s.topRow, column = s.leftColumn;
    for (const biff::SheetSettings::Selection& selection : s.selections) {
        if (selection.pane == s.activePane) {
            row = selection.row;
            column = selection.column;
        }
    }
    configItem(xml, "CursorPositionX", "int", column);
    configItem(xml, "CursorPositionY", "int", row);
    // A split stands where the window's pixels put it; a frozen one after its columns and rows.
    const int mode = !s.hasFrozenOrSplitPanes() ? NoSplit : s.frozen ? Frozen : Split;
    const auto position = [&](int value) { return mode == Split ? value / TwipsPerPixel : value; };
    configItem(xml, "HorizontalSplitMode", "short", s.paneColumns > 0 ? mode : NoSplit);
    configItem(xml, "VerticalSplitMode", "short", s.paneRows > 0 ? mode : NoSplit);
    configItem(xml, "HorizontalSplitPosition", "int", s.paneColumns > 0 ? position(s.paneColumns) : 0);
    configItem(xml, "VerticalSplitPosition", "int", s.paneRows > 0 ? position(s.paneRows) : 0);
    // LibreOffice numbers the panes top left, top right, bottom left, bottom right; the file bottom
    // right, top right, bottom left, top left.
    constexpr int LibreOfficePane[] = {3, 1, 2, 0};
    configItem(xml, "ActiveSplitRange", "short", LibreOfficePane[s.activePane & 3]);
    configItem(xml, "PositionLeft", "int", s.leftColumn);
    configItem(xml, "PositionRight", "int", s.paneColumns > 0 ? s.paneLeftColumn : 0);
    configItem(xml, "PositionTop", "int", s.topRow);
    configItem(xml, "PositionBottom", "int", s.paneRows > 0 ? s.paneTopRow : 0);
    configItem(xml, "ZoomType", "short", 0);
    configItem(xml, "ZoomValue", "int", s.zoom);
    configItem(xml, "PageViewZoomValue", "int", s.zoom);
}

} // namespace sheet::ods
