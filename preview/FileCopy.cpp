#include "FileCopy.h"

#include "sheet/Errors.h"
#include "sheet/io/FileBytes.h"

#include <QFile>

#include <stdexcept>

namespace preview {

void CopyFileReplacing(const QString& source, const QString& destination)
{
    std::vector<std::uint8_t> bytes;
    try {
        bytes = sheet::io::readFileBytes(QFile::encodeName(source).toStdString());
    } catch (const sheet::Error& error) {
        throw std::runtime_error("The file " + source.toStdString() + " cannot be read: " + error.what());
    }
    sheet::io::writeChosenFile(QFile::encodeName(destination).toStdString(), bytes);
}

}  // namespace preview
