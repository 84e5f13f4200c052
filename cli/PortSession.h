#pragma once
// One open serial port with the radio link on it, on an event loop of its
// own when the program has none yet; Ctrl-C stops the link at its next
// step. Shared by read, write and the doctor's probe.
#include "InterruptWatch.h"
#include "RadioLink.h"
#include "SerialTrace.h"
#include "TComm.h"

#include <QCoreApplication>

#include <memory>
#include <string>

class QEventLoop;

namespace zk::cli {

class PortSession {
public:
    // traceFile, when not empty, receives the serial trace; AppError when it
    // cannot be made.
    explicit PortSession(const std::string& traceFile);

    // Why the port did not open: the component's text and the reason in
    // plain words.
    struct OpenFailure {
        std::string error;
        std::string reason;
    };

    // Opens the port. On failure the two texts go to standard error, one line each, or to
    // `failure` when given.
    bool open(const std::string& path, OpenFailure* failure = nullptr);

    RadioLink& link() { return link_; }
    bool interrupted() const { return interrupts_.interrupted(); }

    // Call right after queueing the last bytes (the end byte), before any
    // event is handled: waits (bounded) for the writer's next queue-empty
    // notice, then until the line has sent it all.
    void finishSending();

    void close() { comm_.ClosePort(); }

private:
    static std::unique_ptr<QCoreApplication> makeApplication();

    // First, as the port component and the signal notifier need it.
    std::unique_ptr<QCoreApplication> app_ = makeApplication();
    // Before the port, which reports its closing to the trace.
    std::unique_ptr<SerialTrace> trace_;
    TComm comm_;
    RadioLink link_;
    InterruptWatch interrupts_{[this] { link_.abort(); }};
    QEventLoop* waitingForEmpty_ = nullptr;
};

} // namespace zk::cli
