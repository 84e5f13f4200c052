// A serial platform that passes every call to the real one, except the
// steps a test tells it to fail, and counts what the component asked for.
// Used for the failure paths a real device cannot produce.
#pragma once

#include "SerialPlatform.h"

#include <atomic>
#include <mutex>
#include <vector>

class FakeSerialPlatform : public SerialPlatform {
public:
    // Failures to inject: errno values (0 = pass through).
    std::atomic<int> failCreateEvent{0};
    std::atomic<int> createEventCallsBeforeFailure{0};  // let this many succeed first
    std::atomic<int> failThreadStart{0};
    std::atomic<int> threadStartsBeforeFailure{0};
    std::atomic<int> failWrite{0};
    // Bytes the driver takes per write call, as one with a small buffer or
    // with write time-outs would (0 = as many as the real one takes).
    std::atomic<size_t> writeChunk{0};
    // Scripted driver counters and modem lines, reported instead of the
    // device's (which a pseudo-terminal does not have).
    std::atomic<bool> scriptLineState{false};
    std::atomic<int> frameErrors{0};
    std::atomic<int> breaks{0};
    std::atomic<int> modemLines{0};

    // What the component did.
    std::atomic<int> setAttributesCalls{0};
    std::atomic<int> liveThreads{0};
    std::atomic<int> openEvents{0};
    std::atomic<int> openPorts{0};
    std::atomic<long> bytesRead{0};
    std::atomic<int> writeCalls{0};
    std::atomic<int> lastRaised{0};  // TIOCM_ bits of the last modem-line write
    std::atomic<int> lastLowered{0};

    // The settings last written to the port, as the component built them
    // (a pseudo-terminal forces 8 bits and no parity on what it keeps).
    termios lastAttributes() const
    {
        std::lock_guard guard(lock_);
        return lastAttributes_;
    }

    std::vector<unsigned> purges() const
    {
        std::lock_guard guard(lock_);
        return purges_;
    }

    int openPort(const std::string& path) override
    {
        const int fd = real().openPort(path);
        if (fd >= 0)
            ++openPorts;
        return fd;
    }
    void closePort(int fd) override
    {
        --openPorts;
        real().closePort(fd);
    }
    int lockPort(int fd) override { return real().lockPort(fd); }
    void unlockPort(int fd) override { real().unlockPort(fd); }
    int isCharDevice(int fd) override { return real().isCharDevice(fd); }
    int setupBuffers(int fd, size_t in, size_t out) override { return real().setupBuffers(fd, in, out); }
    int setExclusive(int fd, bool on) override { return real().setExclusive(fd, on); }
    int purge(int fd, unsigned flags) override
    {
        {
            std::lock_guard guard(lock_);
            purges_.push_back(flags);
        }
        return real().purge(fd, flags);
    }
    int drainOutput(int fd) override { return real().drainOutput(fd); }
    int getAttributes(int fd, termios& tio) override { return real().getAttributes(fd, tio); }
    int setAttributes(int fd, const termios& tio, uint32_t customBaud) override
    {
        ++setAttributesCalls;
        {
            std::lock_guard guard(lock_);
            lastAttributes_ = tio;
        }
        return real().setAttributes(fd, tio, customBaud);
    }
    int getModemLines(int fd, int& lines) override
    {
        if (!scriptLineState)
            return real().getModemLines(fd, lines);
        lines = modemLines;
        return 0;
    }
    int setModemLines(int fd, int raise, int lower) override
    {
        lastRaised = raise;
        lastLowered = lower;
        return real().setModemLines(fd, raise, lower);
    }
    int getLineCounters(int fd, LineCounters& counters) override
    {
        if (!scriptLineState)
            return real().getLineCounters(fd, counters);
        counters = LineCounters{};
        counters.frame = frameErrors;
        counters.brk = breaks;
        return 0;
    }
    int createEvent() override
    {
        if (failCreateEvent && createEventCallsBeforeFailure-- <= 0)
            return -failCreateEvent;
        const int fd = real().createEvent();
        if (fd >= 0)
            ++openEvents;
        return fd;
    }
    int setEvent(int fd) override { return real().setEvent(fd); }
    bool isEventSet(int fd) override { return real().isEventSet(fd); }
    void consumeEvent(int fd) override { real().consumeEvent(fd); }
    void closeEvent(int fd) override
    {
        --openEvents;
        real().closeEvent(fd);
    }
    int poll(pollfd* fds, size_t count, int timeoutMs) override { return real().poll(fds, count, timeoutMs); }
    ssize_t read(int fd, void* buffer, size_t size) override
    {
        const ssize_t n = real().read(fd, buffer, size);
        if (n > 0)
            bytesRead += n;
        return n;
    }
    ssize_t write(int fd, const void* buffer, size_t size) override
    {
        ++writeCalls;
        if (const int err = failWrite)
            return -err;
        const size_t chunk = writeChunk;
        return real().write(fd, buffer, chunk != 0 && chunk < size ? chunk : size);
    }
    int startThread(std::thread& thread, std::function<void()> body) override
    {
        if (failThreadStart && threadStartsBeforeFailure-- <= 0)
            return -failThreadStart;
        return real().startThread(thread, [this, body = std::move(body)] {
            ++liveThreads;
            body();
            --liveThreads;
        });
    }
    void raiseThreadPriority(int delta) override { real().raiseThreadPriority(delta); }

private:
    static SerialPlatform& real() { return posixSerialPlatform(); }
    mutable std::mutex lock_;
    std::vector<unsigned> purges_;
    termios lastAttributes_{};
};
