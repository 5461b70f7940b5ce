#include "PictureExport.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <stdexcept>

namespace preview {

namespace {

using sheet::render::PictureFormat;

constexpr double bitmapScales[] = {1.0, 2.0, 3.0};

QString extensionOf(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png: return QStringLiteral(".png");
    case PictureFormat::Bmp: return QStringLiteral(".bmp");
    case PictureFormat::Svg: return QStringLiteral(".svg");
    case PictureFormat::Pdf: return QStringLiteral(".pdf");
    }
    return {};
}

QString times(double scale) { return QString::number(scale) + QChar(0x00D7); }

}  // namespace

PictureExport::PictureExport(double zoom)
{
    for (double scale : bitmapScales)
        choices_.push_back({QStringLiteral("PNG Image, %1 (*.png)").arg(times(scale)), PictureFormat::Png, scale});
    if (std::find(std::begin(bitmapScales), std::end(bitmapScales), zoom) == std::end(bitmapScales))
        choices_.push_back({QStringLiteral("PNG Image, %1 as zoomed (*.png)").arg(times(zoom)), PictureFormat::Png, zoom});
    choices_.push_back({QStringLiteral("SVG Image (*.svg)"), PictureFormat::Svg, 1.0});
    choices_.push_back({QStringLiteral("PDF Document (*.pdf)"), PictureFormat::Pdf, 1.0});
}

QStringList PictureExport::filters() const
{
    QStringList filters;
    for (const ExportChoice& choice : choices_)
        filters << choice.filter;
    return filters;
}

QString PictureExport::startingFilter(const std::optional<QString>& lastFilter) const
{
    if (lastFilter && filters().contains(*lastFilter))
        return *lastFilter;
    return choices_.at(1).filter;
}

ExportTarget PictureExport::target(const QString& path, const QString& filter) const
{
    const auto chosen = std::find_if(choices_.begin(), choices_.end(),
                                     [&filter](const ExportChoice& choice) { return choice.filter == filter; });
    const ExportChoice& choice = chosen == choices_.end() ? choices_.front() : *chosen;
    const std::optional<PictureFormat> named = sheet::render::pictureFormatOf(QFile::encodeName(path).toStdString());
    if (named && *named != PictureFormat::Bmp)
        return {path, *named, *named == choice.format ? choice.scale : 1.0};
    return {path + extensionOf(choice.format), choice.format, choice.scale};
}

void PictureExport::write(const sheet::render::SheetDrawing& drawing, const ExportTarget& target)
{
    const QByteArray bytes = sheet::render::exportPicture(drawing, target.format, target.scale);
    QSaveFile file(target.path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("The picture could not be written to " + target.path.toStdString() + ": " +
                                 file.errorString().toStdString());
}

}  // namespace preview
