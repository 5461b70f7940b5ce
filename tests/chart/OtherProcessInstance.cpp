#include "OtherProcessInstance.h"

#include <QCoreApplication>

namespace testing_support {

OtherProcessInstance::OtherProcessInstance()
{
    process_.start(QCoreApplication::applicationDirPath() + QStringLiteral("/chart_running_instance"), {});
    ready_ = process_.waitForReadyRead(10000) && process_.readLine().trimmed() == "ready";
}

OtherProcessInstance::~OtherProcessInstance()
{
    process_.closeWriteChannel();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

}  // namespace testing_support
