#include "PointerState.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QWidget>
#include <QtEndian>

#include <stdexcept>

namespace common {

PointerState::PointerState(QWidget& window) : window_(window) {}

void PointerState::set(int value)
{
    value_ = value;
    apply();
}

void PointerState::hover(int value)
{
    if (!busy())
        set(value);
}

void PointerState::setCustomCursor(const QCursor& cursor)
{
    custom_ = cursor;
    apply();
}

void PointerState::apply()
{
    if (value_ == Busy)
        window_.setCursor(Qt::WaitCursor);
    else if (value_ == Custom && custom_)
        window_.setCursor(*custom_);
    else
        window_.unsetCursor();
}

QCursor LoadCursorFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("The cursor file " + path.toStdString() + " cannot be opened");
    const QByteArray bytes = file.readAll();
    // ICONDIR (6 bytes) then the first ICONDIRENTRY; a cursor keeps its hot spot at entry bytes 4..7.
    if (bytes.size() < 22 || qFromLittleEndian<quint16>(bytes.constData() + 2) != 2)
        throw std::runtime_error("The file " + path.toStdString() + " is not a cursor file");
    const int hotX = qFromLittleEndian<quint16>(bytes.constData() + 6 + 4);
    const int hotY = qFromLittleEndian<quint16>(bytes.constData() + 6 + 6);
    QImageReader reader(path, "cur");
    const QImage image = reader.read();
    if (image.isNull())
        throw std::runtime_error("The cursor file " + path.toStdString() + " cannot be read: " +
                                 reader.errorString().toStdString());
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

}  // namespace common
