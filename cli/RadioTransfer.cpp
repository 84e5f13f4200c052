#include "RadioTransfer.h"

#include "Codec.h"
#include "EventLoopWait.h"
#include "InterruptWatch.h"
#include "OpenFailure.h"
#include "PortConnection.h"
#include "TComm.h"
#include "TransferEngine.h"
#include "Usage.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <iostream>
#include <memory>

namespace zk::cli {

namespace {

// Closing the port throws away whatever the writer or the driver still
// holds, and the end byte is queued just before the transfer returns. So
// wait for the writer to pass it on (at most this long) ...
constexpr int kSendLimitMs = 2000;
// ... for the driver to send it, and a little more for a USB adapter's own
// buffer, which the driver does not count.
constexpr int kSettleMs = 50;

constexpr const char* kInterrupted = "Interrupted";

// One open serial port with the radio link on it, on an event loop of its
// own when the program has none yet.
class PortSession {
public:
    PortSession()
    {
        receiveInto(comm_, link_);
        comm_.OnSendDataEmpty = [this](TComm*) {
            ++queueEmptied_;
            if (waitingForEmpty_)
                waitingForEmpty_->quit();
        };
    }

    // On failure the component's text and then the reason in plain words.
    bool open(const std::string& path)
    {
        comm_.SetCommName(path);
        try {
            comm_.OpenPort();
        } catch (const ECommsError& e) {
            std::cerr << e.what() << '\n' << describeOpenFailure(path, e.osError()) << '\n';
            return false;
        }
        switchOffSoftwareFlowControl(comm_);
        return true;
    }

    RadioLink& link() { return link_; }
    bool interrupted() const { return interrupts_.interrupted(); }
    int queueEmptied() const { return queueEmptied_; }

    // Waits until the writer reports its queue empty once more than
    // `emptiedBefore` times, then until the line has sent it all.
    void finishSending(int emptiedBefore)
    {
        if (queueEmptied_ == emptiedBefore) {
            QEventLoop loop;
            QTimer limit;
            limit.setSingleShot(true);
            QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
            limit.start(kSendLimitMs);
            waitingForEmpty_ = &loop;
            loop.exec();
            waitingForEmpty_ = nullptr;
        }
        comm_.DrainOutput();
        pumpEventsFor(kSettleMs);
    }

    void close() { comm_.ClosePort(); }

private:
    static std::unique_ptr<QCoreApplication> makeApplication()
    {
        static int argc = 1;
        static char programName[] = "zk-h41-cli";
        static char* argv[] = {programName, nullptr};
        if (QCoreApplication::instance())
            return nullptr;
        return std::make_unique<QCoreApplication>(argc, argv);
    }

    // First, as the port component and the signal notifier need it.
    std::unique_ptr<QCoreApplication> app_ = makeApplication();
    TComm comm_;
    RadioLink link_{sendThrough(comm_), [this] { return comm_.IsOpen(); }, pumpEventsFor};
    InterruptWatch interrupts_{[this] { link_.abort(); }};
    int queueEmptied_ = 0;
    QEventLoop* waitingForEmpty_ = nullptr;
};

void printProgress(int blocksDone)
{
    std::cerr << "block " << blocksDone << '/' << kBlocks << '\n';
}

} // namespace

bool transferWithRadio(Direction direction, const std::string& port, ChannelTable& table)
{
    PortSession session;
    if (!session.open(port))
        return false;
    TransferEngine engine(session.link(), table);
    const bool reading = direction == Direction::Read;

    TransferResult result{TransferOutcome::Aborted, {}, false};
    // A signal that came while the port opened stops us before anything is sent.
    if (!session.interrupted())
        result = reading ? engine.read(printProgress) : engine.write(printProgress);
    if (result.outcome == TransferOutcome::Succeeded) {
        // The engine's waits have seen the writer's notice for every command;
        // only the end byte, sent after the last wait, can still be queued.
        session.finishSending(session.queueEmptied());
    }
    session.close();

    const char* errorText = reading ? kReadError : kWriteError;
    switch (result.outcome) {
    case TransferOutcome::Succeeded:
        return true;
    case TransferOutcome::Failed:
        std::cerr << errorText << '\n';
        break;
    case TransferOutcome::PortNotReady:
        std::cerr << (reading ? kReadPortNotReady : kWritePortNotReady) << '\n';
        break;
    case TransferOutcome::Stopped:
    case TransferOutcome::Aborted:
        std::cerr << (result.outcome == TransferOutcome::Stopped ? result.error : kInterrupted) << '\n';
        // Part of the plan may have reached the radio: say the write failed.
        if (!reading && result.sentAnything)
            std::cerr << kWriteError << '\n';
        break;
    case TransferOutcome::Busy:
        std::cerr << kProgramName << ": internal error: a transfer is already running\n";
        break;
    }
    return false;
}

TransferArguments parseTransferArguments(const Arguments& args, bool wantsOutput)
{
    TransferArguments parsed;
    bool havePort = false;
    bool haveOutput = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--port") {
            if (i + 1 == args.size() || args[i + 1].empty())
                throw UsageError("option '--port' needs a device path");
            parsed.port = args[++i];
            havePort = true;
        } else if (wantsOutput && arg == "-o") {
            if (i + 1 == args.size() || args[i + 1].empty())
                throw UsageError("option '-o' needs a file name");
            parsed.output = args[++i];
            haveOutput = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option '" + arg + "'");
        } else {
            parsed.operands.push_back(arg);
        }
    }
    if (!havePort)
        throw UsageError("missing '--port PATH'");
    if (wantsOutput && !haveOutput)
        throw UsageError("missing '-o PLAN.bc'");
    return parsed;
}

} // namespace zk::cli
