#include "sheet/automation/Application.h"

#include "sheet/automation/InstanceRegistration.h"
#include "sheet/automation/InstanceState.h"

namespace sheet {

Application::Application()
    : state_(std::make_shared<InstanceState>()), registration_(std::make_unique<InstanceRegistration>()),
      workbooks_(state_)
{
}

Application::~Application() = default;

std::optional<std::string> Application::findRunning()
{
    if (InstanceRegistration::anotherProcessRuns())
        return std::string(Name);
    return std::nullopt;
}

std::string Application::Version() const
{
    state_->checkRunning();
    return "16.0";
}

void Application::setDisplayAlerts(bool on)
{
    state_->checkRunning();
    state_->displayAlerts = on;
}

bool Application::DisplayAlerts() const
{
    state_->checkRunning();
    return state_->displayAlerts;
}

Workbooks& Application::workbooks()
{
    state_->checkRunning();
    return workbooks_;
}

void Application::Quit()
{
    state_->checkRunning();
    state_->quit = true;
    workbooks_.closeAll();
    registration_.reset();
}

bool Application::hasQuit() const
{
    return state_->quit;
}

void Application::setPictureSink(std::function<void(const render::SheetDrawing& drawing)> sink)
{
    state_->checkRunning();
    state_->pictureSink = std::move(sink);
}

void Application::setNumberLocale(NumberLocale locale, std::optional<NumberLocale> fallback)
{
    state_->checkRunning();
    state_->locale = std::move(locale);
    state_->fallbackLocale = std::move(fallback);
}

} // namespace sheet
