#include "EndingBoxes.h"

#include <QCoreApplication>

#include <cstdio>

namespace app {

int EndingBoxes::show(const platform::MessageRequest& request)
{
    if (!toStandardError_)
        return boxes_.show(request);
    // The error report's own line breaks are carriage returns, which a terminal would write over.
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), text.toLocal8Bit().constData());
    std::fflush(stderr);
    return request.defaultButton;
}

}  // namespace app
