// station PLAN.bc: programs each radio whose adapter is plugged in, once,
// until Ctrl-C.
#include "AdapterSerial.h"
#include "ChannelFile.h"
#include "Commands.h"
#include "Errors.h"
#include "Fleet.h"
#include "FleetSteps.h"
#include "InterruptWatch.h"
#include "PathPortEvents.h"
#include "PortSession.h"
#include "PortThreads.h"
#include "RadioCompare.h"
#include "RadioTransfer.h"
#include "SerialPortList.h"
#include "UdevPortEvents.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <iostream>
#include <map>
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

StationOptions parseStation(Arguments args)
{
    StationOptions options;
    options.safety = takeSafetyOptions(args);
    Arguments operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--ports") {
            options.ports = splitList(optionValue(args, i, "a list of device paths"));
            if (options.ports.empty())
                throw UsageError("option '--ports' needs a list of device paths");
        } else if (arg == "--settle") {
            const std::string& value = optionValue(args, i, "milliseconds");
            if (value.find_first_not_of("0123456789") != std::string::npos || value.size() > 6)
                throw UsageError("option '--settle' needs milliseconds (0 to 999999)");
            options.settleMs = std::stoi(value);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option '" + arg + "'");
        } else {
            operands.push_back(arg);
        }
    }
    options.plan = singleOperand(operands, "channel file");
    checkBackupFolders(options.ports, options.safety);
    return options;
}

std::string clockTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

class Station {
public:
    // onlyListed: a port is taken only when it is among the computer's
    // serial ports (udev announces every kind of terminal).
    Station(PortProcedure procedure, int settleMs, bool onlyListed)
        : procedure_(std::move(procedure)), settleMs_(settleMs), onlyListed_(onlyListed)
    {
    }

    // Handles the source's ports until Ctrl-C, then prints the summary.
    // Gives the exit status.
    int run(PortEventSource& events, const std::function<void()>& startWatching)
    {
        QEventLoop loop;
        InterruptWatch interrupts{[this, &loop] {
            stop_ = true;
            loop.quit();
        }};
        events.onEvent = [this](const PortEvent& event) {
            guard([&] { event.kind == PortEvent::Kind::Added ? added(event.devNode) : removed(event.devNode); });
        };
        printLine(std::cerr, "Waiting for radios; Ctrl-C ends.");
        startWatching();
        loop.exec();
        events.onEvent = nullptr;
        for (auto& [path, port] : ports_)
            port.settle.reset();
        threads_.waitForAll();
        return summary();
    }

private:
    enum class State { Settling, Busy, Done };
    struct Port {
        State state = State::Settling;
        bool present = true;
        bool again = false; // plugged in again during its transfer
        std::unique_ptr<QTimer> settle;
    };

    // An event handler must not throw into the event loop.
    static void guard(const std::function<void()>& handler)
    {
        try {
            handler();
        } catch (const std::exception& e) {
            printLine(std::cerr, std::string(kProgramName) + ": " + e.what());
        }
    }

    void added(const std::string& path)
    {
        if (stop_)
            return;
        printLine(std::cerr, path + ": plugged in");
        const auto known = ports_.find(path);
        if (known != ports_.end()) {
            // Unplugged and plugged in again while its transfer still ran:
            // that one fails or ends, then this radio has its turn.
            if (!known->second.present)
                known->second.present = known->second.again = true;
            return;
        }
        settleThenProgram(path, ports_[path]);
    }

    void settleThenProgram(const std::string& path, Port& port)
    {
        port.state = State::Settling;
        port.settle = std::make_unique<QTimer>();
        port.settle->setSingleShot(true);
        QObject::connect(port.settle.get(), &QTimer::timeout, [this, path] { guard([&] { settled(path); }); });
        port.settle->start(settleMs_);
    }

    void removed(const std::string& path)
    {
        const auto it = ports_.find(path);
        if (it == ports_.end())
            return;
        printLine(std::cerr, path + ": unplugged");
        if (it->second.state == State::Busy)
            it->second.present = false; // forgotten once its transfer ends
        else
            ports_.erase(it);
    }

    void settled(const std::string& path)
    {
        Port& port = ports_.at(path);
        port.settle.release()->deleteLater(); // this is its signal: not deleted under it
        if (onlyListed_) {
            const std::vector<std::string> listed = enumerateSerialPorts();
            if (std::find(listed.begin(), listed.end(), path) == listed.end()) {
                ports_.erase(path);
                return;
            }
        }
        port.state = State::Busy;
        port.again = false;
        const std::string serial = adapterSerialNumber(path);
        auto result = std::make_shared<PortResult>();
        const PortContext context = printingContext(path, stop_);
        threads_.start([this, result, context] { *result = runGuarded(procedure_, context); },
                       [this, result, path, serial] {
                           finished(path, clockTime() + ' ' + path + ' ' + (serial.empty() ? "-" : serial), *result);
                       });
    }

    void finished(const std::string& path, const std::string& label, const PortResult& result)
    {
        printLine(std::cout, summaryLine(result, label));
        std::cerr << '\a' << std::flush; // the terminal bell: the next radio can go on
        results_.emplace_back(label, result);
        const auto it = ports_.find(path);
        if (it == ports_.end())
            return;
        Port& port = it->second;
        if (!port.present)
            ports_.erase(it);
        else if (port.again && !stop_)
            settleThenProgram(path, port);
        else
            port.state = State::Done;
    }

    int summary() const
    {
        const auto failed = static_cast<std::size_t>(
            std::count_if(results_.begin(), results_.end(), [](const auto& entry) { return !entry.second.ok; }));
        printLine(std::cout, "Programmed " + std::to_string(results_.size() - failed) + ", failed " +
                                 std::to_string(failed) + '.');
        for (const auto& [label, result] : results_)
            if (!result.ok)
                printLine(std::cout, "Failed: " + summaryLine(result, label));
        return failed == 0 ? kExitSuccess : kExitError;
    }

    PortProcedure procedure_;
    const int settleMs_;
    const bool onlyListed_;
    std::atomic<bool> stop_{false};
    std::map<std::string, Port> ports_;
    std::vector<std::pair<std::string, PortResult>> results_;
    // Last, so running transfers end before anything they report to goes.
    PortThreads threads_;
};

int runStation(const Arguments& args)
{
    const StationOptions options = parseStation(args);
    ChannelTable plan;
    openChannelFile(options.plan, plan);
    // A plan the radio cannot hold is refused before any radio is touched.
    encodePlan(plan);
    const auto app = PortSession::makeApplication();
    Station station(writeProcedure(plan, options.plan, options.safety), options.settleMs, options.ports.empty());
    if (!options.ports.empty()) {
        PathPortEvents events(options.ports);
        return station.run(events, [&events] { events.start(); });
    }
    const std::unique_ptr<PortEventSource> events = createUdevPortEvents();
    if (!events)
        throw AppError(std::string(kProgramName) +
                       ": cannot watch for adapters being plugged in (udev is not reachable); name the ports with "
                       "--ports");
    return station.run(*events, [] {
        for (const std::string& port : enumerateSerialPorts())
            printLine(std::cerr, port + ": already there; programmed once plugged in again");
    });
}

} // namespace

const Command kStationCommand{"station", kUsage, runStation};

} // namespace zk::cli
