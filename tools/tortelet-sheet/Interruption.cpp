#include "Interruption.h"

#include "sheet/io/FileBytes.h"

#include <csignal>

namespace tools {

namespace {

void onInterruption(int signal)
{
    sheet::io::removeUnfinishedFile();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void removeUnfinishedFilesWhenInterrupted()
{
    struct sigaction action {};
    action.sa_handler = onInterruption;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // A signal the caller ignores (nohup, a background job) stays ignored.
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace tools
