#include "Form1.h"
#include "LiveRun.h"
#include "SignalEnding.h"

#include "platform/QtPlatform.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const app::LiveRun run;
    platform::QtPlatform system;
    app::Form1 form(system.platform(), [] { QCoreApplication::quit(); });
    const app::SignalEnding ending([&form] { form.endRun(); });
    form.show();
    return application.exec();
}
