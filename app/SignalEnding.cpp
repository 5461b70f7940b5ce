#include "SignalEnding.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace app {

namespace {

constexpr std::array kEndingSignals{SIGTERM, SIGHUP, SIGINT};

int wakeUpFd = -1;
// Set by the first signal, or by the end of the session: an ending is under way.
volatile std::sig_atomic_t ending = 0;

void onEndingSignal(int signal)
{
    if (ending) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    ending = 1;
    const int savedError = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeUpFd, &byte, 1);
    errno = savedError;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals)
        ::sigaction(signal, &action, nullptr);
}

}  // namespace

SignalEnding::SignalEnding(std::function<void()> end) : end_(std::move(end))
{
    std::array<int, 2> fds{};
    if (::pipe2(fds.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error(std::string("Cannot listen for the signals to end: ") + std::strerror(errno));
    wakeUpFd = fds[1];
    notifier_ = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalEnding::signalled);
    setHandler(onEndingSignal);
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
            ending = 1;
            endNow();
        });
}

SignalEnding::~SignalEnding()
{
    setHandler(SIG_DFL);
    ending = 0;
    ::close(wakeUpFd);
    wakeUpFd = -1;
    notifier_->setEnabled(false);
    ::close(static_cast<int>(notifier_->socket()));
}

void SignalEnding::signalled()
{
    char drained[64];
    while (::read(static_cast<int>(notifier_->socket()), drained, sizeof drained) > 0) {
    }
    endNow();
}

void SignalEnding::endNow()
{
    end_();
    // A box or dialog that was open when the ending began (the report of an ordinary close, a
    // question) would keep the program waiting for a person: every event loop is left.
    QCoreApplication::exit(0);
}

}  // namespace app
