#include "FileCopy.h"

#include "app/FileRoutines.h"

#include <QFile>

#include <stdexcept>

namespace preview {

void CopyFileReplacing(const QString& source, const QString& destination)
{
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("The file " + source.toStdString() + " cannot be read: " +
                                 file.errorString().toStdString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error("The file " + source.toStdString() + " cannot be read: " +
                                 file.errorString().toStdString());
    app::WriteFileReplacing(bytes, destination);
}

}  // namespace preview
