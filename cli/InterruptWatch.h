#pragma once
// Turns SIGINT, SIGTERM and SIGHUP (the terminal closed) into a call on the main thread, from inside the
// event loop the transfer's waits run, so a transfer can be stopped at its
// next step instead of the process dying with the port half-used.
#include <functional>
#include <memory>

#include <signal.h>

class QSocketNotifier;

namespace zk::cli {

class InterruptWatch {
public:
    // Needs a QCoreApplication. One watch at a time.
    explicit InterruptWatch(std::function<void()> onInterrupt);
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // True once a signal arrived, whether or not the loop has seen it yet.
    bool interrupted() const;

private:
    void drain();

    int pipe_[2] = {-1, -1};
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
    struct sigaction previousHup_ {};
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onInterrupt_;
};

} // namespace zk::cli
