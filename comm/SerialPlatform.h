// The one thin layer between the serial component and the operating
// system. Everything above it is plain logic that tests drive with a fake.
// Calls return 0 (or a descriptor, or a byte count) on success and -errno
// on failure, so the error travels with the result.
#pragma once

#include "LineEvents.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/types.h>
#include <termios.h>
#include <thread>

class SerialPlatform {
public:
    virtual ~SerialPlatform() = default;

    // Port descriptor: read/write, no controlling terminal, non-blocking.
    virtual int openPort(const std::string& path) = 0;
    virtual void closePort(int fd) = 0;
    // Advisory exclusive lock, not waiting; released by unlockPort or close.
    virtual int lockPort(int fd) = 0;
    virtual void unlockPort(int fd) = 0;
    // 1 for a character device, 0 for anything else.
    virtual int isCharDevice(int fd) = 0;
    // Queue set-up; on Linux the driver's queues are fixed, so this checks
    // that the device is a terminal that can take line settings at all.
    virtual int setupBuffers(int fd, size_t inQueue, size_t outQueue) = 0;
    // Exclusive mode of the terminal (no further opens).
    virtual int setExclusive(int fd, bool on) = 0;
    // PURGE_ flags.
    virtual int purge(int fd, unsigned flags) = 0;
    // Waits until the driver has sent everything written so far.
    virtual int drainOutput(int fd) = 0;
    virtual int getAttributes(int fd, termios& tio) = 0;
    // customBaud 0: the rate in tio; otherwise an arbitrary rate to set.
    virtual int setAttributes(int fd, const termios& tio, uint32_t customBaud) = 0;
    // TIOCM_ bits.
    virtual int getModemLines(int fd, int& lines) = 0;
    virtual int setModemLines(int fd, int raise, int lower) = 0;
    virtual int getLineCounters(int fd, LineCounters& counters) = 0;

    // Manual-reset event: stays set until closed or consumed.
    virtual int createEvent() = 0;
    virtual int setEvent(int fd) = 0;
    virtual bool isEventSet(int fd) = 0;
    // Clears a wake-up event (used for the writer's queue signal).
    virtual void consumeEvent(int fd) = 0;
    virtual void closeEvent(int fd) = 0;

    virtual int poll(pollfd* fds, size_t count, int timeoutMs) = 0;
    virtual ssize_t read(int fd, void* buffer, size_t size) = 0;
    virtual ssize_t write(int fd, const void* buffer, size_t size) = 0;

    // Starts body on a new thread; -errno when no thread can be made.
    virtual int startThread(std::thread& thread, std::function<void()> body) = 0;
    // Called on the thread itself: raise its priority by delta steps where
    // the system allows it; failure is ignored.
    virtual void raiseThreadPriority(int delta) = 0;
};

// The real layer.
SerialPlatform& posixSerialPlatform();
