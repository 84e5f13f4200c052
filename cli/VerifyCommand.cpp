// verify --port PATH PLAN.bc: does the radio hold the channel file's plan?
#include "ChannelFile.h"
#include "Commands.h"
#include "FleetProcedures.h"
#include "PortResults.h"
#include "RadioCompare.h"
#include "RadioRun.h"
#include "TraceFile.h"
#include "TransferOptions.h"

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli verify --port PATH PLAN.bc [--trace FILE]\n"
    "       zk-h41-cli verify --port PATH --port PATH... | --all-ports PLAN.bc [--json]\n"
    "\n"
    "Reads the radio on the serial port PATH, as read does, and compares its\n"
    "sixteen channels and five settings with the channel file PLAN.bc, as a\n"
    "read would show them. Nothing is written into the radio or any file.\n"
    "\n"
    "Progress goes to standard error as lines \"block N/5\". When everything\n"
    "agrees, \"Radio matches PLAN.bc\" is printed and the exit status is 0.\n"
    "Otherwise each differing channel or setting is printed on a line of its\n"
    "own, such as\n"
    "  channel 5: RX Frequency radio 146.00000, plan 146.50000\n"
    "  setting Squelch Level: radio 3, plan 5\n"
    "followed by \"Radio differs from PLAN.bc\" on standard error, and the exit\n"
    "status is 1. A read that fails reports \"Read Error!\", also with status 1.\n"
    "\n"
    "--trace FILE writes every byte sent and received into FILE.\n"
    "\n"
    "With several ports all radios are read at the same time; one line per\n"
    "port follows, \"PORT: Radio matches PLAN.bc\" or the differences, and the\n"
    "exit status is 0 only when every radio matches. --json prints JSON lines.\n";

int runVerify(const Arguments& args)
{
    const TransferArguments parsed = parseTransferArguments(args);
    const std::string& planFile = singleOperand(parsed.operands, "channel file");
    const TraceFileCheck traceCheck(parsed.traceFile, {planFile});
    ChannelTable plan;
    openChannelFile(planFile, plan);
    // A plan the radio cannot hold is refused before anything is sent.
    encodePlan(plan);
    if (!parsed.single())
        return runEachPort(parsed.portList(), verifyProcedure(plan, planFile), parsed.json);
    ChannelTable unused;
    std::vector<std::string> differences;
    if (!runOnRadio(parsed.singlePort(), unused, {verifyPlanStep(plan, differences)}, {parsed.traceFile}))
        return kExitError;
    return printComparison(differences, planFile) ? kExitSuccess : kExitError;
}

} // namespace

const Command kVerifyCommand{"verify", kUsage, runVerify};

} // namespace zk::cli
