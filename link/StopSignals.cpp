#include "StopSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace zk {

namespace {

// Lock-free, so the handler may store through them.
std::atomic<std::atomic<bool>*> gStop{nullptr};
volatile sig_atomic_t gWakeFd = -1;
static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// Async-signal-safe: the flag and one byte into the pipe, errno kept.
extern "C" void onSignal(int)
{
    const int savedErrno = errno;
    if (std::atomic<bool>* const stop = gStop.load())
        stop->store(true);
    const int fd = gWakeFd;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals(std::atomic<bool>& stop, std::function<void()> onStop) : onStop_(std::move(onStop))
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create the interrupt pipe");
    gStop = &stop;
    gWakeFd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    ::sigaction(SIGINT, &action, &previousInt_);
    ::sigaction(SIGTERM, &action, &previousTerm_);
    ::sigaction(SIGHUP, &action, &previousHup_);
}

StopSignals::~StopSignals()
{
    ::sigaction(SIGINT, &previousInt_, nullptr);
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    ::sigaction(SIGHUP, &previousHup_, nullptr);
    gWakeFd = -1;
    gStop = nullptr;
    notifier_.reset();
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void StopSignals::drain()
{
    char bytes[16];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    if (onStop_)
        onStop_();
}

} // namespace zk
