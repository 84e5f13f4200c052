// Figures for a whole read and a whole write: the transfer engine, the radio
// link and the serial component against the virtual radio on a
// pseudo-terminal, paced like a 9600 baud line. For each: the wall time, the
// protocol floor for the line rate, their ratio, and the CPU the process used
// meanwhile (the virtual radio's thread included). Each block is broken down
// so that time lost to late replies or long waits shows where it goes.
//
// Targets: wall within 5% of the floor, CPU under 5% of the wall time. The
// CPU columns: the whole process, the main thread (engine, link, event loop),
// the port's reader and writer threads, and the virtual radio's thread, which
// stands in for hardware and is not part of the program's own cost.
#include "Codec.h"
#include "EventLoopWait.h"
#include "HexText.h"
#include "PortConnection.h"
#include "RadioMemory.h"
#include "TComm.h"
#include "TransferEngine.h"
#include "VirtualRadio.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include <dirent.h>
#include <time.h>
#include <unistd.h>

using namespace zk;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t kBaud = 9600;
constexpr double kBitsPerByte = 10.0; // start, 8 data, stop
constexpr double kReaderIntervalMs = 100.0; // the reader hands over a block after this much quiet
constexpr int kRuns = 3;

double msBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double cpuMs(clockid_t clock)
{
    timespec t{};
    ::clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The threads of this process, and the CPU time one has used (from the
// scheduler's nanosecond count), to tell the radio's thread from the port's.
std::vector<pid_t> threads()
{
    std::vector<pid_t> ids;
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.')
                ids.push_back(static_cast<pid_t>(std::stol(entry->d_name)));
        ::closedir(dir);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::vector<pid_t> added(const std::vector<pid_t>& before, const std::vector<pid_t>& after)
{
    std::vector<pid_t> out;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(out));
    return out;
}

double threadCpuMs(const std::vector<pid_t>& ids)
{
    double total = 0;
    for (pid_t id : ids) {
        const std::string path = "/proc/self/task/" + std::to_string(id) + "/schedstat";
        if (FILE* f = std::fopen(path.c_str(), "r")) {
            unsigned long long ns = 0;
            if (std::fscanf(f, "%llu", &ns) == 1)
                total += static_cast<double>(ns) / 1e6;
            std::fclose(f);
        }
    }
    return total;
}

double lineMs(std::size_t bytes)
{
    return static_cast<double>(bytes) * kBitsPerByte * 1000.0 / kBaud;
}

struct BlockBytes {
    std::size_t command;
    std::size_t reply;
};

// A block ends at the first 100 ms look after the command and the reply
// have crossed the line and the reader's quiet interval has passed.
double blockFloorMs(const BlockBytes& block)
{
    const double ready = lineMs(block.command + block.reply) + kReaderIntervalMs;
    return std::ceil(ready / RadioLink::kStepMs) * RadioLink::kStepMs;
}

std::vector<BlockBytes> blocksOf(bool writing)
{
    if (!writing)
        return std::vector<BlockBytes>(kBlocks, {4, 68});
    std::vector<BlockBytes> blocks(kBlocks - 1, {68, 1});
    blocks.push_back({20, 1});
    return blocks;
}

double floorMs(bool writing)
{
    double total = RadioLink::kHandshakeWaitMs;
    for (const BlockBytes& block : blocksOf(writing))
        total += blockFloorMs(block);
    return total;
}

struct Wait {
    int requestedMs;
    Clock::time_point start;
    double actualMs;
};

struct BlockFigures {
    double replyMs = -1;     // command handed to the port -> whole reply in the reply text
    double expectedReplyMs = 0; // the same from the byte counts and the reader's interval
    double durationMs = 0;   // command handed to the port -> the block's last look
    int steps = 0;           // 100 ms looks taken
};

struct RunFigures {
    bool succeeded = false;
    double wallMs = 0;
    double processCpuMs = 0;
    double mainCpuMs = 0;
    double radioCpuMs = 0; // the virtual radio's thread
    double portCpuMs = 0;  // the serial component's reader and writer
    double handshakeMs = 0;
    double waitOvershootMs = 0; // sum over every wait of (actual - requested)
    double worstOvershootMs = 0;
    std::vector<BlockFigures> blocks;
};

RunFigures runOnce(bool writing)
{
    const std::vector<pid_t> atStart = threads();
    VirtualRadio radio(VirtualRadioOptions{kBaud, true, {}, {}});
    radio.start();
    const std::vector<pid_t> withRadio = threads();
    ChannelTable plan = zk::test::sampleRadioPlan();
    if (!writing)
        zk::test::loadPlanIntoRadio(radio, plan);

    TComm comm;
    comm.SetCommName(radio.path());
    comm.OpenPort();
    switchOffSoftwareFlowControl(comm);
    const std::vector<pid_t> radioThreads = added(atStart, withRadio);
    const std::vector<pid_t> portThreads = added(withRadio, threads());

    std::vector<Clock::time_point> sends;
    std::vector<Wait> waits;
    std::vector<std::pair<Clock::time_point, std::size_t>> receipts; // when, reply text length after
    RadioLink link{[&](const std::uint8_t* bytes, std::uint16_t length) {
                       sends.push_back(Clock::now());
                       return comm.SendData(bytes, length);
                   },
                   [&] { return comm.IsOpen(); },
                   [&](int ms) {
                       const auto start = Clock::now();
                       pumpEventsFor(ms);
                       waits.push_back({ms, start, msBetween(start, Clock::now())});
                   }};
    comm.OnReceiveData = [&](TComm*, const void* buffer, std::uint16_t length) {
        link.Comm1ReceiveData(buffer, length);
        receipts.emplace_back(Clock::now(), link.replyText().size());
    };
    ChannelTable table = writing ? plan : ChannelTable();
    TransferEngine engine(link, table);

    RunFigures figures;
    const double cpu0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    const double main0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    const double radio0 = threadCpuMs(radioThreads);
    const double port0 = threadCpuMs(portThreads);
    const auto t0 = Clock::now();
    const TransferResult result = writing ? engine.write(nullptr) : engine.read(nullptr);
    const auto t1 = Clock::now();
    figures.processCpuMs = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    figures.mainCpuMs = cpuMs(CLOCK_THREAD_CPUTIME_ID) - main0;
    figures.radioCpuMs = threadCpuMs(radioThreads) - radio0;
    figures.portCpuMs = threadCpuMs(portThreads) - port0;
    figures.wallMs = msBetween(t0, t1);
    figures.succeeded = result.outcome == TransferOutcome::Succeeded;

    // Let the end byte leave before the port closes (not timed).
    const auto limit = Clock::now() + std::chrono::seconds(2);
    while (Clock::now() < limit && (radio.received().empty() || radio.received().back() != 0x45))
        pumpEventsFor(5);
    comm.ClosePort();
    radio.stop();

    for (const Wait& w : waits) {
        figures.waitOvershootMs += w.actualMs - w.requestedMs;
        figures.worstOvershootMs = std::max(figures.worstOvershootMs, w.actualMs - w.requestedMs);
    }
    if (!figures.succeeded || sends.size() < static_cast<std::size_t>(kBlocks) + 1)
        return figures;
    // sends: the handshake, the five commands, the end byte.
    figures.handshakeMs = msBetween(sends[0], sends[1]);
    const std::vector<BlockBytes> bytes = blocksOf(writing);
    for (int k = 0; k < kBlocks; ++k) {
        const auto begin = sends[static_cast<std::size_t>(k) + 1];
        const auto end = k + 1 < kBlocks ? sends[static_cast<std::size_t>(k) + 2] : t1;
        BlockFigures block;
        const std::size_t expectedLength = 2 * bytes[static_cast<std::size_t>(k)].reply;
        for (const auto& [when, length] : receipts)
            if (when >= begin && when <= end && length == expectedLength) {
                block.replyMs = msBetween(begin, when);
                break;
            }
        block.expectedReplyMs = lineMs(bytes[static_cast<std::size_t>(k)].command + bytes[static_cast<std::size_t>(k)].reply) +
                                kReaderIntervalMs;
        block.durationMs = msBetween(begin, end);
        for (const Wait& w : waits)
            if (w.start >= begin && w.start < end)
                ++block.steps;
        figures.blocks.push_back(block);
    }
    return figures;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool report(bool writing)
{
    const char* name = writing ? "write" : "read";
    const double floor = floorMs(writing);
    std::printf("== full %s at %u baud, %d runs\n", name, kBaud, kRuns);
    std::printf("   protocol floor: %.0f ms (handshake %d ms", floor, RadioLink::kHandshakeWaitMs);
    for (const BlockBytes& block : blocksOf(writing))
        std::printf(" + %.0f", blockFloorMs(block));
    std::printf(")\n");
    std::printf("   %-4s %9s %7s %9s %8s %9s %9s %9s %12s %10s\n", "run", "wall ms", "ratio", "cpu ms", "cpu %",
                "main", "port thr", "radio", "wait over ms", "worst wait");

    std::vector<double> walls, cpuShares;
    RunFigures last;
    bool allSucceeded = true;
    for (int run = 1; run <= kRuns; ++run) {
        const RunFigures f = runOnce(writing);
        allSucceeded = allSucceeded && f.succeeded;
        const double share = f.wallMs > 0 ? 100.0 * f.processCpuMs / f.wallMs : 0.0;
        walls.push_back(f.wallMs);
        cpuShares.push_back(share);
        std::printf("   %-4d %9.1f %7.3f %9.2f %7.2f%% %9.2f %9.2f %9.2f %12.2f %10.2f%s\n", run, f.wallMs,
                    f.wallMs / floor, f.processCpuMs, share, f.mainCpuMs, f.portCpuMs, f.radioCpuMs,
                    f.waitOvershootMs, f.worstOvershootMs, f.succeeded ? "" : "  TRANSFER FAILED");
        last = f;
    }
    if (!last.blocks.empty()) {
        std::printf("   last run by block: handshake %.1f ms\n", last.handshakeMs);
        std::printf("   %-5s %14s %14s %12s %6s %12s\n", "block", "reply ms", "from bytes ms", "duration ms",
                    "steps", "floor ms");
        const std::vector<BlockBytes> bytes = blocksOf(writing);
        for (std::size_t k = 0; k < last.blocks.size(); ++k) {
            const BlockFigures& b = last.blocks[k];
            std::printf("   %-5zu %14.1f %14.1f %12.1f %6d %12.0f\n", k, b.replyMs, b.expectedReplyMs, b.durationMs,
                        b.steps, blockFloorMs(bytes[k]));
        }
    }
    const double wall = median(walls);
    const double share = median(cpuShares);
    const bool wallMet = wall <= floor * 1.05;
    const bool cpuMet = share < 5.0;
    std::printf("   median: wall %.1f ms, floor %.0f ms, ratio %.3f (target <= 1.050: %s), CPU %.2f%% of wall "
                "(target < 5%%: %s)\n\n",
                wall, floor, wall / floor, wallMet ? "met" : "NOT met", share, cpuMet ? "met" : "NOT met");
    return allSucceeded;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool readOk = report(false);
    const bool writeOk = report(true);
    return readOk && writeOk ? 0 : 1;
}
