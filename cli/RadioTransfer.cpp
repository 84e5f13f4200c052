#include "RadioTransfer.h"

#include "Codec.h"
#include "PortAccess.h"
#include "PortSession.h"
#include "SerialPortList.h"
#include "TransferEngine.h"
#include "Usage.h"

#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kInterrupted = "Interrupted";

void printProgress(int blocksDone)
{
    std::cerr << "block " << blocksDone << '/' << kBlocks << '\n';
}

} // namespace

bool transferWithRadio(Direction direction, const std::string& port, ChannelTable& table,
                       const std::string& traceFile)
{
    PortSession session(traceFile);
    if (isConsolePort(port))
        std::cerr << "Warning: " << port << " is the system console; opening it takes the console line over.\n";
    if (!session.open(port))
        return false;
    TransferEngine engine(session.link(), table);
    // Replies that went missing may have gone to another reader.
    engine.explainFailure = [&port] { return holdersText(port, portHolders(port, SystemView{})); };
    const bool reading = direction == Direction::Read;

    TransferResult result{TransferOutcome::Aborted, {}, false};
    // A signal that came while the port opened stops us before anything is sent.
    if (!session.interrupted())
        result = reading ? engine.read(printProgress) : engine.write(printProgress);
    if (result.outcome == TransferOutcome::Succeeded) {
        // The engine's waits have seen the writer's notice for every command;
        // only the end byte, sent after the last wait, can still be queued.
        session.finishSending();
    }
    session.close();

    const char* errorText = reading ? kReadError : kWriteError;
    switch (result.outcome) {
    case TransferOutcome::Succeeded:
        return true;
    case TransferOutcome::Failed: {
        std::cerr << errorText << '\n';
        if (const std::string detail = engine.failureDetail(); !detail.empty())
            std::cerr << detail << '\n';
        break;
    }
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
            parsed.port = optionValue(args, i, "a device path");
            havePort = true;
        } else if (arg == "--trace") {
            parsed.traceFile = optionValue(args, i, "a file name");
        } else if (wantsOutput && arg == "-o") {
            parsed.output = optionValue(args, i, "a file name");
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
