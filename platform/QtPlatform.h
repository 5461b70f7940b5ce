#pragma once

#include "Platform.h"

#include <QRandomGenerator>
#include <map>
#include <string>

namespace platform {

class QtMessageBoxes final : public MessageBoxes {
public:
    int show(const MessageRequest& request) override;
};

class QtInputBoxes final : public InputBoxes {
public:
    QString ask(const QString& prompt, const QString& title, const QString& defaultText) override;
};

class QtSaveDialog final : public SaveDialog {
public:
    SaveAnswer askSavePath(const QString& title, const QString& filter, const QString& startFolder) override;
};

class QtOpenDialog final : public OpenDialog {
public:
    QString askOpenPath(const QString& title, const QString& filter, const QString& startPath) override;
};

class QtSettingsStore final : public SettingsStore {
public:
    std::optional<QString> read(const QString& key) override;
    void checkLastRead() override;
    void write(const QString& key, const QString& value) override;

private:
    std::string keptAs(const QString& file);
    void writeAfresh(const QString& own, const QString& key, const QString& value);

    std::string problem_;  // what kept the last read from reading the store in full
    std::map<QString, QString> keptCopies_;  // damaged files kept this run, and their copies
};

class QtClipboard final : public Clipboard {
public:
    QImage image() override;
    void setImage(const QImage& image) override;
    sheet::render::SheetDrawing drawing() override;
    void setPicture(const sheet::render::SheetDrawing& drawing) override;
    void offerPicture(const sheet::render::SheetDrawing& drawing, double pixelRatio) override;
    std::unique_ptr<QMimeData> snapshot() override;
    void restore(std::unique_ptr<QMimeData> content) override;
};

class QtPictureDialogs final : public PictureDialogs {
public:
    PictureSaveAnswer askPicturePath(const PictureSaveRequest& request) override;
    void print(const PrintRequest& request) override;
};

class QtLauncher final : public Launcher {
public:
    void openUrl(const QUrl& url) override;
};

class QtRandomness final : public Randomness {
public:
    void seed(std::uint32_t value) override;
    double fraction() override;
    std::uint32_t strong(std::uint32_t bound) override;

private:
    QRandomGenerator plain_;
};

class QtClock final : public Clock {
public:
    int secondsSinceMidnight() override;
};

// The Qt implementations, owned together.
class QtPlatform {
public:
    Platform platform();

private:
    QtMessageBoxes messages_;
    QtInputBoxes inputs_;
    QtSaveDialog saveDialog_;
    QtSettingsStore settings_;
    QtClipboard clipboard_;
    QtLauncher launcher_;
    QtRandomness random_;
    QtClock clock_;
    QtPictureDialogs pictureDialogs_;
    QtOpenDialog openDialog_;
};

// Turns "Name (*.ext)|*.ext|" into Qt's "Name (*.ext)" filter list.
QString qtFilter(const QString& barFilter);

}  // namespace platform
