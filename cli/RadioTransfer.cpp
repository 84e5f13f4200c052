#include "RadioTransfer.h"

#include "Codec.h"
#include "PortAccess.h"
#include "PortSession.h"
#include "SerialPortList.h"
#include "TransferEngine.h"
#include "Usage.h"

#include <algorithm>
#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kInterrupted = "Interrupted";

void printProgress(int blocksDone)
{
    std::cerr << "block " << blocksDone << '/' << kBlocks << '\n';
}

PortResult runTransfer(Direction direction, ChannelTable& table, const PortContext& context, PortSession& session)
{
    const std::string& port = context.port;
    PortResult outcome;
    outcome.port = port;
    if (isConsolePort(port) && context.note)
        context.note("Warning: " + port + " is the system console; opening it takes the console line over.");
    PortSession::OpenFailure failure;
    if (!session.open(port, &failure)) {
        outcome.lines = {failure.error, failure.reason};
        return outcome;
    }
    TransferEngine engine(session.link(), table);
    // Replies that went missing may have gone to another reader.
    engine.explainFailure = [&port] { return holdersText(port, portHolders(port, SystemView{})); };
    const bool reading = direction == Direction::Read;
    const auto progress = [&](int blocksDone) {
        outcome.blocksDone = blocksDone;
        if (context.progress)
            context.progress(blocksDone);
    };

    TransferResult result{TransferOutcome::Aborted, {}, false};
    // A signal that came while the port opened stops us before anything is sent.
    if (!session.interrupted())
        result = reading ? engine.read(progress) : engine.write(progress);
    if (result.outcome == TransferOutcome::Succeeded) {
        // The engine's waits have seen the writer's notice for every command;
        // only the end byte, sent after the last wait, can still be queued.
        session.finishSending();
    }
    session.close();
    outcome.sentAnything = result.sentAnything;

    const char* errorText = reading ? kReadError : kWriteError;
    switch (result.outcome) {
    case TransferOutcome::Succeeded:
        outcome.ok = true;
        outcome.lines = {reading ? kReadSuccess : kWriteSuccess};
        break;
    case TransferOutcome::Failed:
        outcome.lines = {errorText};
        if (const std::string detail = engine.failureDetail(); !detail.empty())
            outcome.lines.push_back(detail);
        break;
    case TransferOutcome::PortNotReady:
        outcome.lines = {reading ? kReadPortNotReady : kWritePortNotReady};
        break;
    case TransferOutcome::Stopped:
    case TransferOutcome::Aborted:
        outcome.lines = {result.outcome == TransferOutcome::Stopped ? result.error : kInterrupted};
        // Part of the plan may have reached the radio: say the write failed.
        if (!reading && result.sentAnything)
            outcome.lines.push_back(kWriteError);
        break;
    case TransferOutcome::Busy:
        outcome.lines = {std::string(kProgramName) + ": internal error: a transfer is already running"};
        break;
    }
    return outcome;
}

} // namespace

bool transferWithRadio(Direction direction, const std::string& port, ChannelTable& table,
                       const std::string& traceFile)
{
    PortSession session(traceFile);
    PortContext context;
    context.port = port;
    context.progress = printProgress;
    context.note = [](const std::string& line) { std::cerr << line << '\n'; };
    const PortResult outcome = runTransfer(direction, table, context, session);
    if (outcome.ok)
        return true;
    for (const std::string& line : outcome.lines)
        std::cerr << line << '\n';
    return false;
}

PortResult transferOnPort(Direction direction, ChannelTable& table, const PortContext& context,
                          const std::string& traceFile)
{
    PortSession session(traceFile, *context.stop);
    return runTransfer(direction, table, context, session);
}

PortProcedure writePlanProcedure(const ChannelTable& plan)
{
    return [plan](const PortContext& context) {
        ChannelTable own = plan; // each radio's engine has a table of its own
        return transferOnPort(Direction::Write, own, context);
    };
}

std::vector<std::string> TransferArguments::portList() const
{
    std::vector<std::string> list = ports;
    if (allPorts) {
        // The list leaves the consoles out, so --all-ports never takes one over.
        for (const std::string& port : enumerateSerialPorts())
            if (std::find(list.begin(), list.end(), port) == list.end())
                list.push_back(port);
        if (list.empty())
            throw UsageError("--all-ports: no serial port found");
    }
    for (auto it = list.begin(); it != list.end(); ++it)
        if (std::find(it + 1, list.end(), *it) != list.end())
            throw UsageError("port '" + *it + "' named twice");
    return list;
}

TransferArguments parseTransferArguments(const Arguments& args, bool wantsOutput)
{
    TransferArguments parsed;
    bool haveOutput = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--port") {
            parsed.ports.push_back(optionValue(args, i, "a device path"));
        } else if (arg == "--all-ports") {
            parsed.allPorts = true;
        } else if (arg == "--json") {
            parsed.json = true;
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
    if (parsed.ports.empty() && !parsed.allPorts)
        throw UsageError("missing '--port PATH'");
    if (!parsed.single() && !parsed.traceFile.empty())
        throw UsageError("--trace takes a single port");
    if (wantsOutput && !haveOutput)
        throw UsageError("missing '-o PLAN.bc'");
    return parsed;
}

} // namespace zk::cli
