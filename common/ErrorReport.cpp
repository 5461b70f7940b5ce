#include "ErrorReport.h"

namespace common {

QString errorMessage(const QString& description, const QString& location, int line)
{
    return description + QStringLiteral("\r\n") + QStringLiteral("in ") + location + QLatin1Char(' ') +
           QStringLiteral("at line ") + QString::number(line) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to support@vantrel.example");
}

void ReportError(platform::MessageBoxes& boxes, const QString& location, int line, const QString& description)
{
    platform::MessageRequest request;
    request.text = errorMessage(description, location, line);
    request.buttons = platform::Buttons::Ok;
    request.icon = platform::Icon::Warning;
    request.title = QStringLiteral("Application Error");
    boxes.show(request);
}

}  // namespace common
