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
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

}  // namespace tools
