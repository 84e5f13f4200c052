#pragma once
// Turns SIGINT, SIGTERM and SIGHUP (the terminal closed) into a stop flag,
// so transfers end at their next step instead of the process dying with the
// port half-used. The flag is set in the handler itself; `onStop`, when
// given, then runs on the owner's thread from its event loop (to end a loop
// that waits for ports to come and go).
#include <atomic>
#include <functional>
#include <memory>

#include <signal.h>

class QSocketNotifier;

namespace zk {

class StopSignals {
public:
    // Needs a QCoreApplication. One watch at a time. A second signal ends the
    // program at once, for a user who will not wait.
    explicit StopSignals(std::atomic<bool>& stop, std::function<void()> onStop = {});
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    void drain();

    int pipe_[2] = {-1, -1};
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
    struct sigaction previousHup_ {};
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onStop_;
};

} // namespace zk
