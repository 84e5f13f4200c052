// backup --port PATH -o FILE.img: the radio's memory as a raw image.
#include "Commands.h"
#include "FleetProcedures.h"
#include "PortResults.h"
#include "RadioRun.h"
#include "TraceFile.h"
#include "TransferOptions.h"

#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli backup --port PATH -o FILE.img [--trace FILE]\n"
    "       zk-h41-cli backup --port PATH --port PATH... | --all-ports -o DIR [--json]\n"
    "\n"
    "Reads the five memory blocks of the radio on the serial port PATH, as read\n"
    "does, and stores them as a 512-byte image in FILE.img (or on standard\n"
    "output when it is '-'): each block's 64 memory bytes at the block's\n"
    "address, FF everywhere else, the layout zk-h41-sim --image uses. The image\n"
    "keeps every byte, also those no channel cell shows; 'restore' puts it back.\n"
    "The file is written only after every block has been read.\n"
    "\n"
    "Progress goes to standard error as lines \"block N/5\", then \"Backup saved\n"
    "to FILE.img\" on standard output, or \"Read Error!\" on standard error.\n"
    "\n"
    "--trace FILE writes every byte sent and received into FILE.\n"
    "\n"
    "With several ports all radios are read at the same time, each into the\n"
    "existing folder DIR as a file named after the device (DIR/ttyUSB0.img);\n"
    "one line per port follows, and the exit status is 0 only when every\n"
    "backup was saved. --json prints JSON lines.\n";

int runBackup(const Arguments& args)
{
    const TransferArguments parsed = parseTransferArguments(args, {.outputName = "FILE.img"});
    if (!parsed.operands.empty())
        throw UsageError("unexpected argument '" + parsed.operands.front() + "'");
    const TraceFileCheck traceCheck(parsed.traceFile, {parsed.output});
    if (!parsed.single()) {
        const std::vector<std::string> ports = parsed.portList();
        return runEachPort(ports, backupProcedure(ports, filesInOutputFolder(ports, parsed.output, ".img")),
                           parsed.json);
    }
    ChannelTable unused;
    RadioImage image;
    const bool ok =
        runOnRadio(parsed.singlePort(), unused, {savedBackupStep(image, parsed.output, std::cout)}, {parsed.traceFile});
    return ok ? kExitSuccess : kExitError;
}

} // namespace

const Command kBackupCommand{"backup", kUsage, runBackup};

} // namespace zk::cli
