#include "Handler.h"

#include "ErrorReport.h"

#include "sheet/text/Description.h"

#include <exception>

namespace common {

Handler::Handler(platform::MessageBoxes& boxes, QString location) : boxes_(boxes), location_(std::move(location)) {}

void Handler::operator()(int line, const std::function<void()>& step)
{
    try {
        step();
    } catch (...) {
        report(line, describeCurrentException());
    }
}

bool Handler::when(int line, const std::function<bool()>& condition)
{
    try {
        return condition();
    } catch (...) {
        report(line, describeCurrentException());
        return true;
    }
}

void Handler::report(int line, const QString& description)
{
    if (shown_.contains(description))
        return;
    shown_.insert(description);
    ReportError(boxes_, location_, line, description);
}

QString describeCurrentException()
{
    try {
        throw;
    } catch (const std::exception& failure) {
        // Cut before it becomes a QString: a description may quote megabytes of what failed.
        return QString::fromStdString(sheet::text::shownDescription(failure.what()));
    } catch (...) {
        return QStringLiteral("Unknown failure");
    }
}

}  // namespace common
