// read --port PATH -o PLAN.bc: the radio's channel plan into a channel file;
// with several ports, one file per radio in a folder.
#include "Commands.h"
#include "FleetProcedures.h"
#include "Output.h"
#include "PortResults.h"
#include "RadioRun.h"
#include "TraceFile.h"
#include "TransferOptions.h"

#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli read --port PATH -o PLAN.bc [--trace FILE]\n"
    "       zk-h41-cli read --port PATH --port PATH... | --all-ports -o DIR [--json]\n"
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
    "since the port opened, and the port's events into FILE as they happen.\n"
    "\n"
    "With several --port options, or --all-ports (every port 'ports' lists),\n"
    "all radios are read at the same time into the existing folder DIR, one\n"
    "file per port named after the device (DIR/ttyUSB0.bc). Progress lines read\n"
    "\"PORT: block N/5\"; at the end one line per port on standard output,\n"
    "\"PORT: Read Success! (FILE)\" or the failure and its reasons. --json\n"
    "prints those results as one JSON object per line instead. The exit status\n"
    "is 0 only when every radio was read.\n";

int runRead(const Arguments& args)
{
    const TransferArguments parsed = parseTransferArguments(args, {.outputName = "PLAN.bc"});
    if (!parsed.operands.empty())
        throw UsageError("unexpected argument '" + parsed.operands.front() + "'");
    const TraceFileCheck traceCheck(parsed.traceFile, {parsed.output});
    if (!parsed.single()) {
        const std::vector<std::string> ports = parsed.portList();
        return runEachPort(ports, readProcedure(ports, filesInOutputFolder(ports, parsed.output, ".bc")), parsed.json);
    }
    // A fresh table: channel numbers 1..16 and every setting at its first
    // item, then overwritten block by block from the radio.
    ChannelTable table;
    if (!runOnRadio(parsed.singlePort(), table, {readStep()}, {parsed.traceFile}))
        return kExitError;
    writePlan(parsed.output, table);
    (isStandardStream(parsed.output) ? std::cerr : std::cout) << kReadSuccess << '\n';
    return kExitSuccess;
}

} // namespace

const Command kReadCommand{"read", kUsage, runRead};

} // namespace zk::cli
