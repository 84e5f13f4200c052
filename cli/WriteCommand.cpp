// write --port PATH PLAN.bc: a channel file into the radio, or into several
// radios at once.
#include "ChannelFile.h"
#include "Commands.h"
#include "FleetProcedures.h"
#include "ImageFile.h"
#include "PortResults.h"
#include "RadioCompare.h"
#include "RadioRun.h"
#include "TraceFile.h"
#include "TransferOptions.h"

#include <chrono>
#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli write --port PATH PLAN.bc [--verify] [--backup DIR] [--settle MS]\n"
    "                        [--trace FILE]\n"
    "       zk-h41-cli write --port PATH --port PATH... | --all-ports PLAN.bc [--verify]\n"
    "                        [--backup DIR] [--settle MS] [--json]\n"
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
    "--backup DIR first reads the radio's memory into a new image file in the\n"
    "folder DIR (made when missing), named by date and time, such as\n"
    "radio-2026-12-08-044512.img, as 'backup' would; the write starts only\n"
    "once the image is saved. 'restore' puts such an image back.\n"
    "\n"
    "--verify reads the radio again after the write and compares it with\n"
    "PLAN.bc, as 'verify' does: \"Radio matches PLAN.bc\", or one line per\n"
    "differing channel or setting and exit status 1.\n"
    "\n"
    "With --backup or --verify each step names itself in its progress lines\n"
    "(\"backup: block N/5\", \"write: block N/5\", \"verify: block N/5\") and in\n"
    "its failure: \"Backup failed (Read Error!): nothing was written.\", or\n"
    "\"Check after writing failed: Read Error!\" after \"Write Success!\".\n"
    "Between two steps the radio is given --settle MS milliseconds after the\n"
    "end byte (500 unless given).\n"
    "\n"
    "--trace FILE writes every byte sent and received, with the milliseconds\n"
    "since the port opened, and the port's events into FILE as they happen.\n"
    "FILE may not be PLAN.bc or the backup folder; a trace that could not be\n"
    "written in full makes the exit status 1.\n"
    "\n"
    "With several --port options, or --all-ports (every port 'ports' lists),\n"
    "all radios are written at the same time, each exactly as a single one.\n"
    "Progress lines read \"PORT: block N/5\"; at the end one line per port on\n"
    "standard output, \"PORT: Write Success!\" or the failure and its reasons.\n"
    "--json prints those results as one JSON object per line instead. The exit\n"
    "status is 0 only when every radio was written (and, with --verify, matches).\n"
    "--backup DIR then keeps each radio's image in a folder per port, such as\n"
    "DIR/ttyUSB0/radio-2026-12-08-044512.img.\n";

int runWrite(const Arguments& args)
{
    const TransferArguments parsed = parseTransferArguments(args, {.safety = true});
    const SafetyOptions& safety = parsed.safety;
    const std::string& plan = singleOperand(parsed.operands, "channel file");
    const TraceFileCheck traceCheck(parsed.traceFile, {plan, safety.backupFolder});
    ChannelTable table;
    openChannelFile(plan, table);
    // Nothing is sent, not even the backup's read, for a plan the radio cannot hold.
    encodePlan(table);
    if (!parsed.single()) {
        const std::vector<std::string> ports = parsed.portList();
        checkBackupFoldersOf(ports, safety);
        return runEachPort(ports, withSettle(writeProcedure(table, plan, safety), parsed.settleMs), parsed.json);
    }

    std::vector<TransferStep> steps;
    RadioImage backup;
    if (!safety.backupFolder.empty())
        steps.push_back(savedBackupStep(backup, newBackupPath(safety.backupFolder, std::chrono::system_clock::now()),
                                        std::cout));
    steps.push_back(writeStep());
    steps.back().afterwards = [] { std::cout << kWriteSuccess << '\n'; };
    std::vector<std::string> differences;
    if (safety.verify)
        steps.push_back(verifyPlanStep(table, differences));
    if (!runOnRadio(parsed.singlePort(), table, steps, {parsed.traceFile, parsed.settleMs}))
        return kExitError;
    return !safety.verify || printComparison(differences, plan) ? kExitSuccess : kExitError;
}

} // namespace

const Command kWriteCommand{"write", kUsage, runWrite};

} // namespace zk::cli
