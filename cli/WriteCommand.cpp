// write --port PATH PLAN.bc: a channel file into the radio, or into several
// radios at once.
#include "ChannelFile.h"
#include "Commands.h"
#include "RadioTransfer.h"
#include "TransferEngine.h"

#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli write --port PATH PLAN.bc [--trace FILE]\n"
    "       zk-h41-cli write --port PATH --port PATH... | --all-ports PLAN.bc [--json]\n"
    "\n"
    "Writes the sixteen channels and five settings of the channel file PLAN.bc\n"
    "into the radio on the serial port PATH (9600 baud, 8 data bits, no parity,\n"
    "1 stop bit). A cell that cannot be stored in the radio is reported before\n"
    "anything is sent.\n"
    "\n"
    "Progress goes to standard error as lines \"block N/5\". Then \"Write Success!\"\n"
    "is printed on standard output, or \"Write Error!\" on standard error when the\n"
    "radio did not acknowledge a block in time; the blocks acknowledged before\n"
    "it are in the radio. Ctrl-C (or SIGTERM, or a hang-up) stops the write at\n"
    "its next step, sending nothing more, and reports \"Interrupted\".\n"
    "\n"
    "--trace FILE writes every byte sent and received, with the milliseconds\n"
    "since the port opened, and the port's events into FILE as they happen.\n"
    "\n"
    "With several --port options, or --all-ports (every port 'ports' lists),\n"
    "all radios are written at the same time, each exactly as a single one.\n"
    "Progress lines read \"PORT: block N/5\"; at the end one line per port on\n"
    "standard output, \"PORT: Write Success!\" or the failure and its reasons.\n"
    "--json prints those results as one JSON object per line instead. The exit\n"
    "status is 0 only when every radio was written.\n";

int runWrite(const Arguments& args)
{
    const TransferArguments parsed = parseTransferArguments(args, false);
    const std::string& plan = singleOperand(parsed.operands, "channel file");
    ChannelTable table;
    openChannelFile(plan, table);
    if (!parsed.single())
        return runOnPorts(parsed.portList(), writePlanProcedure(table), parsed.json);
    if (!transferWithRadio(Direction::Write, parsed.ports.front(), table, parsed.traceFile))
        return kExitError;
    std::cout << kWriteSuccess << '\n';
    return kExitSuccess;
}

} // namespace

const Command kWriteCommand{"write", kUsage, runWrite};

} // namespace zk::cli
