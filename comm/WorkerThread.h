// What the reader and the writer share: a thread made "suspended" (it
// waits at a gate until start), a bounded wait for its end, and release.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class SerialPlatform;

class WorkerThread {
public:
    WorkerThread(SerialPlatform& platform, int priorityDelta);
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Makes the thread; it waits until start(). 0 or -errno.
    int create();
    void start();
    // Waits for the end of the thread body; a thread never started is let
    // go without running it. True when it has ended.
    bool waitFor(std::chrono::milliseconds limit);
    // Waits without limit and joins. Derived classes call it in their
    // destructor, before their own members go.
    void release();

protected:
    virtual void execute() = 0;
    SerialPlatform& platform_;

private:
    void run();

    const int priorityDelta_;
    std::thread thread_;
    std::mutex lock_;
    std::condition_variable changed_;
    bool started_ = false;
    bool cancelled_ = false;
    bool finished_ = false;
};
