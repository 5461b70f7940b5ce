#include "Main.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QWidget>

#include "platform/ApplicationTitle.h"

#include <stdexcept>
#include <sys/stat.h>

namespace common {

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0;
}

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tortelet-%1.png").arg(size), QSize(size, size));
    return icon;
}

void SetApplicationTitle()
{
    QString title = QStringLiteral("Tortelet Studio");
    do {
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        title.truncate(blank < 0 ? 0 : blank);
    } while (title.size() > 40);
    platform::setApplicationTitle(title);
}

namespace {
void paintFace(QWidget& widget, const QColor& face)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, face);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}
}  // namespace

void ApplyFaceColor(QWidget& window)
{
    const QColor face = QApplication::palette().color(QPalette::Button);
    paintFace(window, face);
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (qobject_cast<QGroupBox*>(child) || qobject_cast<QLabel*>(child))
            paintFace(*child, face);
    }
}

QFont ArialBold(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void ApplySkinIfPresent(QWidget& mainWindow, const QString& programFolder)
{
    const QString path = programFolder + QStringLiteral("/x/o.cjs");
    const QFileInfo info(path);
    if (!info.isFile() || info.isHidden())
        return;
    ApplyFaceColor(mainWindow);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("The skin file " + path.toStdString() + " cannot be read");
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString styleSheet = decode(file.readAll());
    if (decode.hasError())
        throw std::runtime_error("The skin file " + path.toStdString() + " is not UTF-8 text");
    mainWindow.setStyleSheet(styleSheet);
}

}  // namespace common
