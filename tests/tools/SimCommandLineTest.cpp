// Runs the built zk-h41-sim with options as a user types them.
#include "RunProgram.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <signal.h>
#include <sys/wait.h>

using zk::test::ProgramResult;
using zk::test::TempFolder;
using zk::test::writeBytes;

namespace {

const std::string kUsageHead = "Usage: zk-h41-sim [options]\n";

// True once the child has ended. It is left unreaped, so its pid cannot
// pass to another process meanwhile.
bool ended(pid_t pid)
{
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

// Runs the radio until it ends by itself or `ready` holds (or 20 s pass,
// when something is wrong), then stops it as Ctrl+C would.
ProgramResult sim(const std::vector<std::string>& args, const std::function<bool()>& ready = [] { return false; })
{
    return zk::test::runProgram(ZK_SIM_PROGRAM, args, std::string(), [&](pid_t pid) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!ended(pid) && !ready() && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (!ended(pid))
            ::kill(pid, SIGINT);
    });
}

void expectRefused(const std::vector<std::string>& args, const std::string& shown)
{
    const ProgramResult r = sim(args);
    EXPECT_EQ(r.exitStatus, 2) << shown;
    EXPECT_EQ(r.out, "") << shown;
    EXPECT_EQ(r.err.rfind("zk-h41-sim: bad or incomplete option: " + shown + "\n" + kUsageHead, 0), 0u) << r.err;
}

} // namespace

TEST(SimCommandLine, RefusesWithTheArgumentAsTypedAndTheUsage)
{
    expectRefused({"--baud"}, "--baud");
    expectRefused({"--baud", "0"}, "--baud");
    expectRefused({"--baud=fast"}, "--baud=fast");
    expectRefused({"--bad-digit=17"}, "--bad-digit=17");
    expectRefused({"--split", "2:soon"}, "--split");
    expectRefused({"--dump=yes"}, "--dump=yes");
    expectRefused({"--frobnicate"}, "--frobnicate");
    // Names are taken in full, never shortened.
    expectRefused({"--verb"}, "--verb");
    expectRefused({"--no-pacing", "extra"}, "extra");
    expectRefused({"-"}, "-");
    // In order: a bad option before --help still fails.
    expectRefused({"--echo", "--bogus", "--help"}, "--bogus");
}

TEST(SimCommandLine, HelpAndVersionAnswerOnStandardOutput)
{
    for (const char* help : {"--help", "-h"}) {
        const ProgramResult r = sim({"--echo", help});
        EXPECT_EQ(r.exitStatus, 0) << help;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind(kUsageHead, 0), 0u) << r.out;
    }
    const ProgramResult version = sim({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out.rfind("zk-h41-sim ", 0), 0u) << version.out;
}

TEST(SimCommandLine, ValuesAfterAnEqualsSignAreTakenAsAfterASpace)
{
    TempFolder folder;
    // The image's first row is 00 to 0F, which --dump prints on stopping.
    std::string image(512, '\xFF');
    for (int i = 0; i < 16; ++i)
        image[static_cast<std::size_t>(i)] = static_cast<char>(i);
    writeBytes(folder.file("radio.img"), image);
    const std::string link = folder.file("radio");

    // The link appears once the radio serves.
    const ProgramResult r = sim({"--link=" + link, "--image=" + folder.file("radio.img"), "--baud=1200", "--dump"},
                                [&] { return std::filesystem::is_symlink(link); });
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find("\nlinked as " + link + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n0000  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\n"), std::string::npos) << r.out;
}
