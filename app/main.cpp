#include "Form1.h"

#include "platform/QtPlatform.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    platform::QtPlatform system;
    app::Form1 form(system.platform(), [] { QCoreApplication::quit(); });
    form.show();
    return application.exec();
}
