#pragma once
// What read and write share: opening the serial port, running the transfer
// engine on an event loop without windows, progress lines, the failure
// messages, Ctrl-C, and closing the port only after the last byte left.
#include "ChannelTable.h"
#include "Fleet.h"
#include "TransferEngine.h"
#include "Usage.h"

#include <functional>
#include <string>
#include <vector>

namespace zk::cli {

enum class Direction { Read, Write };

// Runs one transfer between the table and the radio on the serial port at
// `port`. Progress and every failure go to standard error; the success
// message is the caller's, since a read still has a file to write. True only
// when every block went through. The port is closed on return.
// traceFile, when not empty, receives the serial trace.
bool transferWithRadio(Direction direction, const std::string& port, ChannelTable& table,
                       const std::string& traceFile = {});

// One procedure of a command that may run several on the same port (a
// backup, then the write). `direction` chooses the failure messages;
// `afterwards` runs once the procedure succeeded and its last byte left,
// before the next step starts, and may throw AppError to stop the steps.
struct RadioStep {
    Direction direction;
    std::function<TransferResult(TransferEngine&, const TransferEngine::ProgressFunction&)> procedure;
    std::function<void()> afterwards = {};
};

// The plain read or write as a step.
RadioStep transferStep(Direction direction);

// Runs the steps in order on one open port, as transferWithRadio runs its
// one procedure, stopping at the first that does not succeed. The engine's
// table is `table`.
bool runOnRadio(const std::string& port, ChannelTable& table, const std::vector<RadioStep>& steps,
                const std::string& traceFile = {});

// The same on a port thread of several (see Fleet.h): stops when the
// context's stop flag is set, reports through the context and hands the
// outcome back instead of printing it. On success the result's line is the
// success text of the last step's direction.
PortResult runOnPort(ChannelTable& table, const std::vector<RadioStep>& steps, const PortContext& context);

// Parses "--port PATH" (repeatable), "--all-ports", "--json", "--trace FILE"
// and, when `output` is given, "-o FILE"; other options are refused and
// operands are collected in order.
struct TransferArguments {
    std::vector<std::string> ports;
    bool allPorts = false;
    bool json = false;
    std::string output;
    std::string traceFile;
    Arguments operands;

    // One named port and no --json: the single-radio output.
    bool single() const { return ports.size() == 1 && !allPorts && !json; }
    // The named ports, or every serial port for --all-ports; a usage error
    // when that leaves none or names one twice.
    std::vector<std::string> portList() const;
    // The one port of a command that takes no more; a usage error otherwise.
    const std::string& singlePort() const;
};
TransferArguments parseTransferArguments(const Arguments& args, bool wantsOutput,
                                         const char* outputName = "PLAN.bc");

} // namespace zk::cli
