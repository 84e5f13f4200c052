// The station's plug, settle, program and unplug rules with port events
// fed by the test and a procedure that only records where it ran: each port
// is programmed once per plugging, a port plugged in again during its
// transfer has its turn after it (and only that one), and a stop ends the run.
#include "Station.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QThread>

#include <atomic>
#include <mutex>

using namespace zk;

namespace {

class ProgrammingStation : public ::testing::Test {
protected:
    // What the procedure did: one entry per run, on its port thread.
    void ran(const std::string& port)
    {
        std::lock_guard guard(lock);
        runs.push_back(port);
    }
    std::vector<std::string> runsSoFar()
    {
        std::lock_guard guard(lock);
        return runs;
    }
    PortProcedure recordingProcedure()
    {
        return [this](const PortContext& context) {
            ran(context.port);
            PortResult result;
            result.port = context.port;
            result.ok = context.port != "/dev/bad";
            result.lines = {result.ok ? "Write Success!" : "Write Error!"};
            return result;
        };
    }
    Station::Events recordingEvents(std::function<void(const StationResult&)> finished)
    {
        Station::Events events;
        events.plugged = [this](const std::string& port) { seen.push_back("plugged " + port); };
        events.unplugged = [this](const std::string& port) { seen.push_back("unplugged " + port); };
        events.finished = std::move(finished);
        events.failed = [this](const std::string& what) { seen.push_back("failed " + what); };
        return events;
    }
    // Never a test that hangs: the station ends after a generous limit.
    void limit(Station& station)
    {
        limitTimer.setSingleShot(true);
        QObject::connect(&limitTimer, &QTimer::timeout, [&station] { station.stop(); });
        limitTimer.start(20000);
    }

    PortEventSource source;
    QObject alive; // what the posted calls belong to: none outlives the test
    QTimer limitTimer;
    std::mutex lock;
    std::vector<std::string> runs;
    std::vector<std::string> seen;
};

void plug(PortEventSource& source, const std::string& port)
{
    source.deliver({PortEvent::Kind::Added, port});
}

void unplug(PortEventSource& source, const std::string& port)
{
    source.deliver({PortEvent::Kind::Removed, port});
}

TEST_F(ProgrammingStation, ProgramsEachAcceptedPortOnceUntilItIsPluggedInAgain)
{
    Station::Options options;
    options.settleMs = 0;
    options.accept = [](const std::string& port) { return port != "/dev/console"; };
    options.identify = [](const std::string& port) { return "serial of " + port; };
    Station* self = nullptr;
    Station station(recordingProcedure(), options, recordingEvents([&](const StationResult&) {
        const std::size_t done = self->results().size();
        // Posted, so the station has settled this result before the next events.
        QTimer::singleShot(0, &alive, [&, done] {
            if (done == 2) {
                plug(source, "/dev/a"); // still plugged in: nothing new
                unplug(source, "/dev/a");
                plug(source, "/dev/a");
            } else if (done == 3) {
                self->stop();
            }
        });
    }));
    self = &station;
    limit(station);

    station.run(source, [&] {
        plug(source, "/dev/a");
        plug(source, "/dev/console");
        plug(source, "/dev/bad");
    });

    const std::vector<StationResult>& results = station.results();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[2].port, "/dev/a");
    EXPECT_EQ(results[0].port == "/dev/a" ? results[1].port : results[0].port, "/dev/bad");
    for (const StationResult& result : results) {
        EXPECT_EQ(result.adapter, "serial of " + result.port);
        EXPECT_EQ(result.result.ok, result.port == "/dev/a");
        EXPECT_NE(result.finished.time_since_epoch().count(), 0);
    }
    std::vector<std::string> ranOn = runsSoFar();
    std::sort(ranOn.begin(), ranOn.end());
    EXPECT_EQ(ranOn, (std::vector<std::string>{"/dev/a", "/dev/a", "/dev/bad"}));
    EXPECT_EQ(seen, (std::vector<std::string>{"plugged /dev/a", "plugged /dev/console", "plugged /dev/bad",
                                              "plugged /dev/a", "unplugged /dev/a", "plugged /dev/a"}));
}

TEST_F(ProgrammingStation, APortPluggedInAgainDuringItsTransferHasItsTurnAfterIt)
{
    std::atomic<int> started{0};
    std::atomic<bool> release{false};
    std::atomic<int> inFlight{0};
    std::atomic<bool> overlapped{false};
    Station::Options options;
    options.settleMs = 0;
    Station* self = nullptr;
    Station station(
        [&](const PortContext& context) {
            if (++inFlight > 1)
                overlapped = true;
            ++started;
            // The first transfer lasts until the test lets it end.
            QDeadlineTimer deadline(10000);
            while (started == 1 && !release && !deadline.hasExpired())
                QThread::msleep(1);
            ran(context.port);
            --inFlight;
            PortResult result;
            result.port = context.port;
            result.ok = true;
            return result;
        },
        options, recordingEvents([&](const StationResult& result) {
            // The swapped radio, once programmed, waits to go away: another
            // radio plugged in next is the only one taken.
            if (self->results().size() == 2)
                QTimer::singleShot(0, &alive, [&] { plug(source, "/dev/b"); });
            else if (result.port == "/dev/b")
                self->stop();
        }));
    self = &station;
    limit(station);
    // Once the first transfer runs, the radio is swapped; the transfer is let
    // end some ticks later, time enough for a second one to start if the
    // station wrongly started it at once.
    int ticksSinceSwap = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (started == 1 && ticksSinceSwap < 0) {
            unplug(source, "/dev/a");
            plug(source, "/dev/a"); // another radio on the same cable
            ticksSinceSwap = 0;
        } else if (ticksSinceSwap >= 0 && ++ticksSinceSwap == 10) {
            release = true;
        }
    });
    watch.start(5);

    station.run(source, [&] { plug(source, "/dev/a"); });

    EXPECT_EQ(started.load(), 3);
    EXPECT_FALSE(overlapped.load()); // one radio on one cable at a time
    std::vector<std::string> finishedOn;
    for (const StationResult& result : station.results())
        finishedOn.push_back(result.port);
    EXPECT_EQ(finishedOn, (std::vector<std::string>{"/dev/a", "/dev/a", "/dev/b"}));
    EXPECT_EQ(runsSoFar(), (std::vector<std::string>{"/dev/a", "/dev/a", "/dev/b"}));
    EXPECT_EQ(seen, (std::vector<std::string>{"plugged /dev/a", "unplugged /dev/a", "plugged /dev/a",
                                              "plugged /dev/b"}));
}

TEST_F(ProgrammingStation, AStopEndsTheRunningTransferAtItsNextStepAndTakesNoNewPort)
{
    std::atomic<bool> running{false};
    Station::Options options;
    options.settleMs = 0;
    Station station(
        [&](const PortContext& context) {
            running = true;
            // A transfer's waits look at the stop flag; so does this one.
            QDeadlineTimer deadline(10000);
            while (!context.stop->load() && !deadline.hasExpired())
                QThread::msleep(1);
            PortResult result;
            result.port = context.port;
            result.lines = {context.stop->load() ? "Interrupted" : "never stopped"};
            return result;
        },
        options, recordingEvents({}));
    limit(station);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (running) {
            station.stop();
            plug(source, "/dev/b"); // too late: the station is ending
        }
    });
    watch.start(5);

    station.run(source, [&] { plug(source, "/dev/a"); });

    ASSERT_EQ(station.results().size(), 1u);
    EXPECT_EQ(station.results()[0].result.lines, std::vector<std::string>{"Interrupted"});
    EXPECT_EQ(seen, std::vector<std::string>{"plugged /dev/a"});
}

} // namespace
