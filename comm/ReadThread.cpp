#include "ReadThread.h"

#include "CommTypes.h"
#include "NotifyWindow.h"
#include "PortOptions.h"
#include "ReadTimeouts.h"
#include "SerialPlatform.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

TReadThread::TReadThread(SerialPlatform& platform, int portHandle, int closeEvent, CommNotifyWindow& notifyWindow,
                         const PortOptions& options)
    : WorkerThread(platform, 2),
      port_(portHandle),
      closeEvent_(closeEvent),
      notifyWindow_(notifyWindow),
      options_(options)
{
}

TReadThread::~TReadThread()
{
    release();
}

void TReadThread::execute()
{
    haveCounters_ = platform_.getLineCounters(port_, counters_) == 0;
    haveModemLines_ = platform_.getModemLines(port_, modemLines_) == 0;

    using Clock = ReadBlockTimer::Clock;
    uint8_t buffer[kReceiveBufferSize];
    size_t got = 0;
    ReadBlockTimer timer;
    TCommTimeouts timeouts = options_.timeouts();
    auto startRead = [&](Clock::time_point now) {
        timeouts = options_.timeouts();
        timer.begin(timeouts, now, sizeof buffer);
    };
    startRead(Clock::now());

    for (;;) {
        pollfd fds[2] = {{closeEvent_, POLLIN, 0}, {port_, POLLIN, 0}};
        const int rc = platform_.poll(fds, 2, timer.waitMs(Clock::now(), got));
        if (rc == -EINTR)
            continue;
        if (rc < 0) {
            postHangup();
            break;
        }
        // The stop signal wins over bytes that came at the same time.
        if (fds[0].revents)
            break;
        if (!checkLineEvents())
            break;
        if (fds[1].revents & POLLNVAL)
            break;  // the descriptor is gone: end without a notice

        bool hangup = false;
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t n = platform_.read(port_, buffer + got, sizeof buffer - got);
            if (n > 0) {
                const size_t kept = keepBytes(buffer + got, static_cast<size_t>(n));
                if (kept > 0) {
                    // Time-outs changed on the open port while nothing had
                    // come yet: the read starts over with the new ones.
                    if (got == 0 && !(options_.timeouts() == timeouts))
                        startRead(Clock::now());
                    got += kept;
                    timer.onBytes(Clock::now());
                }
            } else if (n == -EBADF) {
                break;
            } else if (n == -EAGAIN || n == -EINTR) {
                // Nothing to read, yet the device reports a hang-up or an
                // error: waiting again would only spin.
                hangup = !(fds[1].revents & POLLIN) || (fds[1].revents & (POLLHUP | POLLERR));
            } else {
                // 0 bytes (far end of a pseudo-terminal closed) or an error
                // such as EIO (device unplugged).
                hangup = true;
            }
        }

        const auto now = Clock::now();
        if (got > 0 && (hangup || timer.complete(now, got))) {
            if (!deliverBytes(buffer, got))
                break;
            got = 0;
            startRead(now);
        } else if (got == 0 && timer.complete(now, 0)) {
            // An empty completion (total time-out with nothing received)
            // simply starts the next read.
            startRead(now);
        }
        if (hangup) {
            postHangup();
            break;
        }
    }
    platform_.purge(port_, PURGE_RXABORT | PURGE_RXCLEAR);
}

size_t TReadThread::keepBytes(uint8_t* bytes, size_t count) const
{
    if (!options_.stripNulls())
        return count;
    return static_cast<size_t>(std::remove(bytes, bytes + count, uint8_t{0}) - bytes);
}

bool TReadThread::checkLineEvents()
{
    if (haveCounters_) {
        LineCounters now;
        if (platform_.getLineCounters(port_, now) == 0) {
            const uint32_t bits = lineErrorBits(counters_, now);
            counters_ = now;
            if (bits) {
                if (!notifyWindow_.post({COMM_MSG_RECEIVE_ERROR, 0, bits, nullptr})) {
                    postHangup();
                    return false;
                }
            }
        } else {
            haveCounters_ = false;
        }
    }
    if (haveModemLines_) {
        int lines = 0;
        if (platform_.getModemLines(port_, lines) == 0) {
            const uint32_t bits = modemEventBits(modemLines_, lines);
            modemLines_ = lines;
            if (bits && !notifyWindow_.post({COMM_MSG_MODEM_STATE_CHANGE, 0, bits, nullptr})) {
                postHangup();
                return false;
            }
        } else {
            haveModemLines_ = false;
        }
    }
    return true;
}

bool TReadThread::deliverBytes(const uint8_t* buffer, size_t count)
{
    if (count == 0)
        return false;
    // One zero-filled copy per block, one byte longer than the data so the
    // receiver finds a 0 after the last byte.
    std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[count + 1]());
    if (!copy) {
        postHangup();
        return false;
    }
    std::memcpy(copy.get(), buffer, count);
    if (!notifyWindow_.post({COMM_MSG_RECEIVE_DATA, static_cast<uint32_t>(count), 0, std::move(copy)})) {
        postHangup();
        return false;
    }
    return true;
}

void TReadThread::postHangup()
{
    notifyWindow_.post({COMM_MSG_REQUEST_HANGUP, 0, 0, nullptr});
}
