#pragma once

#include <QString>

namespace preview {

// The formats that "Save Results To Excel File" writes, in the order of the save dialog's filters.
enum class ResultFormat { Excel97, Workbook, OpenDocument };

// The save dialog's filters in the bar form: the Excel 97-2003 workbook first, then .xlsx and .ods.
QString ResultFilter();

// The format to write for a name chosen under the filter at a place in ResultFilter(): the format
// that the name's extension (.xls, .xlsx or .ods) names, whatever the filter; otherwise the filter's,
// and the Excel 97-2003 workbook for any other place.
ResultFormat ChosenResultFormat(const QString& chosen, int filter);

// The path to write for a chosen name: a name that does not end in the extension of an .xlsx or .ods
// filter gets it, so that the file says what it holds; an .xls name is used as the dialog returns it.
QString ResultPath(const QString& chosen, ResultFormat format);

// Writes the scratch workbook to the path in the format: the Excel 97-2003 workbook as a byte-for-byte
// copy, the others converted by the engine, chart included. The old file stays until a complete new one
// replaces it. Throws std::exception with the reason, naming the chart that cannot be converted.
void SaveResult(const QString& scratch, const QString& path, ResultFormat format);

}  // namespace preview
