#include "InterruptWatch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace zk::cli {

namespace {

volatile sig_atomic_t gInterrupted = 0;
volatile sig_atomic_t gWakeFd = -1;

// Async-signal-safe: a flag and one byte into the pipe, errno kept.
extern "C" void onSignal(int)
{
    const int savedErrno = errno;
    gInterrupted = 1;
    const int fd = gWakeFd;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt) : onInterrupt_(std::move(onInterrupt))
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create the interrupt pipe");
    gInterrupted = 0;
    gWakeFd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // A second Ctrl-C ends the program at once, for a user who will not wait.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    ::sigaction(SIGINT, &action, &previousInt_);
    ::sigaction(SIGTERM, &action, &previousTerm_);
    ::sigaction(SIGHUP, &action, &previousHup_);
}

InterruptWatch::~InterruptWatch()
{
    ::sigaction(SIGINT, &previousInt_, nullptr);
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    ::sigaction(SIGHUP, &previousHup_, nullptr);
    gWakeFd = -1;
    notifier_.reset();
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

bool InterruptWatch::interrupted() const
{
    return gInterrupted != 0;
}

void InterruptWatch::drain()
{
    char bytes[16];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    if (onInterrupt_)
        onInterrupt_();
}

} // namespace zk::cli
