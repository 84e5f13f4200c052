#pragma once
// A programming station: each radio whose port appears is given a settle
// time, then the procedure runs on it on a thread of its own; a port is
// taken again only after it went away. Ports come from a PortEventSource
// (libudev, named paths, or a test's own events). Nothing is printed: what
// happens is told through the events, results are kept as records.
#include "Fleet.h"
#include "PortEvents.h"
#include "PortThreads.h"

#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QEventLoop;

namespace zk {

struct StationResult {
    std::string port;
    std::string adapter; // what identify gave when the transfer started
    std::chrono::system_clock::time_point finished;
    PortResult result;
};

class Station {
public:
    struct Options {
        int settleMs = 1000;
        // Whether a settled port is to be programmed (udev announces every
        // kind of terminal); unset takes every port.
        std::function<bool(const std::string& port)> accept;
        // The adapter behind the port (its USB serial number), for the result.
        std::function<std::string(const std::string& port)> identify;
        // Progress and notes of one port's run; the station adds its stop flag.
        std::function<PortContext(const std::string& port)> contextFor;
    };
    struct Events {
        std::function<void(const std::string& port)> plugged;
        std::function<void(const std::string& port)> unplugged;
        std::function<void(const StationResult& result)> finished;
        // An event that could not be handled; the station goes on.
        std::function<void(const std::string& what)> failed;
    };

    // Needs a QCoreApplication.
    Station(PortProcedure procedure, Options options, Events events);
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Takes the source's events, calls startWatching, and handles the ports
    // until stop(); then waits for the transfers still running.
    void run(PortEventSource& source, const std::function<void()>& startWatching);
    // Ends run: no port is taken any more and running transfers stop at
    // their next step. On the station's thread.
    void stop();
    // Ends run once the transfers under way have finished, each to its own
    // end; no port is taken any more. On the station's thread.
    void finish();

    // Every finished transfer, in the order they finished.
    const std::vector<StationResult>& results() const { return results_; }

private:
    enum class State { Settling, Busy, Done };
    struct Port {
        State state = State::Settling;
        bool present = true;
        bool again = false; // plugged in again during its transfer
        std::unique_ptr<QTimer> settle;
    };

    void guard(const std::function<void()>& handler);
    void added(const std::string& path);
    void removed(const std::string& path);
    void settleThenProgram(const std::string& path, Port& port);
    void settled(const std::string& path);
    void finished(StationResult result);
    bool anyBusy() const;

    PortProcedure procedure_;
    Options options_;
    Events events_;
    std::atomic<bool> stop_{false};
    bool finishing_ = false;
    QEventLoop* loop_ = nullptr;
    std::map<std::string, Port> ports_;
    std::vector<StationResult> results_;
    // Last, so running transfers end before anything they report to goes.
    PortThreads threads_;
};

} // namespace zk
