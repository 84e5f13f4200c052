// The reader: waits at once for the stop signal and the port, gathers
// received bytes into blocks by the read time-outs and posts each block,
// line errors and modem-line changes to the notification window.
//
// Line errors come from the driver's error counters and carrier/ring from
// the modem lines, both looked at whenever the reader wakes (bytes come,
// a read ends). Linux has no pollable signal for modem-line changes, and a
// thread blocked in TIOCMIWAIT could not be woken by the stop signal, so a
// change on an otherwise silent line is reported with the next byte. A
// device without counters or modem lines (a pseudo-terminal) reports none.
#pragma once

#include "LineEvents.h"
#include "WorkerThread.h"

#include <cstddef>
#include <cstdint>

class CommNotifyWindow;
class PortOptions;

class TReadThread final : public WorkerThread {
public:
    TReadThread(SerialPlatform& platform, int portHandle, int closeEvent, CommNotifyWindow& notifyWindow,
                const PortOptions& options);
    ~TReadThread() override;

private:
    void execute() override;
    bool checkLineEvents();
    bool deliverBytes(const uint8_t* buffer, size_t count);
    void postHangup();
    size_t keepBytes(uint8_t* bytes, size_t count) const;

    const int port_;
    const int closeEvent_;
    CommNotifyWindow& notifyWindow_;
    const PortOptions& options_;

    bool haveCounters_ = false;
    bool haveModemLines_ = false;
    int modemLines_ = 0;
    LineCounters counters_;
};
