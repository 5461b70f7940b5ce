#pragma once

#include "sheet/automation/Workbooks.h"
#include "sheet/input/NumberLocale.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QImage;

namespace sheet::render {
struct SheetDrawing;
}

namespace sheet {

class InstanceState;
class InstanceRegistration;

// An invisible in-process instance of the spreadsheet engine. While it lives (until Quit) it is
// registered for the user, so that other processes can find it.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The engine's name when a live instance of another process is registered, else nothing.
    static std::optional<std::string> findRunning();
    static constexpr const char* Name = "Tortelet Sheet";

    std::string Version() const;
    void setDisplayAlerts(bool on);
    bool DisplayAlerts() const;
    Workbooks& workbooks();
    void Quit();
    bool hasQuit() const;

    // Where Range::CopyPicture puts its drawing; by default the system clipboard takes a bitmap.
    void setPictureSink(std::function<void(const render::SheetDrawing& drawing)> sink);
    // How numbers typed into cells are read: by default in the user's locale; a text that the locale
    // does not read as a number is tried in the fallback, such as the locale a list was typed in.
    void setNumberLocale(NumberLocale locale, std::optional<NumberLocale> fallback = std::nullopt);

private:
    std::shared_ptr<InstanceState> state_;
    std::unique_ptr<InstanceRegistration> registration_;
    Workbooks workbooks_;
};

} // namespace sheet
