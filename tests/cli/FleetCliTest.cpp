// Several virtual radios at once through the built zk-h41-cli: write and
// read with several ports, and the station that programs each radio as it
// appears on its link path.
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
#include <memory>
#include <thread>

#include <signal.h>

using namespace zk;
using zk::test::cli;
using zk::test::contains;
using zk::test::ProgramResult;
using zk::test::TempFolder;

namespace {

class FleetCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::loadPlanIntoRadio(reference, plan);
        saveChannelFile(planFile, plan);
    }
    VirtualRadio& addRadio(int answers = RadioFaults::kOff) { return test::addRadio(radios, answers); }

    const ChannelTable plan = test::sampleRadioPlan();
    VirtualRadio reference; // the plan as a complete write leaves it
    TempFolder folder;
    const std::string planFile = folder.file("plan.bc");
    std::vector<std::unique_ptr<VirtualRadio>> radios;
};

TEST_F(FleetCli, WritesEveryRadioAndASilentOneFailsAlone)
{
    VirtualRadio& first = addRadio();
    VirtualRadio& silent = addRadio(2);
    VirtualRadio& third = addRadio();

    const ProgramResult r = cli({"write", "--port", first.path(), "--port", silent.path(), "--port", third.path(),
                                 planFile});

    EXPECT_EQ(r.exitStatus, 1) << r.err;
    EXPECT_EQ(r.out, first.path() + ": Write Success!\n" + silent.path() + ": Write Error! (2/5 blocks done)\n" +
                         third.path() + ": Write Success!\n");
    for (const std::string block : {"1/5", "2/5", "5/5"})
        EXPECT_TRUE(contains(r.err, third.path() + ": block " + block + '\n')) << r.err;
    EXPECT_FALSE(contains(r.err, silent.path() + ": block 3/5")) << r.err;
    EXPECT_EQ(first.memory(), reference.memory());
    EXPECT_EQ(third.memory(), reference.memory());
    // The two blocks acknowledged are in the silent radio, nothing after them.
    EXPECT_EQ(silent.readMemory(test::channelAddress(1), 8 * 16),
              reference.readMemory(test::channelAddress(1), 8 * 16));
    EXPECT_NE(silent.readMemory(test::kSettingsAddress, 16), reference.readMemory(test::kSettingsAddress, 16));

    const ProgramResult json = cli({"write", "--json", "--port", first.path(), "--port", silent.path(), planFile});
    EXPECT_EQ(json.exitStatus, 1);
    EXPECT_EQ(json.out, "{\"port\":\"" + first.path() +
                            "\",\"ok\":true,\"result\":\"Write Success!\",\"blocks\":5,\"details\":[]}\n"
                            "{\"port\":\"" + silent.path() +
                            "\",\"ok\":false,\"result\":\"Write Error!\",\"blocks\":2,\"details\":[]}\n");
}

TEST_F(FleetCli, ReadsEachRadioIntoAFileOfItsOwn)
{
    VirtualRadio& first = addRadio();
    VirtualRadio& second = addRadio();
    test::loadPlanIntoRadio(first, plan);
    const std::string missing = folder.file("no-such-port");
    const std::string out = folder.file("out");
    std::filesystem::create_directory(out);

    ProgramResult r = cli({"read", "--port", first.path(), "--port", second.path(), "--port", missing, "-o", out});

    EXPECT_EQ(r.exitStatus, 1) << r.err;
    const auto fileOf = [&](const VirtualRadio& radio) {
        return out + '/' + std::filesystem::path(radio.path()).filename().string() + ".bc";
    };
    EXPECT_TRUE(contains(r.out, first.path() + ": Read Success! (" + fileOf(first) + ")\n")) << r.out;
    EXPECT_TRUE(contains(r.out, second.path() + ": Read Success! (" + fileOf(second) + ")\n")) << r.out;
    // No block was tried on it: no count of blocks done.
    EXPECT_TRUE(contains(r.out, missing + ": Error opening serial port (" + missing +
                                    " does not exist. Is the cable plugged in?)\n"))
        << r.out;
    ChannelTable fromFirst;
    ChannelTable fromSecond;
    openChannelFile(fileOf(first), fromFirst);
    openChannelFile(fileOf(second), fromSecond);
    EXPECT_EQ(writeChannelText(fromFirst), writeChannelText(plan));
    EXPECT_EQ(writeChannelText(fromSecond), writeChannelText(ChannelTable()));

    // One device under two names would be opened twice: refused before anything is sent.
    const std::string link = folder.file("by-id-link");
    std::filesystem::create_symlink(first.path(), link);
    first.clearLog();
    r = cli({"read", "--port", first.path(), "--port", link, "-o", out});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(contains(r.err, "port '" + link + "' is the same device as '" + first.path() + "'")) << r.err;
    EXPECT_TRUE(first.received().empty());
}

TEST_F(FleetCli, CtrlCStopsEveryRadioAtItsNextStep)
{
    VirtualRadio& first = addRadio(1); // the second block waits for a reply that never comes
    VirtualRadio& second = addRadio(1);
    const std::size_t twoBlocksSent = 7 + 2 * (4 + 64);
    std::atomic<pid_t> program{0};
    ProgramResult r;
    std::thread running([&] {
        r = cli({"write", "--port", first.path(), "--port", second.path(), planFile},
                [&](pid_t pid) { program = pid; });
    });
    EXPECT_TRUE(test::waitUntil([&] {
        return program != 0 && first.received().size() >= twoBlocksSent && second.received().size() >= twoBlocksSent;
    }));
    if (program != 0) // never 0: that would signal this test's own process group
        ::kill(program, SIGINT);
    running.join();

    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, first.path() + ": Interrupted (1/5 blocks done; Write Error!)\n" + second.path() +
                         ": Interrupted (1/5 blocks done; Write Error!)\n");
    EXPECT_EQ(first.received().size(), twoBlocksSent); // nothing more, no end byte
    EXPECT_EQ(second.received().size(), twoBlocksSent);
}

TEST_F(FleetCli, VerifyAndBackupServeSeveralRadiosAndAWriteKeepsEachOldMemory)
{
    VirtualRadio& blank = addRadio();
    VirtualRadio& other = addRadio();
    ChannelTable otherPlan;
    otherPlan.setCell(ColRx, 3, "440.00000");
    test::loadPlanIntoRadio(other, otherPlan);
    const RadioImage otherMemory = other.memory();
    const std::string backups = folder.file("backups");
    std::filesystem::create_directory(backups);

    // verify: one radio matches nothing of the plan's, so both differ.
    ProgramResult r = cli({"verify", "--port", blank.path(), "--port", other.path(), planFile});
    EXPECT_EQ(r.exitStatus, 1) << r.err;
    EXPECT_TRUE(contains(r.out, other.path() + ": Radio differs from " + planFile + " (")) << r.out;
    EXPECT_TRUE(contains(r.out, "channel 3: RX Frequency radio 440.00000")) << r.out;

    // backup: an image per port, the radio's memory as it is.
    r = cli({"backup", "--port", blank.path(), "--port", other.path(), "-o", backups});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    const std::string otherImage = backups + '/' + std::filesystem::path(other.path()).filename().string() + ".img";
    EXPECT_TRUE(contains(r.out, other.path() + ": Backup saved (" + otherImage + ")\n")) << r.out;
    const std::string imageBytes = test::readBytes(otherImage);
    EXPECT_EQ(std::vector<std::uint8_t>(imageBytes.begin(), imageBytes.end()),
              std::vector<std::uint8_t>(otherMemory.begin(), otherMemory.end()));

    // write --backup --verify: the old memory kept per port, then the plan checked.
    const std::string before = folder.file("before");
    r = cli({"write", "--verify", "--backup", before, "--port", blank.path(), "--port", other.path(), planFile});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_TRUE(contains(r.out, other.path() + ": Write Success! (" + before + '/')) << r.out;
    EXPECT_TRUE(contains(r.out, "; verified against " + planFile + ")\n")) << r.out;
    EXPECT_EQ(blank.memory(), reference.memory());
    EXPECT_EQ(other.memory(), reference.memory());
    const auto folderOf = std::filesystem::path(before) / std::filesystem::path(other.path()).filename();
    ASSERT_EQ(test::namesIn(folderOf).size(), 1u);
    const std::string kept = test::readBytes((folderOf / test::namesIn(folderOf).front()).string());
    EXPECT_EQ(std::vector<std::uint8_t>(kept.begin(), kept.end()),
              std::vector<std::uint8_t>(otherMemory.begin(), otherMemory.end()));

    // Two ports of one name in two folders would keep their backups in one
    // folder under one file name, one radio's old memory lost: refused
    // before anything is sent, by write and by the station.
    for (const char* sub : {"a", "b"})
        std::filesystem::create_directory(folder.file(sub));
    std::filesystem::create_symlink(blank.path(), folder.file("a/radio"));
    std::filesystem::create_symlink(other.path(), folder.file("b/radio"));
    blank.clearLog();
    other.clearLog();
    r = cli({"write", "--backup", before, "--port", folder.file("a/radio"), "--port", folder.file("b/radio"),
             planFile});
    EXPECT_EQ(r.exitStatus, 2) << r.out;
    EXPECT_TRUE(contains(r.err, "two ports would both go into " + before + "/radio")) << r.err;
    std::atomic<pid_t> station{0};
    std::atomic<bool> ended{false};
    std::thread running([&] {
        r = cli({"station", planFile, "--backup", before, "--ports",
                 folder.file("a/radio") + ',' + folder.file("b/radio")},
                [&](pid_t pid) { station = pid; });
        ended = true;
    });
    // A station that took the ports would run until Ctrl-C.
    if (!test::waitUntil([&] { return ended.load(); }) && station != 0)
        ::kill(station, SIGINT);
    running.join();
    EXPECT_EQ(r.exitStatus, 2) << r.out;
    EXPECT_TRUE(blank.received().empty());
    EXPECT_TRUE(other.received().empty());
}

// The radio comes and goes on a link path, as a radio on a cable does.
std::unique_ptr<VirtualRadio> plugIn(const std::string& link, int answers = RadioFaults::kOff)
{
    VirtualRadioOptions options;
    options.linkPath = link;
    auto radio = std::make_unique<VirtualRadio>(options);
    RadioFaults faults;
    faults.silentAfter = answers;
    radio->setFaults(faults);
    radio->start();
    return radio;
}

TEST_F(FleetCli, StationProgramsEachRadioOnceAsItComesAndGoes)
{
    const std::string a = folder.file("a");
    const std::string b = folder.file("b");
    std::atomic<pid_t> station{0};
    ProgramResult r;
    std::thread running([&] {
        // Without the read-back: the radios' command counts tell whether one was written again.
        r = cli({"station", planFile, "--ports", a + ',' + b, "--settle", "0", "--no-verify"},
                [&](pid_t pid) { station = pid; });
    });
    // Written completely: the plan in memory and the session ended with the end byte.
    const auto programmed = [&](const VirtualRadio& radio) {
        return test::waitUntil([&] { return radio.memory() == reference.memory() && radio.sessionsEnded() > 0; });
    };

    auto first = plugIn(a);
    EXPECT_TRUE(programmed(*first));
    const int firstCommands = first->commandsServed();
    auto second = plugIn(b);
    EXPECT_TRUE(programmed(*second));
    EXPECT_EQ(first->commandsServed(), firstCommands); // still plugged in: not programmed again
    first.reset();  // unplugged ...
    auto third = plugIn(a); // ... and another radio on the same cable
    EXPECT_TRUE(programmed(*third));
    second.reset();
    // A radio that stops answering is pulled during its write and another
    // plugged in at once: the first write fails, then the new radio has its turn.
    auto failing = plugIn(b, 1);
    EXPECT_TRUE(test::waitUntil([&] { return failing->commandsServed() > 0; }));
    failing.reset();
    auto fourth = plugIn(b);
    EXPECT_TRUE(programmed(*fourth));
    const int fourthCommands = fourth->commandsServed();
    // It stays plugged in while another radio is written on the other
    // cable: by then a station that took it again would have begun anew.
    third.reset();
    auto fifth = plugIn(a);
    EXPECT_TRUE(programmed(*fifth));
    EXPECT_EQ(fourth->commandsServed(), fourthCommands);

    EXPECT_TRUE(test::waitUntil([&] { return station != 0; }));
    if (station != 0)
        ::kill(station, SIGINT);
    running.join();
    EXPECT_EQ(r.exitStatus, 1) << r.err;
    const std::string success = " -: Write Success!\n";
    std::size_t lines = 0;
    for (std::size_t at = r.out.find('\n'); at != std::string::npos; at = r.out.find('\n', at + 1))
        ++lines;
    EXPECT_EQ(lines, 8u) << r.out; // six results, the sum and the failure again
    EXPECT_TRUE(contains(r.out, ' ' + a + success)) << r.out;
    EXPECT_TRUE(contains(r.out, ' ' + b + success)) << r.out;
    EXPECT_NE(r.out.find(' ' + a + success), r.out.rfind(' ' + a + success)) << r.out;
    EXPECT_NE(r.out.find(' ' + b + success), r.out.rfind(' ' + b + success)) << r.out;
    EXPECT_TRUE(contains(r.out, "Programmed 5, failed 1.\nFailed: ")) << r.out;
    // Whether the pulled radio's first acknowledgement got out is up to the moment it was pulled.
    EXPECT_TRUE(contains(r.out, ' ' + b + " -: Write Error! (")) << r.out;
}

} // namespace
