// Steps on a port from opening it to closing it, as the command-line tool
// and several ports at once run them: the port session opens the virtual
// radio's pseudo-terminal, lets the end byte leave before closing, and a
// stop flag ends the transfer at its next step.
#include "HexText.h"
#include "PortRun.h"
#include "RadioMemory.h"
#include "TempFolder.h"
#include "VirtualRadio.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <sstream>

using namespace zk;

namespace {

class PortRun : public ::testing::Test {
protected:
    void SetUp() override { radio.start(); }
    PortContext contextFor(const std::string& port)
    {
        PortContext context;
        context.port = port;
        context.stop = &stop;
        context.progress = [this](int blocksDone) { progress.push_back(blocksDone); };
        context.note = [this](const std::string& line) { notes.push_back(line); };
        context.programName = "zk-h41-cli";
        return context;
    }

    VirtualRadio radio;
    std::atomic<bool> stop{false};
    std::vector<int> progress;
    std::vector<std::string> notes;
};

TEST_F(PortRun, AWriteEndsWithItsEndByteInTheRadioAndTheSuccessText)
{
    ChannelTable table = test::sampleRadioPlan();
    VirtualRadio reference;
    test::loadPlanIntoRadio(reference, table);

    const PortResult result = runOnPort(table, {writeStep()}, contextFor(radio.path()));

    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.port, radio.path());
    EXPECT_EQ(result.lines, std::vector<std::string>{"Write Success!"});
    EXPECT_EQ(result.blocksDone, 5);
    EXPECT_EQ(result.stepsDone, 1u);
    EXPECT_TRUE(result.sentAnything);
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(radio.memory(), reference.memory());
    // The port closed only after the end byte left: the radio saw the session end.
    EXPECT_EQ(radio.sessionsEnded(), 1);
}

TEST_F(PortRun, AStopDuringTheWriteEndsItAtItsNextStepWithNothingMoreSent)
{
    ChannelTable table = test::sampleRadioPlan();
    PortContext context = contextFor(radio.path());
    context.progress = [this](int blocksDone) {
        progress.push_back(blocksDone);
        stop = true; // as the signal watch does
    };
    std::vector<std::string> differences;

    const PortResult result = runOnPort(table, {writeStep(), verifyPlanStep(table, differences)}, context);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.lines, (std::vector<std::string>{"Interrupted", "Write Error!"}));
    // The second block's command went out before the stop was seen; its
    // answer is still awaited, and the radio holds that block too.
    EXPECT_EQ(result.blocksDone, 2);
    EXPECT_EQ(result.stepsDone, 0u);
    EXPECT_EQ(progress, (std::vector<int>{1, 2}));
    // The handshake and the first two blocks; no third command, no end byte.
    EXPECT_EQ(radio.received().size(), 7u + 2 * (4 + 64));
    EXPECT_EQ(radio.sessionsEnded(), 0);
}

TEST_F(PortRun, APortThatDoesNotOpenGivesTheComponentsTextAndTheExplanation)
{
    const test::TempFolder folder;
    const std::string missing = folder.file("no-such-port");
    PortContext context = contextFor(missing);
    context.explainOpenFailure = [](const std::string& port, int osError) {
        return port + (osError == ENOENT ? " is not there" : " is somehow wrong");
    };
    ChannelTable table;

    const PortResult result = runOnPort(table, {readStep()}, context);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.lines, (std::vector<std::string>{"Error opening serial port", missing + " is not there"}));
    EXPECT_FALSE(result.sentAnything);
}

TEST_F(PortRun, ASilentRadioFailsTheReadWithWhatMayExplainIt)
{
    RadioFaults faults;
    faults.silentAfter = 3;
    radio.setFaults(faults);
    PortContext context = contextFor(radio.path());
    context.explainFailure = [](const std::string& port) { return "cat (pid 1) also has " + port + " open."; };
    ChannelTable table;

    const PortResult result = runOnPort(table, {readStep()}, context);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.lines,
              (std::vector<std::string>{"Read Error!", "cat (pid 1) also has " + radio.path() + " open."}));
    EXPECT_EQ(result.blocksDone, 3);
}

TEST_F(PortRun, TheTraceFileGetsTheBytesOfTheRun)
{
    const test::TempFolder folder;
    PortContext context = contextFor(radio.path());
    context.traceFile = folder.file("trace.txt");
    RadioImage image;
    ChannelTable unused;

    ASSERT_TRUE(runOnPort(unused, {backupStep(image)}, context).ok);

    std::ifstream in(context.traceFile);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("50 52 4F 47 52 41 4D"), std::string::npos) << text.str(); // PROGRAM
}

} // namespace
