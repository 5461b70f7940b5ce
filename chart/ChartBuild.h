#pragma once

#include "BuildHost.h"
#include "TemplateChoice.h"

#include "sheet/input/NumberLocale.h"

#include "platform/Platform.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>

namespace common {
class Handler;
}

namespace sheet {
class Application;
class Workbook;
}  // namespace sheet

namespace chart {

// "Start Creating Template": turns the entry list into a scratch workbook filled from the chart
// template and a picture of its sheet, hands both to the preview window and stores the list. Every
// numbered statement that fails is reported and the build goes on with the next one.
class ChartBuild {
public:
    ChartBuild(platform::Platform platform, BuildHost& host);
    ~ChartBuild();
    ChartBuild(const ChartBuild&) = delete;
    ChartBuild& operator=(const ChartBuild&) = delete;

    // Runs one build; does nothing while a build is already running.
    void run();
    bool running() const { return running_; }

    // The program is ending during a build: at its next chance the build quits its instances,
    // removes its scratch files, the scratch workbook included, and returns.
    void stopForExit() { stopping_ = true; }

    // The number format of every amount cell.
    static const char* const AmountFormat;

private:
    void steps();
    std::optional<sheet::NumberLocale> typedInLocale();
    std::optional<QByteArray> ownTemplateBytes();
    WorkbookKind templateKind() const;
    bool templateInPlace();
    // Where the template is opened from: the temporary folder's, or the private copy of the built-in one.
    QString templatePath() const;
    void writeTemplate(const QByteArray& bytes) const;
    void reportTemplateRefusal();
    void openTemplate(const QByteArray& builtIn);
    void useBuiltInTemplate(const std::string& reason, const QByteArray& builtIn);
    void drawScratchPath(common::Handler& h);
    void saveScratchWorkbook();
    void leaveNothingBehind();

    platform::Platform platform_;
    BuildHost& host_;
    bool running_ = false;
    bool stopping_ = false;

    std::unique_ptr<sheet::Application> first_;
    sheet::Workbook* filled_ = nullptr;
    std::unique_ptr<sheet::Application> second_;
    sheet::Workbook* reopened_ = nullptr;
    QString scratchPath_;
    // The person's own template that this build fills; empty for the program's own.
    QString ownTemplate_;
    // Why the file with the template's name was not used, when it was not.
    std::optional<std::string> templateRefusal_;
    // The refusal already reported in this run.
    std::optional<std::string> reportedRefusal_;
};

}  // namespace chart
