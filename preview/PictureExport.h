#pragma once

#include "sheet/render/PictureExport.h"
#include "sheet/render/SheetDrawing.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace preview {

// One way of exporting the picture, as the save dialog offers it.
struct ExportChoice {
    QString filter;  // in Qt's "Name (*.ext)" form
    sheet::render::PictureFormat format;
    double scale = 1.0;  // of a bitmap
};

// Where and how one export writes.
struct ExportTarget {
    QString path;
    sheet::render::PictureFormat format;
    double scale = 1.0;
};

// What "Export Picture…" offers and writes: the whole picture at any zoom, as a PNG at 1×, 2× or 3×
// (and at the current zoom when it is none of these), as SVG or as PDF.
class PictureExport {
public:
    explicit PictureExport(double zoom);

    QStringList filters() const;
    // The filter the dialog starts with: the one used last when it is still offered, else PNG at 2×.
    QString startingFilter(const std::optional<QString>& lastFilter) const;

    // The file the dialog's answer names. An extension of a format the export writes decides the
    // format (a PNG named with another filter is drawn at 1×); without one the chosen filter's
    // format is written and its extension added.
    ExportTarget target(const QString& path, const QString& filter) const;

    // Writes the picture through a temporary file renamed over the target, so a failure leaves any
    // old file as it was. Throws sheet::render::RenderError or std::runtime_error.
    static void write(const sheet::render::SheetDrawing& drawing, const ExportTarget& target);

private:
    std::vector<ExportChoice> choices_;
};

}  // namespace preview
