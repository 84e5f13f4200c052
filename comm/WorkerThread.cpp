#include "WorkerThread.h"

#include "SerialPlatform.h"

WorkerThread::WorkerThread(SerialPlatform& platform, int priorityDelta)
    : m_platform(platform), m_priorityDelta(priorityDelta)
{
}

WorkerThread::~WorkerThread()
{
    release();
}

int WorkerThread::create()
{
    return m_platform.startThread(m_thread, [this] { run(); });
}

void WorkerThread::start()
{
    std::lock_guard guard(m_lock);
    m_started = true;
    m_changed.notify_all();
}

bool WorkerThread::waitFor(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_lock);
    if (!m_started) {
        m_cancelled = true;
        m_changed.notify_all();
    }
    return m_changed.wait_for(lock, limit, [this] { return m_finished; });
}

void WorkerThread::release()
{
    if (!m_thread.joinable())
        return;
    waitFor(std::chrono::milliseconds::zero());
    m_thread.join();
}

void WorkerThread::run()
{
    bool runBody = false;
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_started || m_cancelled; });
        runBody = !m_cancelled;
    }
    if (runBody) {
        m_platform.raiseThreadPriority(m_priorityDelta);
        execute();
    }
    std::lock_guard guard(m_lock);
    m_finished = true;
    m_changed.notify_all();
}
