#include "Interruption.h"

#include "sheet/io/FileBytes.h"

#include <csignal>

namespace tools {

namespace {

// The signals whose default action ends the process; SIGKILL and SIGSTOP cannot be caught, and the
// real-time signals are added by their range.
constexpr int EndingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,  SIGFPE,
                                 SIGUSR1, SIGSEGV, SIGUSR2,   SIGPIPE, SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU,
                                 SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS};

void onInterruption(int signal)
{
    sheet::io::removeUnfinishedFile();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void removeOnSignal(int signal, const struct sigaction& action)
{
    // A signal the caller ignores (nohup, a background job, a pipe's reader that may go) stays ignored.
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
        ::sigaction(signal, &action, nullptr);
}

}  // namespace

void removeUnfinishedFilesWhenInterrupted()
{
    struct sigaction action {};
    action.sa_handler = onInterruption;
    // Another signal waits until the file is gone and the program ends by the first.
    sigfillset(&action.sa_mask);
    for (const int signal : EndingSignals)
        removeOnSignal(signal, action);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        removeOnSignal(signal, action);
}

}  // namespace tools
