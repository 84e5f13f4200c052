// Peak memory of what a hostile file once made expensive: the program's
// start-up with a 30000 x 30000 background picture, and `show` on a channel
// file of 1 MiB (the largest one read). Each case runs in a process of its
// own, whose peak resident size the kernel reports when it ends; next to it
// the same with an ordinary file, so the figure can be read against the
// program's own baseline. Target: under 150 MB each.
#include "ChannelFile.h"
#include "FakeUi.h"
#include "FlatJpeg.h"
#include "NoSerialPorts.h"
#include "Startup.h"

#include "ChildRun.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr double kTargetMb = 150;

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

using zk::bench::ChildRun;

// Standard error stays: a case that fails says why.
ChildRun measure(const std::vector<std::string>& args)
{
    return zk::bench::runChild(args, false);
}

void report(const char* what, const ChildRun& run, bool judged)
{
    std::printf("%-46s exit %d  peak %7.1f MB  %6.2f s%s\n", what, run.status, run.peakMb, run.wallSeconds,
                !judged ? "" : run.status == 0 && run.peakMb < kTargetMb ? "  (under target)" : "  (OVER TARGET)");
}

// The child: the program's windows created as at start, the login window
// shown, which loads the picture and the title; then it ends.
int startUp(const std::string& folder)
{
    int argc = 1;
    char name[] = "bench_memory";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    zk::test::RecordingMessages messages;
    zk::test::ScriptedFileDialogs dialogs;
    Startup startup(messages, dialogs, [] {}, folder, zk::test::noSerialPorts());
    startup.start();
    QApplication::processEvents();
    for (const auto& error : messages.errors())
        std::fprintf(stderr, "start-up error: %s\n", error.c_str());
    return messages.errors().empty() ? 0 : 1;
}

// 16 rows of six long cells: a channel file just under 1 MiB.
std::string largestChannelFile()
{
    const std::string cell(10850, '7');
    std::string text;
    for (int row = 1; row <= 16; ++row) {
        text += std::to_string(row) + ",";
        for (int c = 0; c < 6; ++c)
            text += cell + ",";
        text += "\r";
    }
    return text + "0,\r0,\r0,\r0,\r0,\r\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--start-up")
        return startUp(argv[2]);

    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char pattern[] = "/tmp/zk-bench-memory-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    const std::string folder = std::string(pattern) + "/";
    std::filesystem::create_directories(folder + "image");
    writeFile(folder + "image/1.bc", "123456\r\n");
    writeFile(folder + "image/2.bc", "Bench\r\n");
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();

    writeFile(folder + "image/1.jpg", zk::test::flatGreyJpeg(640, 480));
    report("start-up, 640 x 480 picture", measure({self, "--start-up", folder}), false);
    const std::string huge = zk::test::flatGreyJpeg(30000, 30000);
    writeFile(folder + "image/1.jpg", huge);
    const std::string what = "start-up, 30000 x 30000 picture (" + std::to_string(huge.size() >> 20) + " MiB)";
    report(what.c_str(), measure({self, "--start-up", folder}), true);

    const std::string plan = folder + "plan.bc";
    zk::saveChannelFile(plan, zk::ChannelTable());
    report("show, new plan (263 bytes)", measure({ZK_CLI_PROGRAM, "show", plan}), false);
    const std::string largest = largestChannelFile();
    writeFile(plan, largest);
    const std::string showWhat = "show, " + std::to_string(largest.size()) + "-byte channel file";
    report(showWhat.c_str(), measure({ZK_CLI_PROGRAM, "show", plan}), true);

    std::filesystem::remove_all(pattern);
    return 0;
}
