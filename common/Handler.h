#pragma once

#include "platform/MessageBoxes.h"

#include <QSet>
#include <QString>
#include <functional>

namespace common {

// A carrying handler: it runs its numbered lines in order, reports a failing line with the
// handler's location and that line's number, and goes on with the next line.
//
//     Handler h(boxes, "Torvane2021/08/31.Form1.PushButton2_Click");
//     h(100, [&] { label = ask(...); });
//     if (h.when(102, [&] { return label.isEmpty(); })) return;
//
// A failure is any exception; its what() (UTF-8) is the description. A failing condition
// counts as holding. Work before the first numbered line goes through line 0. Each description
// is shown once per run of the handler: when a later line fails the same way, the first box
// already said it, and the handler just goes on.
class Handler {
public:
    Handler(platform::MessageBoxes& boxes, QString location);

    // Runs one numbered line.
    void operator()(int line, const std::function<void()>& step);
    // Runs one numbered condition; a failing condition counts as true.
    bool when(int line, const std::function<bool()>& condition);

    const QString& location() const { return location_; }

private:
    void report(int line, const QString& description);

    platform::MessageBoxes& boxes_;
    QString location_;
    QSet<QString> shown_;
};

// The description a failure gives, whatever was thrown.
QString describeCurrentException();

}  // namespace common
