#pragma once

#include <QFont>
#include <QIcon>
#include <QString>

class QWidget;

// The common module: small routines the windows and the chart build share.
namespace common {

// True exactly when the path's modification time can be read.
bool FileExists(const QString& path);

// The folder of the program file; optional files beside the program are looked up here.
QString ProgramFolder();

// The program's application icon, shown by both windows.
QIcon ApplicationIcon();

// Sets the process-wide title of untitled message boxes from the product's display name.
void SetApplicationTitle();

// Applies the skin file x/o.cjs beside the program to the main window when it is there: the
// window takes the button-face colour and the style sheet. Throws when the file is not UTF-8 text.
void ApplySkinIfPresent(QWidget& mainWindow, const QString& programFolder);

// The windows' typeface: Arial (Liberation Sans on Linux), bold, at the given size in points.
QFont ArialBold(double points);

// Gives the window and its frames and labels the button-face colour of the desktop.
void ApplyFaceColor(QWidget& window);

}  // namespace common
