#pragma once

#include "platform/Clipboard.h"
#include "platform/MessageBoxes.h"

#include <QString>
#include <memory>

namespace sheet {
class Application;
class Workbook;
}  // namespace sheet

// The module that drives the spreadsheet engine for the chart build.
namespace chart {

// Asks whether to go on when another process runs the engine; true when the person declined.
bool warnIfExcelRunning(platform::MessageBoxes& boxes);

// True when a live engine instance of another process answers with the engine's name; never fails.
bool isExcelRunning();

// Starts a new instance whose copied pictures go to the clipboard, opens the workbook in it and
// returns the instance.
std::unique_ptr<sheet::Application> openWorkbookInNewExcel(const QString& path, platform::Clipboard& clipboard);

// The file format code for SaveAs, from the version of the instance, or of a temporary instance
// when none is given.
int getSaveFileFormat(sheet::Application* instance);

// 56 (the Excel 97-2003 workbook) for versions above 11, else -4143; the version goes through the
// locale's decimal separator first.
int fileFormatForVersion(const QString& version);

// Copies the used range of the workbook's active sheet as a picture and writes the clipboard's
// picture to the path. Reports its own failures and never fails; the clipboard holds what it held
// before once the picture has been read.
void saveCellsActivesheet(platform::MessageBoxes& boxes, platform::Clipboard& clipboard, sheet::Workbook* workbook,
                          const QString& picturePath);

}  // namespace chart
