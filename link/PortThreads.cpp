#include "PortThreads.h"

#include <QEventLoop>
#include <QSocketNotifier>

#include <cstdint>
#include <stdexcept>

#include <sys/eventfd.h>
#include <unistd.h>

namespace zk {

struct PortThreads::Job {
    std::function<void()> done;
    bool finished = false; // under lock_
    std::thread thread;
};

PortThreads::PortThreads()
{
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0)
        throw std::runtime_error("cannot create the port threads' wake-up");
    notifier_ = std::make_unique<QSocketNotifier>(wake_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { reap(); });
}

PortThreads::~PortThreads()
{
    for (auto& job : jobs_)
        job->thread.join();
    notifier_.reset();
    ::close(wake_);
}

void PortThreads::start(std::function<void()> job, std::function<void()> done)
{
    auto entry = std::make_unique<Job>();
    entry->done = std::move(done);
    Job* const self = entry.get();
    entry->thread = std::thread([this, self, job = std::move(job)] {
        {
            // Gives this thread its event dispatcher before the job makes
            // any timer or waits.
            QEventLoop loop;
            job();
        }
        {
            std::lock_guard guard(lock_);
            self->finished = true;
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
    });
    jobs_.push_back(std::move(entry));
}

void PortThreads::reap()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(wake_, &count, sizeof count);
    std::vector<std::unique_ptr<Job>> ended;
    {
        std::lock_guard guard(lock_);
        for (auto it = jobs_.begin(); it != jobs_.end();) {
            if ((*it)->finished) {
                ended.push_back(std::move(*it));
                it = jobs_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& job : ended) {
        job->thread.join();
        if (job->done)
            job->done();
    }
    if (waiting_ && jobs_.empty())
        waiting_->quit();
}

void PortThreads::waitForAll()
{
    if (jobs_.empty())
        return;
    QEventLoop loop;
    waiting_ = &loop;
    loop.exec();
    waiting_ = nullptr;
}

} // namespace zk
