// Figures for writing several radios in one run: zk-h41-cli writes 1, 4 and
// 8 virtual radios (each on its own pseudo-terminal, paced like a 9600 baud
// line) with one --port per radio. For each: the wall time of the whole
// program run (start-up included), its ratio to one radio, and the CPU time
// the program used (user + system, from the kernel's accounting of the
// child; the virtual radios run in this process and are not counted).
//
// Targets: 8 radios within 1.1x the wall time of one; CPU under 5% of one
// core per radio over the run. Then the station's figures with its default
// read-back after each write, for 1 and 8 radios present at its start.
#include "ChannelFile.h"
#include "RadioMemory.h"
#include "VirtualRadio.h"

#include "ChildRun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>


namespace {

constexpr int kRuns = 3;

using zk::bench::ChildRun;

ChildRun measure(const std::vector<std::string>& args)
{
    return zk::bench::runChild(args, true);
}

ChildRun median(std::vector<ChildRun> runs)
{
    std::sort(runs.begin(), runs.end(), [](const ChildRun& a, const ChildRun& b) { return a.wallSeconds < b.wallSeconds; });
    return runs[runs.size() / 2];
}

// The station with its default verify: `count` radios present on linked
// paths at its start, each written then read back. The wall time runs from
// the start of the program until every radio's read-back has ended with its
// end byte; then the station is stopped with SIGINT.
ChildRun measureStation(const std::string& plan, const std::filesystem::path& folder, std::size_t count,
                        const VirtualRadio& reference, bool& exact)
{
    std::vector<std::unique_ptr<VirtualRadio>> radios;
    std::string ports;
    for (std::size_t i = 0; i < count; ++i) {
        VirtualRadioOptions options;
        options.linkPath = (folder / ("radio" + std::to_string(i))).string();
        radios.push_back(std::make_unique<VirtualRadio>(options));
        radios.back()->start();
        ports += (i == 0 ? "" : ",") + options.linkPath;
    }
    const std::vector<std::string> args = {ZK_CLI_PROGRAM, "station", plan, "--ports", ports, "--settle", "0"};
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    const auto allVerified = [&] {
        return std::all_of(radios.begin(), radios.end(), [](const auto& radio) { return radio->sessionsEnded() >= 2; });
    };
    const auto limit = start + std::chrono::seconds(60);
    while (!allVerified() && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::kill(pid, SIGINT);
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.status = allVerified() ? 0 : 1;
    run.cpuSeconds = zk::bench::toSeconds(usage.ru_utime) + zk::bench::toSeconds(usage.ru_stime);
    for (const auto& radio : radios)
        exact = exact && radio->memory() == reference.memory();
    return run;
}

} // namespace

int main()
{
    char pattern[] = "/tmp/zk-bench-fleet-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder = pattern;
    const std::string plan = (folder / "plan.bc").string();
    const zk::ChannelTable table = zk::test::sampleRadioPlan();
    zk::saveChannelFile(plan, table);
    VirtualRadio reference;
    zk::test::loadPlanIntoRadio(reference, table);

    std::printf("write PLAN.bc into N virtual radios at 9600 baud, median of %d runs\n", kRuns);
    std::printf("%7s %9s %9s %9s %16s  %s\n", "radios", "wall s", "vs one", "CPU ms", "CPU/radio/core", "memories");
    double oneRadioS = 0;
    bool allGood = true;
    for (const std::size_t count : {std::size_t{1}, std::size_t{4}, std::size_t{8}}) {
        std::vector<ChildRun> runs;
        bool exact = true;
        for (int r = 0; r < kRuns; ++r) {
            std::vector<std::unique_ptr<VirtualRadio>> radios;
            std::vector<std::string> args = {ZK_CLI_PROGRAM, "write"};
            for (std::size_t i = 0; i < count; ++i) {
                radios.push_back(std::make_unique<VirtualRadio>());
                radios.back()->start();
                args.insert(args.end(), {"--port", radios.back()->path()});
            }
            args.push_back(plan);
            runs.push_back(measure(args));
            for (const auto& radio : radios)
                exact = exact && radio->memory() == reference.memory();
        }
        const ChildRun run = median(runs);
        if (count == 1)
            oneRadioS = run.wallSeconds;
        const double ratio = run.wallSeconds / oneRadioS;
        const double cpuShare = run.cpuSeconds / run.wallSeconds / static_cast<double>(count) * 100.0;
        const bool ok = run.status == 0 && exact;
        allGood = allGood && ok;
        std::printf("%7zu %9.3f %8.3fx %9.1f %15.2f%%  %s%s\n", count, run.wallSeconds, ratio, run.cpuSeconds * 1e3, cpuShare,
                    ok ? "exact" : "WRONG", count > 1 && ratio > 1.1 ? "  (OVER 1.1x)" : "");
    }

    std::printf("\nstation PLAN.bc with its default verify (write, pause, read back), N radios at its start\n");
    std::printf("%7s %9s %9s %9s  %s\n", "radios", "wall s", "vs one", "CPU ms", "memories");
    double stationOneS = 0;
    for (const std::size_t count : {std::size_t{1}, std::size_t{8}}) {
        std::vector<ChildRun> runs;
        bool exact = true;
        for (int r = 0; r < kRuns; ++r)
            runs.push_back(measureStation(plan, folder, count, reference, exact));
        const ChildRun run = median(runs);
        if (count == 1)
            stationOneS = run.wallSeconds;
        const bool ok = run.status == 0 && exact;
        allGood = allGood && ok;
        std::printf("%7zu %9.3f %8.3fx %9.1f  %s\n", count, run.wallSeconds, run.wallSeconds / stationOneS,
                    run.cpuSeconds * 1e3, ok ? "exact" : "WRONG");
    }
    std::filesystem::remove_all(folder);
    return allGood ? 0 : 1;
}
