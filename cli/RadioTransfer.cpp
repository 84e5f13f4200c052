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

// Says on standard error why a procedure did not succeed; true when it did.
bool reportOutcome(const TransferResult& result, bool reading, const TransferEngine& engine)
{
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

} // namespace

bool transferWithRadio(Direction direction, const std::string& port, ChannelTable& table,
                       const std::string& traceFile)
{
    const auto procedure = [direction](TransferEngine& engine, const TransferEngine::ProgressFunction& progress) {
        return direction == Direction::Read ? engine.read(progress) : engine.write(progress);
    };
    return runOnRadio(port, table, {{direction, procedure}}, traceFile);
}

bool runOnRadio(const std::string& port, ChannelTable& table, const std::vector<RadioStep>& steps,
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

    for (const RadioStep& step : steps) {
        const bool reading = step.direction == Direction::Read;
        TransferResult result{TransferOutcome::Aborted, {}, false};
        // A signal that came while the port opened (or during the step
        // before) stops us before anything more is sent.
        if (!session.interrupted())
            result = step.procedure(engine, printProgress);
        if (result.outcome == TransferOutcome::Succeeded) {
            // The engine's waits have seen the writer's notice for every command;
            // only the end byte, sent after the last wait, can still be queued.
            session.finishSending();
            if (step.afterwards)
                step.afterwards();
            continue;
        }
        session.close();
        return reportOutcome(result, reading, engine);
    }
    session.close();
    return true;
}

TransferArguments parseTransferArguments(const Arguments& args, bool wantsOutput, const char* outputName)
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
        throw UsageError(std::string("missing '-o ") + outputName + "'");
    return parsed;
}

} // namespace zk::cli
