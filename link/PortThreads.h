#pragma once
// Procedures that run at the same time, each on a thread of its own with its
// own Qt event loop, so one port's waits never hold up another's. The
// owner's thread (the one that made this object) keeps its event loop
// running while it waits for them, so signals and hot-plug events are still
// handled there.
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QEventLoop;
class QSocketNotifier;

namespace zk {

class PortThreads {
public:
    // Needs a QCoreApplication.
    PortThreads();
    // Waits for every job still running.
    ~PortThreads();
    PortThreads(const PortThreads&) = delete;
    PortThreads& operator=(const PortThreads&) = delete;

    // Runs job on a new thread: the objects it makes live there and its
    // waits run that thread's event loop. The job must not throw. `done`
    // then runs on the owner's thread, from its event loop.
    void start(std::function<void()> job, std::function<void()> done = {});

    // Jobs started whose `done` has not run yet. Owner's thread.
    std::size_t running() const { return jobs_.size(); }

    // Runs the owner's event loop until no job is running.
    void waitForAll();

private:
    struct Job;
    void reap();

    std::mutex lock_; // each job's finished flag
    std::vector<std::unique_ptr<Job>> jobs_;
    int wake_ = -1; // an eventfd the jobs ring when they end
    std::unique_ptr<QSocketNotifier> notifier_;
    QEventLoop* waiting_ = nullptr;
};

} // namespace zk
