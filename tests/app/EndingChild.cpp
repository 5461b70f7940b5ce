// The main window in a process of its own, for the ways the system ends a run: it builds the chart,
// edits the list afterwards, prints "ready" and the scratch workbook's path, and waits to be ended.

#include "app/Form1.h"
#include "app/SignalEnding.h"
#include "platform/QtPlatform.h"
#include "support/Controls.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QPushButton>
#include <cstdio>

namespace {

// Every box goes to standard error, so that nothing waits for a click.
class PrintedBoxes final : public platform::MessageBoxes {
public:
    int show(const platform::MessageRequest& request) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(request.text));
        return request.defaultButton;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    PrintedBoxes boxes;
    testing_support::ScriptedPlatform scripted;
    platform::QtSettingsStore settings;
    platform::QtRandomness random;
    const platform::Platform platform{boxes,          scripted.inputs,
                                      scripted.saveDialog, settings, scripted.clipboard, scripted.launcher, random,
                                      scripted.clock, scripted.pictureDialogs, scripted.openDialog};
    app::Form1 form(platform, [] { QCoreApplication::quit(); });
    const app::SignalEnding ending([&form] { form.endRun(); });
    form.show();
    testing_support::control<QPushButton>(form, "PushButton1")->click();
    form.list().AppendEntry(QStringLiteral("Edited"), QStringLiteral("42"));
    std::printf("ready %s\n", form.previewWindow() ? qPrintable(form.previewWindow()->scratchWorkbook()) : "");
    std::fflush(stdout);
    return application.exec();
}
