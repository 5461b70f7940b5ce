#pragma once

#include <QString>

namespace common {

// Marks this run of the program as alive in the user's private folder for as long as the object
// lives: a file "studio-run-<pid>" held under a lock. At its start it removes the scratch files in
// that folder (scratch workbooks, the template, the sheet picture and their temporary files) that
// only a run that no longer lives can have left: those older than the start of every live run.
// Without a usable private folder it does nothing.
class LiveRun {
public:
    LiveRun();
    ~LiveRun();
    LiveRun(const LiveRun&) = delete;
    LiveRun& operator=(const LiveRun&) = delete;

private:
    QString mark_;
    int fd_ = -1;
};

}  // namespace common
