// Commands of several steps through the built zk-h41-cli against the
// virtual radio: each step names itself, a radio that refuses every block
// passes a write but not the station's read-back, and the station refuses
// one device under two names.
#include "CliHarness.h"
#include "ChannelFile.h"
#include "RadioImage.h"
#include "RadioMemory.h"
#include "RunProgram.h"
#include "TempFolder.h"
#include "VirtualRadio.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include <signal.h>

using namespace zk;
using zk::test::cli;
using zk::test::contains;
using zk::test::ProgramResult;
using zk::test::TempFolder;

namespace {

constexpr std::size_t kHandshakeBytes = 7;
constexpr std::size_t kWriteBytes = kHandshakeBytes + 4 * (4 + 64) + (4 + 16) + 1; // with the end byte

class StepWords : public ::testing::Test {
protected:
    void SetUp() override
    {
        radio.start();
        saveChannelFile(planFile, test::sampleRadioPlan());
    }
    void TearDown() override { radio.stop(); }

    VirtualRadio radio;
    TempFolder folder;
    const std::string planFile = folder.file("plan.bc");
};

} // namespace

TEST_F(StepWords, ABackupThatFailsSaysNothingWasWritten)
{
    RadioFaults faults;
    faults.silentAfter = 2;
    radio.setFaults(faults);
    const RadioImage before = radio.memory();

    const ProgramResult r = cli({"write", "--port", radio.path(), planFile, "--backup", folder.file("bk")});

    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "backup: block 1/5\nbackup: block 2/5\nBackup failed (Read Error!): nothing was written.\n");
    EXPECT_EQ(radio.memory(), before);
}

TEST_F(StepWords, AReadBackThatFailsComesAfterTheWritesSuccess)
{
    // Once the write has ended with its end byte, the radio falls silent:
    // the read-back, after the pause between the steps, gets no answer.
    std::atomic<bool> done{false};
    std::thread silence([&] {
        if (test::waitUntil([&] { return done || radio.received().size() >= kWriteBytes; })) {
            RadioFaults silent;
            silent.silentAfter = 0;
            radio.setFaults(silent);
        }
    });
    const ProgramResult r = cli({"write", "--port", radio.path(), planFile, "--verify"});
    done = true;
    silence.join();

    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "Write Success!\n");
    EXPECT_EQ(r.err, "write: block 1/5\nwrite: block 2/5\nwrite: block 3/5\nwrite: block 4/5\nwrite: block 5/5\n"
                     "Check after writing failed: Read Error!\n");
}

TEST_F(StepWords, ARefusedBlockPassesAWriteButNotTheStationsReadBack)
{
    RadioFaults faults;
    faults.nakBlock = RadioFaults::kEveryBlock;
    radio.setFaults(faults);
    const RadioImage before = radio.memory();

    // Which byte acknowledges a block is not looked at.
    ProgramResult r = cli({"write", "--port", radio.path(), planFile});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "Write Success!\n");
    EXPECT_EQ(radio.memory(), before);

    // The station reads each radio back unless told not to.
    VirtualRadio good;
    good.start();
    const std::string refusing = folder.file("refusing");
    const std::string fine = folder.file("fine");
    std::filesystem::create_symlink(radio.path(), refusing);
    std::filesystem::create_symlink(good.path(), fine);
    const int sessionsBefore = radio.sessionsEnded();
    std::atomic<pid_t> station{0};
    std::thread running([&] {
        r = cli({"station", planFile, "--ports", refusing + ',' + fine, "--settle", "0"},
                [&](pid_t pid) { station = pid; });
    });
    // Written and read back: two sessions each, both ended with the end byte.
    EXPECT_TRUE(test::waitUntil([&] { return radio.sessionsEnded() == sessionsBefore + 2 && good.sessionsEnded() == 2; }));
    EXPECT_TRUE(test::waitUntil([&] { return station != 0; }));
    if (station != 0)
        ::kill(station, SIGINT);
    running.join();
    good.stop();

    EXPECT_EQ(r.exitStatus, 1) << r.err;
    EXPECT_TRUE(contains(r.out, ' ' + fine + " -: Write Success! (verified against " + planFile + ")\n")) << r.out;
    EXPECT_TRUE(contains(r.out, ' ' + refusing + " -: Radio differs from " + planFile +
                                   " (5/5 blocks done; channel 1: RX Frequency radio empty, plan 146.25000; ")) << r.out;
    EXPECT_TRUE(contains(r.out, "Programmed 1, failed 1.\n")) << r.out;
}

TEST_F(StepWords, TheStationRefusesOneDeviceUnderTwoNames)
{
    const std::string link = folder.file("radio");
    std::filesystem::create_symlink(radio.path(), link);

    std::atomic<pid_t> station{0};
    std::atomic<bool> ended{false};
    ProgramResult r;
    std::thread running([&] {
        r = cli({"station", planFile, "--ports", link + ',' + radio.path()}, [&](pid_t pid) { station = pid; });
        ended = true;
    });
    // A station that took the ports would run until Ctrl-C.
    if (!test::waitUntil([&] { return ended.load(); }) && station != 0)
        ::kill(station, SIGINT);
    running.join();

    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(contains(r.err, "zk-h41-cli: port '" + radio.path() + "' is the same device as '" + link + "'\n"))
        << r.err;
    EXPECT_TRUE(radio.received().empty());
}
