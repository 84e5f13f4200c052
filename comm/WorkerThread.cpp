#include "WorkerThread.h"

#include "SerialPlatform.h"

WorkerThread::WorkerThread(SerialPlatform& platform, int priorityDelta)
    : platform_(platform), priorityDelta_(priorityDelta)
{
}

WorkerThread::~WorkerThread()
{
    release();
}

int WorkerThread::create()
{
    return platform_.startThread(thread_, [this] { run(); });
}

void WorkerThread::start()
{
    std::lock_guard guard(lock_);
    started_ = true;
    changed_.notify_all();
}

bool WorkerThread::waitFor(std::chrono::milliseconds limit)
{
    std::unique_lock lock(lock_);
    if (!started_) {
        cancelled_ = true;
        changed_.notify_all();
    }
    return changed_.wait_for(lock, limit, [this] { return finished_; });
}

void WorkerThread::release()
{
    if (!thread_.joinable())
        return;
    waitFor(std::chrono::milliseconds::zero());
    thread_.join();
}

void WorkerThread::run()
{
    bool runBody = false;
    {
        std::unique_lock lock(lock_);
        changed_.wait(lock, [this] { return started_ || cancelled_; });
        runBody = !cancelled_;
    }
    if (runBody) {
        platform_.raiseThreadPriority(priorityDelta_);
        execute();
    }
    std::lock_guard guard(lock_);
    finished_ = true;
    changed_.notify_all();
}
