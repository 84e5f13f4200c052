// The writer: takes queued blocks in order and writes each completely to
// the port; posts "send data empty" each time its queue runs dry after a
// write (and once at the start), and a hang-up when the port fails.
//
// The queue (a locked deque plus a wake-up event) exists from creation, so
// a block sent right after OpenPort is kept; once the writer has ended it
// refuses new blocks.
#pragma once

#include "WorkerThread.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

class CommNotifyWindow;

class TWriteThread final : public WorkerThread {
public:
    TWriteThread(SerialPlatform& platform, int portHandle, int closeEvent, CommNotifyWindow& notifyWindow);
    ~TWriteThread() override;

    // Makes the queue's wake-up event and the thread. 0 or -errno.
    int createWithQueue();
    // Main thread: queues a block (a copy of count bytes plus a 0 byte).
    // False when the writer has ended.
    bool post(std::unique_ptr<uint8_t[]> copy, uint16_t count);

private:
    struct Item {
        std::unique_ptr<uint8_t[]> copy;
        uint16_t count = 0;
    };

    void execute() override;
    bool take(Item& item);
    bool writeBlock(const uint8_t* bytes, size_t count);
    void postHangup();

    const int port_;
    const int closeEvent_;
    CommNotifyWindow& notifyWindow_;
    int wakeEvent_ = -1;

    std::mutex lock_;
    std::deque<Item> queue_;
    bool ended_ = false;
};
