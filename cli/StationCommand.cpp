// station PLAN.bc: programs each radio whose adapter is plugged in, once,
// until Ctrl-C.
#include "AdapterSerial.h"
#include "ChannelFile.h"
#include "Commands.h"
#include "Errors.h"
#include "FleetProcedures.h"
#include "Options.h"
#include "PathPortEvents.h"
#include "PortResults.h"
#include "RadioCompare.h"
#include "RadioRun.h"
#include "SerialPortList.h"
#include "Station.h"
#include "StopSignals.h"
#include "TransferOptions.h"
#include "UdevPortEvents.h"
#include "VisibleText.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <iostream>
#include <memory>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli station PLAN.bc [--no-verify] [--backup DIR] [--ports PATH,PATH...]\n"
    "                          [--settle MS] [--step-settle MS]\n"
    "\n"
    "A programming station: waits for serial adapters to be plugged in and\n"
    "writes the channel file PLAN.bc into the radio on each new one, several at\n"
    "once when several are plugged in. Each adapter gets a settle time first\n"
    "(--settle, 1000 ms unless given). For each radio one line goes to standard\n"
    "output, \"DATE TIME PORT SERIAL: Write Success! (verified against PLAN.bc)\"\n"
    "or the failure and its reasons (SERIAL is the adapter's USB serial\n"
    "number, '-' when it has none), and the terminal bell rings. An adapter\n"
    "is programmed again only after it has been unplugged. Adapters already\n"
    "plugged in at the start are left alone until they are plugged in again.\n"
    "\n"
    "--backup DIR first reads each radio's memory into a new image in a folder\n"
    "per port, such as DIR/ttyUSB0/radio-2026-12-08-044512.img; the write starts\n"
    "only once it is saved. Each radio is read back after the write and\n"
    "compared with PLAN.bc (an unattended line has nobody to notice a radio\n"
    "that refused the blocks); a difference makes the radio's result a failure\n"
    "that lists the differences. --no-verify skips the read-back. Between two\n"
    "steps on one radio it is given --step-settle MS milliseconds after the end\n"
    "byte (500 unless given). Two names for one device are refused.\n"
    "\n"
    "--ports PATH,PATH... watches only the named paths (device nodes or links\n"
    "to them) and programs the radio behind each as soon as the path exists,\n"
    "at the start too.\n"
    "\n"
    "Ctrl-C (or SIGTERM, or a hang-up) stops running transfers at their next\n"
    "step and ends the station with a summary: how many radios were programmed\n"
    "and which failed, with the reasons. The exit status is 0 when none failed.\n"
    "When standard output fails (a reader that went away), no further radio\n"
    "is taken; those in progress finish, the summary goes to standard error\n"
    "and the exit status is 1.\n";

constexpr int kDefaultSettleMs = 1000;

struct StationOptions {
    std::string plan;
    SafetyOptions safety;
    std::vector<std::string> ports;
    int settleMs = kDefaultSettleMs;
    int stepSettleMs = kStepSettleMs;
};

std::vector<std::string> splitList(const std::string& text)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        if (comma > start)
            items.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

const OptionSpec kPortsOption{"--ports", "a list of device paths"};
const OptionSpec kNoVerifyOption{"--no-verify"};
// Its --settle is the wait for a newly plugged adapter; the pause between
// the steps on one radio has a name of its own.
const OptionSpec kStepSettleOption{"--step-settle", "milliseconds"};

StationOptions parseStation(const Arguments& args)
{
    const ParsedOptions parsed = parseOptions(
        args, {kVerifyOption, kNoVerifyOption, kBackupOption, kPortsOption, kSettleOption, kStepSettleOption});
    StationOptions options;
    options.safety = safetyOptionsOf(parsed);
    // Verified unless told not to; --verify is still taken, for old scripts.
    if (parsed.has(kNoVerifyOption.spelling) && parsed.has(kVerifyOption.spelling))
        throw UsageError("--verify and --no-verify contradict each other");
    options.safety.verify = !parsed.has(kNoVerifyOption.spelling);
    options.stepSettleMs = millisecondsOf(parsed, kStepSettleOption, kStepSettleMs);
    if (parsed.has(kPortsOption.spelling)) {
        options.ports = splitList(parsed.value(kPortsOption.spelling));
        if (options.ports.empty())
            throw UsageError("option '--ports' needs a list of device paths");
    }
    options.settleMs = millisecondsOf(parsed, kSettleOption, kDefaultSettleMs);
    options.plan = singleOperand(parsed.operands, "channel file");
    refuseSameDevice(options.ports);
    checkBackupFoldersOf(options.ports, options.safety);
    return options;
}

// "DATE TIME PORT SERIAL" for a result line, SERIAL '-' for an adapter without one.
std::string resultLabel(const StationResult& result)
{
    const std::time_t when = std::chrono::system_clock::to_time_t(result.finished);
    std::tm local{};
    ::localtime_r(&when, &local);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text) + ' ' + visibleText(result.port) + ' ' +
           (result.adapter.empty() ? "-" : visibleText(result.adapter));
}

// How many radios were programmed and which failed, with the reasons.
int printSummary(const std::vector<StationResult>& results, std::ostream& out)
{
    const auto failed = static_cast<std::size_t>(
        std::count_if(results.begin(), results.end(), [](const StationResult& entry) { return !entry.result.ok; }));
    printLine(out, "Programmed " + std::to_string(results.size() - failed) + ", failed " +
                             std::to_string(failed) + '.');
    for (const StationResult& entry : results)
        if (!entry.result.ok)
            printLine(out, "Failed: " + summaryLine(entry.result, resultLabel(entry)));
    return failed == 0 ? kExitSuccess : kExitError;
}

// Runs the station over the source until Ctrl-C, printing as it goes.
int runStationOn(Station& station, PortEventSource& events, const std::function<void()>& startWatching)
{
    std::atomic<bool> signalled{false};
    const StopSignals signalWatch(signalled, [&station] { station.stop(); });
    printLine(std::cerr, "Waiting for radios; Ctrl-C ends.");
    station.run(events, startWatching);
    if (!std::cout.good()) {
        // What was printed did not all get out: the summary goes where it can.
        printSummary(station.results(), std::cerr);
        return kExitError;
    }
    return printSummary(station.results(), std::cout);
}

int runStation(const Arguments& args)
{
    const StationOptions options = parseStation(args);
    ChannelTable plan;
    openChannelFile(options.plan, plan);
    // A plan the radio cannot hold is refused before any radio is touched.
    encodePlan(plan);
    const auto app = coreApplication();
    Station::Options settings;
    settings.settleMs = options.settleMs;
    if (options.ports.empty()) {
        // udev announces every kind of terminal: only serial ports are taken.
        settings.accept = [](const std::string& port) {
            const std::vector<std::string> listed = enumerateSerialPorts();
            return std::find(listed.begin(), listed.end(), port) != listed.end();
        };
    }
    settings.identify = [](const std::string& port) { return adapterSerialNumber(port); };
    settings.contextFor = printingContext;
    Station::Events events;
    events.plugged = [](const std::string& port) { printLine(std::cerr, port + ": plugged in"); };
    events.unplugged = [](const std::string& port) { printLine(std::cerr, port + ": unplugged"); };
    Station* running = nullptr;
    events.finished = [&running](const StationResult& result) {
        printLine(std::cout, summaryLine(result.result, resultLabel(result)));
        std::cerr << '\a' << std::flush; // the terminal bell: the next radio can go on
        // Nobody reads the results any more: finish the radios under way, take no more.
        if (!std::cout.good() && running)
            running->finish();
    };
    events.failed = [](const std::string& what) { printLine(std::cerr, std::string(kProgramName) + ": " + what); };
    Station station(withSettle(writeProcedure(plan, options.plan, options.safety), options.stepSettleMs), settings,
                    events);
    running = &station;
    if (!options.ports.empty()) {
        PathPortEvents paths(options.ports);
        return runStationOn(station, paths, [&paths] { paths.start(); });
    }
    const std::unique_ptr<PortEventSource> udev = createUdevPortEvents();
    if (!udev)
        throw AppError(std::string(kProgramName) +
                       ": cannot watch for adapters being plugged in (udev is not reachable); name the ports with "
                       "--ports");
    return runStationOn(station, *udev, [] {
        for (const std::string& port : enumerateSerialPorts())
            printLine(std::cerr, port + ": already there; programmed once plugged in again");
    });
}

} // namespace

const Command kStationCommand{"station", kUsage, runStation};

} // namespace zk::cli
