// doctor [--port PATH] [--probe] [--trace FILE]: what stands between this
// computer and the radio, one line per check.
#include "Commands.h"
#include "ConnectionCheck.h"
#include "OpenFailure.h"
#include "Options.h"
#include "PortSession.h"
#include "RadioProbe.h"
#include "RadioRun.h"
#include "StopSignals.h"

#include <algorithm>
#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli doctor [--port PATH] [--probe] [--trace FILE]\n"
    "\n"
    "Checks the serial port PATH, or every serial port when none is named: that\n"
    "it exists and is a serial line, what adapter it is, whether you may use it,\n"
    "which other programs have it open, services known to take USB serial\n"
    "adapters, and whether it is the system console. Prints one line per check,\n"
    "\"ok\", \"warn\" or \"fail\", with a remedy below each problem, and for a USB\n"
    "adapter the udev rule that gives the logged-in user access.\n"
    "\n"
    "--probe (needs --port) also opens the port, sends the handshake and the first\n"
    "read command, and says whether the radio answered, stayed silent, answered\n"
    "in part, or whether the cable echoes what is sent.\n"
    "--trace FILE writes the probe's bytes and events into FILE.\n"
    "\n"
    "Exit status: 0 when no check failed, 1 when one did, 2 on wrong usage.\n";

const OptionSpec kProbeOption{"--probe"};

struct DoctorArguments {
    std::string port;
    std::string traceFile;
    bool probe = false;
};

DoctorArguments parseDoctorArguments(const Arguments& args)
{
    const ParsedOptions options = parseOptions(args, {kPortOption, kTraceOption, kProbeOption});
    if (!options.operands.empty())
        throw UsageError("unexpected argument '" + options.operands.front() + "'");
    DoctorArguments parsed;
    parsed.port = options.value(kPortOption.spelling);
    parsed.traceFile = options.value(kTraceOption.spelling);
    parsed.probe = options.has(kProbeOption.spelling);
    if (parsed.probe && parsed.port.empty())
        throw UsageError("option '--probe' needs '--port PATH'");
    return parsed;
}

// Opens the port, probes the radio and closes it again.
void probePort(const DoctorArguments& args, CheckReport& report)
{
    const auto app = coreApplication();
    std::atomic<bool> stop{false};
    PortSession session(stop, args.traceFile);
    const StopSignals signalWatch(stop);
    PortSession::OpenFailure failure;
    if (!session.open(args.port, failure)) {
        // The component's text, then the reason on one line as the remedy.
        std::string reason = describeOpenFailure(args.port, failure.osError);
        std::replace(reason.begin(), reason.end(), '\n', ' ');
        report.add(CheckLevel::Fail, "the probe could not open " + args.port + ": " + failure.error, reason);
        return;
    }
    const ProbeResult result = probeRadio(session.link());
    if (result.verdict == ProbeVerdict::Answered)
        session.finishSending(); // the end byte must leave before the port closes
    session.close();
    reportProbe(args.port, result, report);
}

int runDoctor(const Arguments& args)
{
    const DoctorArguments parsed = parseDoctorArguments(args);
    CheckReport report = checkConnection(parsed.port, SystemView{});
    if (parsed.probe)
        probePort(parsed, report);
    std::cout << report.text();
    return report.failed() ? kExitError : kExitSuccess;
}

} // namespace

const Command kDoctorCommand{"doctor", kUsage, runDoctor};

} // namespace zk::cli
