#include "SettingsRescue.h"

#include "SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

#include <stdexcept>

namespace platform {

QString settingsText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

QString keepUnreadableFile(const QString& path, const QDateTime& when)
{
    const QFileInfo file(path);
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    QString kept;
    for (int copy = 1; kept.isEmpty() || QFileInfo::exists(kept); ++copy) {
        const QString number = copy == 1 ? QString() : QStringLiteral(" %1").arg(copy);
        kept = file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(" (unreadable ") + stamp +
               number + QStringLiteral(").") + file.suffix();
    }
    if (QFile::copy(path, kept) || QFile::rename(path, kept))
        return kept;
    throw std::runtime_error("The settings file " + path.toStdString() + " could not be kept as " + kept.toStdString());
}

std::optional<QString> valueFromOwnLine(const QString& path, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMostSettingsBytes)
        return std::nullopt;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(kMostSettingsBytes).trimmed();
        const qsizetype equals = line.indexOf('=');
        if (equals < 0 || line.left(equals).trimmed() != key.toUtf8())
            continue;
        // QSettings reads the line alone, so the value is unescaped exactly as it would have been.
        QTemporaryFile alone;
        if (!alone.open())
            return std::nullopt;
        alone.write("[General]\n" + line + "\n");
        alone.close();
        QSettings reading(alone.fileName(), QSettings::IniFormat);
        if (reading.contains(key))
            return settingsText(reading.value(key));
    }
    return std::nullopt;
}

}  // namespace platform
