#pragma once

#include "platform/Platform.h"
#include "sheet/render/RangePicture.h"

#include <QMimeData>
#include <QPrinter>
#include <QStringList>
#include <deque>
#include <map>
#include <stdexcept>
#include <vector>

namespace testing_support {

// Records every box and answers from a script; an unscripted box answers its default button.
class ScriptedMessageBoxes final : public platform::MessageBoxes {
public:
    std::vector<platform::MessageRequest> shown;
    std::deque<int> answers;

    int show(const platform::MessageRequest& request) override
    {
        shown.push_back(request);
        if (answers.empty())
            return request.defaultButton;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class ScriptedInputBoxes final : public platform::InputBoxes {
public:
    struct Asked {
        QString prompt, title, defaultText;
    };
    std::vector<Asked> asked;
    std::deque<QString> answers;  // an exhausted script answers as Cancel does

    QString ask(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        asked.push_back({prompt, title, defaultText});
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class ScriptedSaveDialog final : public platform::SaveDialog {
public:
    QStringList titles, filters, startFolders;
    std::deque<QString> answers;
    std::deque<int> chosenFilters; // the filter of each answer; the first when none is scripted

    platform::SaveAnswer askSavePath(const QString& title, const QString& filter, const QString& startFolder) override
    {
        titles << title;
        filters << filter;
        startFolders << startFolder;
        platform::SaveAnswer answer;
        if (!chosenFilters.empty()) {
            answer.filter = chosenFilters.front();
            chosenFilters.pop_front();
        }
        if (!answers.empty()) {
            answer.path = answers.front();
            answers.pop_front();
        }
        return answer;
    }
};

class MemorySettingsStore final : public platform::SettingsStore {
public:
    std::map<QString, QString> values;
    int writes = 0;
    bool failWrites = false;
    bool unreadable = false;

    std::optional<QString> read(const QString& key) override
    {
        const auto found = values.find(key);
        if (found == values.end())
            return std::nullopt;
        return found->second;
    }
    void checkLastRead() override
    {
        if (unreadable)
            throw std::runtime_error("The settings store cannot be read");
    }
    void write(const QString& key, const QString& value) override
    {
        ++writes;
        if (failWrites)
            throw std::runtime_error("The settings store refused the write");
        values[key] = value;
    }
};

class MemoryClipboard final : public platform::Clipboard {
public:
    QImage picture;
    sheet::render::SheetDrawing recorded;
    std::unique_ptr<QMimeData> other;
    int reads = 0;

    QImage image() override
    {
        ++reads;
        return picture;
    }
    void setImage(const QImage& image) override
    {
        picture = image;
        recorded = {};
        other.reset();
    }
    sheet::render::SheetDrawing drawing() override { return recorded; }
    void setPicture(const sheet::render::SheetDrawing& drawing) override
    {
        setImage(sheet::render::previewBitmap(drawing));
        recorded = drawing;
    }
    // What Copy Picture offered last, and at which pixel ratio.
    sheet::render::SheetDrawing offered;
    double offeredRatio = 0;
    void offerPicture(const sheet::render::SheetDrawing& drawing, double pixelRatio) override
    {
        setImage(sheet::render::rasterize(drawing, pixelRatio));
        offered = drawing;
        offeredRatio = pixelRatio;
    }
    std::unique_ptr<QMimeData> snapshot() override
    {
        auto copy = std::make_unique<QMimeData>();
        if (!picture.isNull())
            copy->setImageData(picture);
        if (other)
            for (const QString& format : other->formats())
                copy->setData(format, other->data(format));
        if (copy->formats().isEmpty())
            return nullptr;
        return copy;
    }
    void restore(std::unique_ptr<QMimeData> content) override
    {
        picture = content && content->hasImage() ? qvariant_cast<QImage>(content->imageData()) : QImage();
        recorded = {};
        other = std::move(content);
    }
};

class RecordingLauncher final : public platform::Launcher {
public:
    std::vector<QUrl> opened;
    void openUrl(const QUrl& url) override { opened.push_back(url); }
};

class ScriptedRandomness final : public platform::Randomness {
public:
    std::vector<std::uint32_t> seeds;
    std::deque<double> fractions;  // exhausted: 0.5
    std::deque<std::uint32_t> strongs;  // exhausted: counts up

    void seed(std::uint32_t value) override { seeds.push_back(value); }
    double fraction() override
    {
        if (fractions.empty())
            return 0.5;
        const double value = fractions.front();
        fractions.pop_front();
        return value;
    }
    std::uint32_t strong(std::uint32_t bound) override
    {
        if (strongs.empty())
            return counter_++ % bound;
        const std::uint32_t value = strongs.front();
        strongs.pop_front();
        return value % bound;
    }

private:
    std::uint32_t counter_ = 0;
};

class FixedClock final : public platform::Clock {
public:
    int seconds = 3600;
    int secondsSinceMidnight() override { return seconds; }
};

// Answers the picture's save dialog from a script (an exhausted one cancels); prints to a PDF file
// when one is named, at the high resolution a chosen printer may bring, as the system's dialog does
// with "Print to File"; or else cancels.
class ScriptedPictureDialogs final : public platform::PictureDialogs {
public:
    std::vector<platform::PictureSaveRequest> saveRequests;
    std::deque<platform::PictureSaveAnswer> answers;
    std::vector<QString> printed;  // the document names of the print requests
    std::vector<QPageLayout::Orientation> orientations;
    QString printFile;

    platform::PictureSaveAnswer askPicturePath(const platform::PictureSaveRequest& request) override
    {
        saveRequests.push_back(request);
        if (answers.empty())
            return {};
        platform::PictureSaveAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void print(const platform::PrintRequest& request) override
    {
        printed.push_back(request.documentName);
        orientations.push_back(request.orientation);
        if (printFile.isEmpty())
            return;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile);
        printer.setPageOrientation(request.orientation);
        request.paint(printer);
    }
};

class ScriptedOpenDialog final : public platform::OpenDialog {
public:
    QStringList titles, filters, startPaths;
    std::deque<QString> answers; // Cancel when none is left

    QString askOpenPath(const QString& title, const QString& filter, const QString& startPath) override
    {
        titles << title;
        filters << filter;
        startPaths << startPath;
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A whole scripted platform, as one object for a test fixture.
struct ScriptedPlatform {
    ScriptedMessageBoxes messages;
    ScriptedInputBoxes inputs;
    ScriptedSaveDialog saveDialog;
    MemorySettingsStore settings;
    MemoryClipboard clipboard;
    RecordingLauncher launcher;
    ScriptedRandomness random;
    FixedClock clock;
    ScriptedPictureDialogs pictureDialogs;
    ScriptedOpenDialog openDialog;

    platform::Platform platform()
    {
        return platform::Platform{messages, inputs, saveDialog, settings, clipboard, launcher, random, clock,
                                  pictureDialogs, openDialog};
    }
};

}  // namespace testing_support
