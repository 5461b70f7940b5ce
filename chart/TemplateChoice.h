#pragma once

#include <QString>

#include <optional>

namespace chart {

// The settings key that keeps the person's own chart template: the file's full path. Empty, or never
// written, while the program's own template is used.
inline constexpr const char* kOwnTemplateKey = "Chart Template";

// The kinds of workbook a template can be, known by the extension of its name.
enum class WorkbookKind { Excel97, OfficeOpenXml, OfficeOpenXmlWithMacros, OpenDocument };

// The kind that a file's name says (.xlt and .xls; .xltx and .xlsx; .xltm and .xlsm; .ots, .ods and
// .fods), or nothing for a name that no template can have.
std::optional<WorkbookKind> TemplateKind(const QString& path);

// The name the template takes in the temporary folder: "Pie Chart" and the template's own extension in
// lower case; "Pie Chart.xlt", the program's own, when no template of the person's is chosen.
QString TemplateFileName(const QString& ownTemplate);

// The extension of the scratch workbook that a template of the kind gives: ".xls", ".xlsx", ".xlsm" or ".ods".
QString ScratchExtension(WorkbookKind kind);

// The SaveAs file format code that keeps a workbook of the kind: 56 (Excel 97-2003), 51 (.xlsx),
// 52 (.xlsm, macros kept) or 60 (.ods).
int SaveFormatCode(WorkbookKind kind);

// The open dialog's filter for choosing a template, every kind the engine reads first.
QString TemplateFilter();

// Reads the workbook at the path as the build will, so that a template that cannot serve is refused when
// it is chosen: throws std::exception with the reason for a name of no known kind or a file the engine
// cannot read or fill.
void CheckTemplate(const QString& path);

}  // namespace chart
