#include "PortSession.h"

#include "ECommsError.h"
#include "Errors.h"
#include "EventLoopWait.h"
#include "PortConnection.h"

#include <QEventLoop>
#include <QTimer>

namespace zk {

namespace {

// Closing the port throws away whatever the writer or the driver still
// holds, and the end byte is queued just before the transfer returns. So
// wait for the writer to pass it on (at most this long) ...
constexpr int kSendLimitMs = 2000;
// ... for the driver to send it, and a little more for a USB adapter's own
// buffer, which the driver does not count.
constexpr int kSettleMs = 50;

} // namespace

PortSession::PortSession(const std::atomic<bool>& stop, const std::string& traceFile)
    : link_(sendThrough(comm_), [this] { return comm_.IsOpen(); },
            [this](int milliseconds) {
                pumpEventsFor(milliseconds);
                if (stop_.load())
                    link_.abort();
            }),
      stop_(stop)
{
    if (!traceFile.empty()) {
        trace_ = std::make_unique<SerialTrace>(traceFile);
        if (!trace_->ok())
            throw cannotCreateError(traceFile, trace_->failure());
        comm_.SetTap(trace_.get());
    }
    receiveInto(comm_, link_);
    noteTimeouts(comm_, link_);
    comm_.OnSendDataEmpty = [this](TComm*) {
        if (waitingForEmpty_)
            waitingForEmpty_->quit();
    };
}

bool PortSession::open(const std::string& path, OpenFailure& failure)
{
    comm_.SetCommName(path);
    try {
        comm_.OpenPort();
    } catch (const ECommsError& e) {
        failure = {e.what(), e.osError()};
        return false;
    }
    switchOffSoftwareFlowControl(comm_);
    return true;
}

std::string PortSession::traceFailure() const
{
    return trace_ && !trace_->complete() ? trace_->writeFailure() : std::string();
}

void PortSession::finishSending()
{
    // The writer's notice is posted to this thread, so it cannot have been
    // handled before this loop runs.
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(kSendLimitMs);
    waitingForEmpty_ = &loop;
    loop.exec();
    waitingForEmpty_ = nullptr;
    comm_.DrainOutput();
    pumpEventsFor(kSettleMs);
}

} // namespace zk
