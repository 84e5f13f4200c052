#include "WriteThread.h"

#include "CommTypes.h"
#include "NotifyWindow.h"
#include "SerialPlatform.h"

#include <cerrno>

TWriteThread::TWriteThread(SerialPlatform& platform, int portHandle, int closeEvent,
                           CommNotifyWindow& notifyWindow)
    : WorkerThread(platform, 1), m_port(portHandle), m_closeEvent(closeEvent), m_notifyWindow(notifyWindow)
{
}

TWriteThread::~TWriteThread()
{
    release();
    if (m_wakeEvent >= 0)
        m_platform.closeEvent(m_wakeEvent);
}

int TWriteThread::createWithQueue()
{
    m_wakeEvent = m_platform.createEvent();
    if (m_wakeEvent < 0)
        return m_wakeEvent;
    return create();
}

bool TWriteThread::post(std::unique_ptr<uint8_t[]> copy, uint16_t count)
{
    {
        std::lock_guard guard(m_lock);
        if (m_ended)
            return false;
        m_queue.push_back({std::move(copy), count});
    }
    m_platform.setEvent(m_wakeEvent);
    return true;
}

bool TWriteThread::take(Item& item)
{
    std::lock_guard guard(m_lock);
    if (m_queue.empty())
        return false;
    item = std::move(m_queue.front());
    m_queue.pop_front();
    return true;
}

void TWriteThread::execute()
{
    bool noticeDue = true;
    for (;;) {
        Item item;
        if (!take(item)) {
            if (noticeDue) {
                if (!m_notifyWindow.post({COMM_MSG_SEND_DATA_EMPTY, 0, 0, nullptr})) {
                    postHangup();
                    break;
                }
                noticeDue = false;
            }
            pollfd fds[2] = {{m_closeEvent, POLLIN, 0}, {m_wakeEvent, POLLIN, 0}};
            const int rc = m_platform.poll(fds, 2, -1);
            if (rc == -EINTR)
                continue;
            if (rc < 0) {
                postHangup();
                break;
            }
            if (fds[0].revents)
                break;
            if (fds[1].revents & POLLIN) {
                m_platform.consumeEvent(m_wakeEvent);
                continue;
            }
            postHangup();
            break;
        }
        if (m_platform.isEventSet(m_closeEvent))
            break;  // the taken block goes with `item`
        if (!writeBlock(item.copy.get(), item.count))
            break;
        noticeDue = true;
    }
    // Flush what the driver still holds before the blocks are let go.
    m_platform.purge(m_port, PURGE_TXABORT | PURGE_TXCLEAR);
    std::deque<Item> dropped;
    {
        std::lock_guard guard(m_lock);
        m_ended = true;
        dropped.swap(m_queue);
    }
}

// Write time-outs would end a write early with a short count, which is then
// continued with the rest; the outcome is the same as waiting without a
// limit, so the writer waits for room on the line as long as it takes.
bool TWriteThread::writeBlock(const uint8_t* bytes, size_t count)
{
    size_t offset = 0;
    while (offset < count) {
        const ssize_t n = m_platform.write(m_port, bytes + offset, count - offset);
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
        pollfd fds[2] = {{m_closeEvent, POLLIN, 0}, {m_port, POLLOUT, 0}};
        const int rc = m_platform.poll(fds, 2, -1);
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
    m_notifyWindow.post({COMM_MSG_REQUEST_HANGUP, 0, 0, nullptr});
}
