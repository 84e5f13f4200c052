// Figures for the serial component over a pseudo-terminal: receive latency
// (last byte written to OnReceiveData), throughput both ways, and the CPU
// the component uses while a port is open and idle.
#include "TComm.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono;

namespace {

class Pty {
public:
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        ::grantpt(master);
        ::unlockpt(master);
        char name[128];
        ::ptsname_r(master, name, sizeof name);
        path = name;
        keep = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t{};
        ::tcgetattr(keep, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(keep, TCSANOW, &t);
    }
    ~Pty()
    {
        ::close(keep);
        ::close(master);
    }
    void writeAll(const uint8_t* p, size_t n) const
    {
        while (n > 0) {
            const ssize_t w = ::write(master, p, n);
            if (w > 0) {
                p += w;
                n -= static_cast<size_t>(w);
            } else {
                pollfd f{master, POLLOUT, 0};
                ::poll(&f, 1, 100);
            }
        }
    }
    int master = -1;
    int keep = -1;
    std::string path;
};

// Opened component with XON/XOFF off (binary data), counting what it receives.
struct OpenComm {
    explicit OpenComm(const Pty& pty, uint32_t interval)
    {
        comm.SetCommName(pty.path);
        comm.SetReadIntervalTimeout(interval);
        comm.OpenPort();
        comm.SetInx_XonXoffFlow(false);
        comm.SetOutx_XonXoffFlow(false);
        comm.OnReceiveData = [this](TComm*, const void*, uint16_t n) {
            received += n;
            lastEvent = steady_clock::now();
        };
    }
    template <class Pred>
    void pumpUntil(Pred done)
    {
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    TComm comm;
    size_t received = 0;
    steady_clock::time_point lastEvent;
};

double cpuSeconds()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Time from writing the last byte of a short reply to its event. With the
// program's interval of 100 ms that time is the interval plus overhead;
// interval MAXDWORD shows the overhead alone.
void BM_ReceiveLatency(benchmark::State& state)
{
    Pty pty;
    const uint32_t interval = state.range(0) ? uint32_t(state.range(0)) : MAXDWORD;
    OpenComm c(pty, interval);
    std::vector<uint8_t> reply(68, 0x5A);
    double overheadMs = 0;
    for (auto _ : state) {
        const size_t before = c.received;
        const auto sent = steady_clock::now();
        pty.writeAll(reply.data(), reply.size());
        c.pumpUntil([&] { return c.received >= before + reply.size(); });
        const duration<double> took = c.lastEvent - sent;
        state.SetIterationTime(took.count());
        overheadMs += took.count() * 1000 - (interval == MAXDWORD ? 0 : interval);
    }
    state.counters["beyond_interval_ms"] = overheadMs / double(state.iterations());
}
BENCHMARK(BM_ReceiveLatency)->Arg(100)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ReceiveThroughput(benchmark::State& state)
{
    Pty pty;
    OpenComm c(pty, 100);
    std::vector<uint8_t> data(size_t(state.range(0)), 0xA5);
    for (auto _ : state) {
        const size_t target = c.received + data.size();
        const auto start = steady_clock::now();
        std::thread writer([&] { pty.writeAll(data.data(), data.size()); });
        c.pumpUntil([&] { return c.received >= target; });
        writer.join();
        // The last block waits out one interval; leave that out of the rate.
        state.SetIterationTime(duration<double>(c.lastEvent - start).count() - 0.1);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ReceiveThroughput)->Arg(4 << 20)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SendThroughput(benchmark::State& state)
{
    Pty pty;
    OpenComm c(pty, 100);
    std::vector<uint8_t> block(60000, 0x3C);
    const size_t total = size_t(state.range(0));
    for (auto _ : state) {
        const auto start = steady_clock::now();
        size_t queued = 0;
        while (queued < total) {
            const auto n = static_cast<uint16_t>(std::min(block.size(), total - queued));
            c.comm.SendData(block.data(), n);
            queued += n;
        }
        size_t got = 0;
        uint8_t buf[65536];
        while (got < total) {
            pollfd f{pty.master, POLLIN, 0};
            ::poll(&f, 1, 1000);
            const ssize_t n = ::read(pty.master, buf, sizeof buf);
            if (n > 0)
                got += size_t(n);
        }
        state.SetIterationTime(duration<double>(steady_clock::now() - start).count());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_SendThroughput)->Arg(4 << 20)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Process CPU while a port is open and nothing happens on it. The workers
// sit in poll without time limit, so this should be close to nothing.
void BM_IdleCpu(benchmark::State& state)
{
    Pty pty;
    OpenComm c(pty, 100);
    QCoreApplication::processEvents();
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpu0 = cpuSeconds();
        const auto t0 = steady_clock::now();
        std::this_thread::sleep_for(seconds(2));
        cpu += cpuSeconds() - cpu0;
        wall += duration<double>(steady_clock::now() - t0).count();
    }
    state.counters["cpu_ms_per_s"] = 1000 * cpu / wall;
}
BENCHMARK(BM_IdleCpu)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
