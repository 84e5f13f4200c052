#pragma once
// What read and write share: opening the serial port, running the transfer
// engine on an event loop without windows, progress lines, the failure
// messages, Ctrl-C, and closing the port only after the last byte left.
#include "ChannelTable.h"
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

// Runs the steps in order on one open port, as transferWithRadio runs its
// one procedure, stopping at the first that does not succeed. The engine's
// table is `table`.
bool runOnRadio(const std::string& port, ChannelTable& table, const std::vector<RadioStep>& steps,
                const std::string& traceFile = {});

// Parses "--port PATH", "--trace FILE" and, when `output` is given, "-o FILE"; other options
// are refused and operands are collected in order.
struct TransferArguments {
    std::string port;
    std::string output;
    std::string traceFile;
    Arguments operands;
};
TransferArguments parseTransferArguments(const Arguments& args, bool wantsOutput,
                                         const char* outputName = "PLAN.bc");

} // namespace zk::cli
