#pragma once

#include <QString>

#include <vector>

namespace preview {

// The formats that "Save Results To Excel File" writes. The macro-enabled workbook is offered only for a
// scratch workbook that is one, filled from a template with macros.
enum class ResultFormat { Excel97, Workbook, OpenDocument, MacroWorkbook };

// The format of the scratch workbook at the path, by its extension.
ResultFormat ScratchFormat(const QString& scratch);

// The formats in the order of the save dialog's filters: the scratch workbook's own first, then the
// Excel 97-2003 workbook, .xlsx and .ods.
std::vector<ResultFormat> ResultFormats(ResultFormat scratch);

// The save dialog's filters in the bar form, in the order of ResultFormats.
QString ResultFilter(ResultFormat scratch);

// The format to write for a name chosen under the filter at a place in ResultFilter(scratch): the format
// that the name's extension (.xls, .xlsx, .ods, or .xlsm when offered) names, whatever the filter;
// otherwise the filter's, and the first for any other place.
ResultFormat ChosenResultFormat(const QString& chosen, int filter, ResultFormat scratch);

// The path to write for a chosen name: a name that does not end in the extension of an .xlsx, .xlsm or
// .ods filter gets it, so that the file says what it holds; an .xls name is used as the dialog returns it.
QString ResultPath(const QString& chosen, ResultFormat format);

// Writes the scratch workbook to the path in the format: a byte-for-byte copy in its own format, the
// others converted by the engine, chart included. The old file stays until a complete new one replaces
// it. Throws std::exception with the reason, naming what cannot be converted.
void SaveResult(const QString& scratch, const QString& path, ResultFormat format);

}  // namespace preview
