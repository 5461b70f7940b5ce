#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;

namespace platform {

struct PictureSaveRequest {
    QString title;
    QString startPath;      // the folder the dialog opens in, with a suggested name
    QStringList filters;    // in Qt's "Name (*.ext)" form
    QString chosenFilter;   // the filter selected at first
};

struct PictureSaveAnswer {
    QString path;    // empty on Cancel
    QString filter;  // the filter selected when the dialog closed
};

struct PrintRequest {
    QString documentName;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;  // what the dialog starts with
    int dotsPerInch = 96;  // the printer's resolution, which the painting's fonts are sized for
    // Prints onto the printer as the person set it up; may run more than once for a preview.
    std::function<void(QPrinter&)> paint;
};

// The dialogs that take a picture out of the program: saving it as a file, and printing it.
class PictureDialogs {
public:
    virtual ~PictureDialogs() = default;
    // A modal save dialog that asks before it lets an existing file be replaced.
    virtual PictureSaveAnswer askPicturePath(const PictureSaveRequest& request) = 0;
    // The print dialog, with a print preview where the system has one; paints when the person
    // prints. A failure to paint is thrown once the dialog has closed.
    virtual void print(const PrintRequest& request) = 0;
};

}  // namespace platform
