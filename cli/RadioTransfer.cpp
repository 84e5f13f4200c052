#include "RadioTransfer.h"

#include "Codec.h"
#include "PortAccess.h"
#include "PortSession.h"
#include "SerialPortList.h"
#include "TransferEngine.h"
#include "Usage.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kInterrupted = "Interrupted";

void printProgress(int blocksDone)
{
    std::cerr << "block " << blocksDone << '/' << kBlocks << '\n';
}

// Why a procedure did not succeed, in the lines a single-port run prints.
std::vector<std::string> failureLines(const TransferResult& result, bool reading, const TransferEngine& engine)
{
    const char* errorText = reading ? kReadError : kWriteError;
    switch (result.outcome) {
    case TransferOutcome::Succeeded:
        break;
    case TransferOutcome::Failed: {
        std::vector<std::string> lines = {errorText};
        if (const std::string detail = engine.failureDetail(); !detail.empty())
            lines.push_back(detail);
        return lines;
    }
    case TransferOutcome::PortNotReady:
        return {reading ? kReadPortNotReady : kWritePortNotReady};
    case TransferOutcome::Stopped:
    case TransferOutcome::Aborted: {
        std::vector<std::string> lines = {result.outcome == TransferOutcome::Stopped ? result.error : kInterrupted};
        // Part of the plan may have reached the radio: say the write failed.
        if (!reading && result.sentAnything)
            lines.push_back(kWriteError);
        return lines;
    }
    case TransferOutcome::Busy:
        return {std::string(kProgramName) + ": internal error: a transfer is already running"};
    }
    return {};
}

PortResult runSteps(ChannelTable& table, const std::vector<RadioStep>& steps, const PortContext& context,
                    PortSession& session)
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
    const auto progress = [&](int blocksDone) {
        outcome.blocksDone = blocksDone;
        if (context.progress)
            context.progress(blocksDone);
    };

    for (const RadioStep& step : steps) {
        const bool reading = step.direction == Direction::Read;
        outcome.blocksDone = 0;
        TransferResult result{TransferOutcome::Aborted, {}, false};
        // A signal that came while the port opened (or during the step
        // before) stops us before anything more is sent.
        if (!session.interrupted())
            result = step.procedure(engine, progress);
        outcome.sentAnything = result.sentAnything;
        if (result.outcome == TransferOutcome::Succeeded) {
            // The engine's waits have seen the writer's notice for every command;
            // only the end byte, sent after the last wait, can still be queued.
            session.finishSending();
            if (step.afterwards)
                step.afterwards();
            outcome.lines = {reading ? kReadSuccess : kWriteSuccess};
            ++outcome.stepsDone;
            continue;
        }
        session.close();
        outcome.lines = failureLines(result, reading, engine);
        return outcome;
    }
    session.close();
    outcome.ok = true;
    return outcome;
}

} // namespace

RadioStep transferStep(Direction direction)
{
    return {direction, [direction](TransferEngine& engine, const TransferEngine::ProgressFunction& progress) {
                return direction == Direction::Read ? engine.read(progress) : engine.write(progress);
            }};
}

bool transferWithRadio(Direction direction, const std::string& port, ChannelTable& table,
                       const std::string& traceFile)
{
    return runOnRadio(port, table, {transferStep(direction)}, traceFile);
}

bool runOnRadio(const std::string& port, ChannelTable& table, const std::vector<RadioStep>& steps,
                const std::string& traceFile)
{
    PortSession session(traceFile);
    PortContext context;
    context.port = port;
    context.progress = printProgress;
    context.note = [](const std::string& line) { std::cerr << line << '\n'; };
    const PortResult outcome = runSteps(table, steps, context, session);
    if (outcome.ok)
        return true;
    for (const std::string& line : outcome.lines)
        std::cerr << line << '\n';
    return false;
}

PortResult runOnPort(ChannelTable& table, const std::vector<RadioStep>& steps, const PortContext& context)
{
    PortSession session({}, *context.stop);
    return runSteps(table, steps, context, session);
}

const std::string& TransferArguments::singlePort() const
{
    if (!single())
        throw UsageError("this command takes a single --port, without --all-ports or --json");
    return ports.front();
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
    // A device under two names (a by-id link and its node) would be opened
    // twice, and the second opening fail as if that radio were at fault.
    std::vector<std::string> devices;
    for (const std::string& port : list) {
        std::error_code error;
        const std::string device = std::filesystem::weakly_canonical(port, error).string();
        const auto same = std::find(devices.begin(), devices.end(), error ? port : device);
        if (same != devices.end())
            throw UsageError("port '" + port + "' is the same device as '" +
                             list[static_cast<std::size_t>(same - devices.begin())] + "'");
        devices.push_back(error ? port : device);
    }
    return list;
}

TransferArguments parseTransferArguments(const Arguments& args, bool wantsOutput, const char* outputName)
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
        throw UsageError(std::string("missing '-o ") + outputName + "'");
    return parsed;
}

} // namespace zk::cli
