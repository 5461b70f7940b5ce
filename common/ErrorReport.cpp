#include "ErrorReport.h"

#include "sheet/text/Description.h"

namespace common {

QString shownDescription(const QString& description)
{
    // A character takes at most two UTF-16 units, so this head holds more than is shown whenever the
    // description does; the rest, which may be megabytes, is never converted.
    const QString head = description.left(2 * static_cast<qsizetype>(sheet::text::LongestDescription) + 2);
    return QString::fromStdString(sheet::text::shownDescription(head.toStdString()));
}

QString errorMessage(const QString& description, const QString& location, int line)
{
    return shownDescription(description) + QStringLiteral("\r\n") + QStringLiteral("in ") + location + QLatin1Char(' ') +
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
