#pragma once

#include <QStringList>

#include <iosfwd>
#include <optional>

namespace common {

// Answers --help (-h) and --version (-v) on `output` and gives the exit code: 0, or 1 with one line
// on `errors` when `output` does not take the whole answer (a full disk, /dev/full). For any other
// command line gives nothing, and the program starts. Arguments the program does not know are left
// to Qt (-platform, -style, ...), so this runs before any window or display is needed.
std::optional<int> AnswerCommandLine(const QStringList& arguments, std::ostream& output, std::ostream& errors);

// The FILE of --template FILE, the chart template to build from from now on; nothing without the option.
std::optional<QString> TemplateOption(const QStringList& arguments);

}  // namespace common
