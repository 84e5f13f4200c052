// read --port PATH -o PLAN.bc: the radio's channel plan into a channel file.
#include "Commands.h"
#include "Output.h"
#include "RadioTransfer.h"
#include "TransferEngine.h"

#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli read --port PATH -o PLAN.bc [--trace FILE]\n"
    "\n"
    "Reads the sixteen channels and five settings out of the radio on the\n"
    "serial port PATH (9600 baud, 8 data bits, no parity, 1 stop bit) and\n"
    "writes them into the channel file PLAN.bc (the name is used as given),\n"
    "or onto standard output when it is '-'.\n"
    "The file is written only after every block has been read: after a failed\n"
    "read it is neither created nor changed.\n"
    "\n"
    "Progress goes to standard error as lines \"block N/5\". Then \"Read Success!\"\n"
    "is printed on standard output (on standard error with '-o -'), or\n"
    "\"Read Error!\" on standard error when the radio did not answer a block in\n"
    "time. Ctrl-C (or SIGTERM, or a hang-up) stops the read at its next step,\n"
    "sending nothing more, and reports \"Interrupted\".\n"
    "\n"
    "--trace FILE writes every byte sent and received, with the milliseconds\n"
    "since the port opened, and the port's events into FILE as they happen.\n";

int runRead(const Arguments& args)
{
    const TransferArguments parsed = parseTransferArguments(args, true);
    if (!parsed.operands.empty())
        throw UsageError("unexpected argument '" + parsed.operands.front() + "'");
    // A fresh table: channel numbers 1..16 and every setting at its first
    // item, then overwritten block by block from the radio.
    ChannelTable table;
    if (!transferWithRadio(Direction::Read, parsed.port, table, parsed.traceFile))
        return kExitError;
    writePlan(parsed.output, table);
    (isStandardStream(parsed.output) ? std::cerr : std::cout) << kReadSuccess << '\n';
    return kExitSuccess;
}

} // namespace

const Command kReadCommand{"read", kUsage, runRead};

} // namespace zk::cli
