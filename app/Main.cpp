#include "Main.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QWidget>

#include <sys/stat.h>

namespace app {

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

}  // namespace app
