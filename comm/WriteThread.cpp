#include "WriteThread.h"

#include "CommTypes.h"
#include "NotifyWindow.h"
#include "SerialPlatform.h"

#include <cerrno>

TWriteThread::TWriteThread(SerialPlatform& platform, int portHandle, int closeEvent,
                           CommNotifyWindow& notifyWindow)
    : WorkerThread(platform, 1), port_(portHandle), closeEvent_(closeEvent), notifyWindow_(notifyWindow)
{
}

TWriteThread::~TWriteThread()
{
    release();
    if (wakeEvent_ >= 0)
        platform_.closeEvent(wakeEvent_);
}

int TWriteThread::createWithQueue()
{
    wakeEvent_ = platform_.createEvent();
    if (wakeEvent_ < 0)
        return wakeEvent_;
    return create();
}

bool TWriteThread::post(std::unique_ptr<uint8_t[]> copy, uint16_t count)
{
    {
        std::lock_guard guard(lock_);
        if (ended_)
            return false;
        queue_.push_back({std::move(copy), count});
    }
    platform_.setEvent(wakeEvent_);
    return true;
}

bool TWriteThread::take(Item& item)
{
    std::lock_guard guard(lock_);
    if (queue_.empty())
        return false;
    item = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

void TWriteThread::execute()
{
    bool noticeDue = true;
    for (;;) {
        Item item;
        if (!take(item)) {
            if (noticeDue) {
                if (!notifyWindow_.post({COMM_MSG_SEND_DATA_EMPTY, 0, 0, nullptr})) {
                    postHangup();
                    break;
                }
                noticeDue = false;
            }
            pollfd fds[2] = {{closeEvent_, POLLIN, 0}, {wakeEvent_, POLLIN, 0}};
            const int rc = platform_.poll(fds, 2, -1);
            if (rc == -EINTR)
                continue;
            if (rc < 0) {
                postHangup();
                break;
            }
            if (fds[0].revents)
                break;
            if (fds[1].revents & POLLIN) {
                platform_.consumeEvent(wakeEvent_);
                continue;
            }
            postHangup();
            break;
        }
        if (platform_.isEventSet(closeEvent_))
            break;  // the taken block goes with `item`
        if (!writeBlock(item.copy.get(), item.count))
            break;
        noticeDue = true;
    }
    // Flush what the driver still holds before the blocks are let go.
    platform_.purge(port_, PURGE_TXABORT | PURGE_TXCLEAR);
    std::deque<Item> dropped;
    {
        std::lock_guard guard(lock_);
        ended_ = true;
        dropped.swap(queue_);
    }
}

// Write time-outs would end a write early with a short count, which is then
// continued with the rest; the outcome is the same as waiting without a
// limit, so the writer waits for room on the line as long as it takes.
bool TWriteThread::writeBlock(const uint8_t* bytes, size_t count)
{
    size_t offset = 0;
    while (offset < count) {
        const ssize_t n = platform_.write(port_, bytes + offset, count - offset);
        if (n > 0) {
            offset += static_cast<size_t>(n);
            continue;
        }
        if (n == -EINTR)
            continue;
        if (n == -EBADF)
            return false;
        if (n != 0 && n != -EAGAIN) {
            postHangup();
            return false;
        }
        pollfd fds[2] = {{closeEvent_, POLLIN, 0}, {port_, POLLOUT, 0}};
        const int rc = platform_.poll(fds, 2, -1);
        if (rc == -EINTR)
            continue;
        if (rc < 0) {
            postHangup();
            return false;
        }
        if (fds[0].revents)
            return false;
        if (fds[1].revents & POLLNVAL)
            return false;
        if (fds[1].revents & POLLOUT)
            continue;
        postHangup();  // hang-up or error with no room to write: device gone
        return false;
    }
    return true;
}

void TWriteThread::postHangup()
{
    notifyWindow_.post({COMM_MSG_REQUEST_HANGUP, 0, 0, nullptr});
}
