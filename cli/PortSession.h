#pragma once
// One open serial port with the radio link on it, on an event loop of its
// own when the program has none yet; Ctrl-C stops the link at its next
// step. Shared by read, write and the doctor's probe. On a port thread of
// its own (several radios at once) the session watches a stop flag set by
// whoever watches the signals instead.
#include "InterruptWatch.h"
#include "RadioLink.h"
#include "SerialTrace.h"
#include "TComm.h"

#include <QCoreApplication>

#include <atomic>
#include <memory>
#include <string>

class QEventLoop;

namespace zk::cli {

class PortSession {
public:
    // traceFile, when not empty, receives the serial trace; AppError when it
    // cannot be made.
    explicit PortSession(const std::string& traceFile);
    // For a port thread: no signal watch of its own; the link stops at its
    // next step once *stop is true.
    PortSession(const std::string& traceFile, const std::atomic<bool>& stop);

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
    bool interrupted() const { return interrupts_ ? interrupts_->interrupted() : stop_->load(); }

    // Call right after queueing the last bytes (the end byte), before any
    // event is handled: waits (bounded) for the writer's next queue-empty
    // notice, then until the line has sent it all.
    void finishSending();

    void close() { comm_.ClosePort(); }

    // The event loops' application, made when the program has none yet.
    static std::unique_ptr<QCoreApplication> makeApplication();

private:
    PortSession(const std::string& traceFile, const std::atomic<bool>* stop);

    // First, as the port component and the signal notifier need it.
    std::unique_ptr<QCoreApplication> app_ = makeApplication();
    // Before the port, which reports its closing to the trace.
    std::unique_ptr<SerialTrace> trace_;
    TComm comm_;
    RadioLink link_;
    const std::atomic<bool>* stop_ = nullptr;
    std::unique_ptr<InterruptWatch> interrupts_;
    QEventLoop* waitingForEmpty_ = nullptr;
};

} // namespace zk::cli
