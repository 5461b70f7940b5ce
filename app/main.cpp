#include "EndingBoxes.h"
#include "Form1.h"
#include "SignalEnding.h"

#include "chart/TemplateChoice.h"
#include "common/CommandLine.h"
#include "common/DataFolder.h"
#include "common/LiveRun.h"
#include "common/SingleRun.h"
#include "platform/QtPlatform.h"
#include "platform/SettingsFile.h"

#include <QApplication>
#include <QFileInfo>

#include <iostream>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromLocal8Bit(argv[index]);
    if (const std::optional<int> answered = common::AnswerCommandLine(arguments, std::cout, std::cerr))
        return *answered;

    QApplication application(argc, argv);
    // --template chooses the template as the menu does, for this start and a copy that already runs.
    if (const std::optional<QString> chosen = common::TemplateOption(arguments)) {
        try {
            chart::CheckTemplate(*chosen);
            platform::QtSettingsStore().write(QString::fromLatin1(chart::kOwnTemplateKey), QFileInfo(*chosen).absoluteFilePath());
        } catch (const std::exception& refusal) {
            std::cerr << "tortelet-studio: " << refusal.what() << '\n';
            return 2;
        }
    }
    // A second start brings the running copy to the front and ends, so that no list overwrites another.
    const common::SingleRun single(platform::userSettingsFiles().value(0));
    if (single.handedOver())
        return 0;
    const common::LiveRun run;
    platform::QtPlatform system;
    const platform::Platform qt = system.platform();
    app::EndingBoxes boxes(qt.messages);
    const platform::Platform platform{boxes,      qt.inputs,   qt.saveDialog, qt.settings,      qt.clipboard,
                                      qt.launcher, qt.random, qt.clock,      qt.pictureDialogs, qt.openDialog};
    app::Form1 form(platform, [] { QCoreApplication::quit(); }, common::DataFolder());
    const app::SignalEnding ending([&] {
        boxes.writeToStandardError();
        form.endRun();
    });
    QObject::connect(&single, &common::SingleRun::asked, &form, [&form] { form.bringToFront(); });
    form.show();
    return application.exec();
}
