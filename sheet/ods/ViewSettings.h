#pragma once

#include "sheet/biff/SheetSettings.h"

#include <QXmlStreamWriter>

namespace sheet::ods {

// The settings of a table's view that LibreOffice keeps in settings.xml, inside the table's entry:
// frozen or split panes, the first cells each pane shows, the active pane, the cursor and the zoom.
void writeTableViewSettings(QXmlStreamWriter& xml, const biff::SheetSettings& settings);

} // namespace sheet::ods
