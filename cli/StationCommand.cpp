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

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <iostream>
#include <memory>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli station PLAN.bc [--verify] [--backup DIR] [--ports PATH,PATH...]\n"
    "                          [--settle MS]\n"
    "\n"
    "A programming station: waits for serial adapters to be plugged in and\n"
    "writes the channel file PLAN.bc into the radio on each new one, several at\n"
    "once when several are plugged in. Each adapter gets a settle time first\n"
    "(--settle, 1000 ms unless given). For each radio one line goes to standard\n"
    "output, \"DATE TIME PORT SERIAL: Write Success!\" or the failure and its\n"
    "reasons (SERIAL is the adapter's USB serial number, '-' when it has none),\n"
    "and the terminal bell rings. An adapter is programmed again only after it\n"
    "has been unplugged. Adapters already plugged in at the start are left\n"
    "alone until they are plugged in again.\n"
    "\n"
    "--backup DIR first reads each radio's memory into a new image in a folder\n"
    "per port, such as DIR/ttyUSB0/radio-2026-12-08-044512.img; the write starts\n"
    "only once it is saved. --verify reads each radio back after the write and\n"
    "compares it with PLAN.bc; a difference makes the radio's result a failure\n"
    "that lists the differences.\n"
    "\n"
    "--ports PATH,PATH... watches only the named paths (device nodes or links\n"
    "to them) and programs the radio behind each as soon as the path exists,\n"
    "at the start too.\n"
    "\n"
    "Ctrl-C (or SIGTERM, or a hang-up) stops running transfers at their next\n"
    "step and ends the station with a summary: how many radios were programmed\n"
    "and which failed, with the reasons. The exit status is 0 when none failed.\n";

constexpr int kDefaultSettleMs = 1000;

struct StationOptions {
    std::string plan;
    SafetyOptions safety;
    std::vector<std::string> ports;
    int settleMs = kDefaultSettleMs;
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
const OptionSpec kSettleOption{"--settle", "milliseconds"};

StationOptions parseStation(const Arguments& args)
{
    const ParsedOptions parsed = parseOptions(args, {kVerifyOption, kBackupOption, kPortsOption, kSettleOption});
    StationOptions options;
    options.safety = safetyOptionsOf(parsed);
    if (parsed.has(kPortsOption.spelling)) {
        options.ports = splitList(parsed.value(kPortsOption.spelling));
        if (options.ports.empty())
            throw UsageError("option '--ports' needs a list of device paths");
    }
    if (parsed.has(kSettleOption.spelling)) {
        const std::string value = parsed.value(kSettleOption.spelling);
        if (value.find_first_not_of("0123456789") != std::string::npos || value.size() > 6)
            throw UsageError("option '--settle' needs milliseconds (0 to 999999)");
        options.settleMs = std::stoi(value);
    }
    options.plan = singleOperand(parsed.operands, "channel file");
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
    return std::string(text) + ' ' + result.port + ' ' + (result.adapter.empty() ? "-" : result.adapter);
}

// How many radios were programmed and which failed, with the reasons.
int printSummary(const std::vector<StationResult>& results)
{
    const auto failed = static_cast<std::size_t>(
        std::count_if(results.begin(), results.end(), [](const StationResult& entry) { return !entry.result.ok; }));
    printLine(std::cout, "Programmed " + std::to_string(results.size() - failed) + ", failed " +
                             std::to_string(failed) + '.');
    for (const StationResult& entry : results)
        if (!entry.result.ok)
            printLine(std::cout, "Failed: " + summaryLine(entry.result, resultLabel(entry)));
    return failed == 0 ? kExitSuccess : kExitError;
}

// Runs the station over the source until Ctrl-C, printing as it goes.
int runStationOn(Station& station, PortEventSource& events, const std::function<void()>& startWatching)
{
    std::atomic<bool> signalled{false};
    const StopSignals signalWatch(signalled, [&station] { station.stop(); });
    printLine(std::cerr, "Waiting for radios; Ctrl-C ends.");
    station.run(events, startWatching);
    return printSummary(station.results());
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
    events.finished = [](const StationResult& result) {
        printLine(std::cout, summaryLine(result.result, resultLabel(result)));
        std::cerr << '\a' << std::flush; // the terminal bell: the next radio can go on
    };
    events.failed = [](const std::string& what) { printLine(std::cerr, std::string(kProgramName) + ": " + what); };
    Station station(writeProcedure(plan, options.plan, options.safety), settings, events);
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
