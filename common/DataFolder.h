#pragma once

#include <QString>
#include <QStringList>

namespace common {

// The folder the program takes its optional files from, the hand cursor HAND-M.CUR and the skin
// x/o.cjs: the first candidate that holds one of them, or the first candidate when none does (then
// nothing is found there and start-up goes on without them).
QString DataFolder(const QStringList& candidates);

// The same for this program: its own folder first, then the data folder of its installation
// (share/tortelet-studio beside the bin/ that holds the program).
QString DataFolder();

}  // namespace common
