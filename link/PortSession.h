#pragma once
// One open serial port with the radio link on it: the port component, the
// optional serial trace, and the wait that lets the end byte leave the line
// before the port closes. The link stops at its next step once the stop
// flag is set (by the signal watch, or by whoever runs several ports).
#include "RadioLink.h"
#include "SerialTrace.h"
#include "TComm.h"

#include <atomic>
#include <memory>
#include <string>

class QEventLoop;

namespace zk {

class PortSession {
public:
    // Needs a QCoreApplication. traceFile, when not empty, receives the
    // serial trace; AppError when it cannot be made.
    explicit PortSession(const std::atomic<bool>& stop, const std::string& traceFile = {});

    // Why the port did not open: the component's text and the system's error.
    struct OpenFailure {
        std::string error;
        int osError = 0;
    };
    // Opens the port; on failure fills `failure`.
    bool open(const std::string& path, OpenFailure& failure);

    RadioLink& link() { return link_; }
    bool stopped() const { return stop_.load(); }

    // Call right after queueing the last bytes (the end byte), before any
    // event is handled: waits (bounded) for the writer's next queue-empty
    // notice, then until the line has sent it all.
    void finishSending();

    void close() { comm_.ClosePort(); }

    // Why the trace could not be written in full; empty when it was (or
    // when there is none).
    std::string traceFailure() const;

private:
    // Before the port, which reports its closing to the trace.
    std::unique_ptr<SerialTrace> trace_;
    TComm comm_;
    RadioLink link_;
    const std::atomic<bool>& stop_;
    QEventLoop* waitingForEmpty_ = nullptr;
};

} // namespace zk
