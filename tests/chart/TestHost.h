#pragma once

#include "chart/BuildHost.h"
#include "common/PointerState.h"
#include "platform/Platform.h"
#include "preview/Form2.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace testing_support {

// The main window's side of a build: a plain window with its pointer, the entry rows, and the real
// preview window, loaded the first time the build reaches it.
class TestHost final : public chart::BuildHost {
public:
    explicit TestHost(platform::Platform platform) : platform_(platform) { mainWindow.show(); }

    QWidget mainWindow;
    common::PointerState pointerState{mainWindow};
    std::vector<std::pair<QString, QString>> entries;
    QString typedIn;  // the locale the amounts were typed in
    std::vector<int> pointerWhileReading;  // the pointer each time the rows are counted
    std::vector<platform::Picture> delivered;
    std::function<void()> whileReading;  // runs each time the rows are counted
    std::function<void()> whileShowing;  // runs when the preview is shown
    int previewLoads = 0;

    preview::Form2* previewWindow() const { return preview_.get(); }

    common::PointerState& pointer() override { return pointerState; }
    int entryCount() override
    {
        pointerWhileReading.push_back(pointerState.value());
        if (whileReading)
            whileReading();
        return static_cast<int>(entries.size());
    }
    QString entryLabel(int position) override { return entries.at(static_cast<size_t>(position - 1)).first; }
    QString entryAmount(int position) override { return entries.at(static_cast<size_t>(position - 1)).second; }
    QString amountLocale() override { return typedIn; }
    void deliverPicture(const platform::Picture& picture) override
    {
        delivered.push_back(picture);
        window().setPicture(picture);
    }
    void setPreviewWorkbook(const QString& path) override { window().setScratchWorkbook(path); }
    void showPreview() override
    {
        window().show();
        if (whileShowing)
            whileShowing();
    }
    void hideMainWindow() override { mainWindow.hide(); }

private:
    preview::Form2& window()
    {
        if (!preview_) {
            ++previewLoads;
            preview_ = std::make_unique<preview::Form2>(platform_, [this] { mainWindow.show(); }, [] {});
        }
        return *preview_;
    }

    platform::Platform platform_;
    std::unique_ptr<preview::Form2> preview_;
};

}  // namespace testing_support
