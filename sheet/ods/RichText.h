#pragma once

#include "sheet/model/Workbook.h"

#include <QXmlStreamWriter>

namespace sheet::ods {

// Whether a cell shows a text with formatting runs of its own.
bool isRichText(const model::Workbook& workbook, const model::Cell& cell);

// The text styles of the runs, "T" + the font's index, one for each font of the workbook when any
// text has runs; for the content's automatic styles.
void writeRunStyles(QXmlStreamWriter& xml, const model::Workbook& workbook);

// A text with formatting runs as paragraphs, one a line, each run a span in its font's text style;
// the text before the first run in the cell's own style.
void writeRichParagraphs(QXmlStreamWriter& xml, const model::Workbook& workbook, const model::SharedString& string);

} // namespace sheet::ods
