// Procedures made of steps on one engine against the virtual radio: the
// steps run in order, the hooks come between them, and the first step that
// does not succeed ends the run with nothing more sent.
#include "EngineOnRadio.h"
#include "RadioMemory.h"
#include "TransferSteps.h"
#include "WaitUntil.h"

#include <algorithm>

using namespace zk;

namespace {

using TransferSteps = test::EngineOnRadio;

// The image of channel rows 1..16 all 0x11, settings 0x22.
RadioImage patternImage()
{
    RadioImage image = blankImage();
    std::fill(image.begin() + test::channelAddress(1), image.begin() + test::channelAddress(17), 0x11);
    std::fill(image.begin() + test::kSettingsAddress, image.begin() + test::kSettingsAddress + 16, 0x22);
    return image;
}

TEST_F(TransferSteps, RestoreThenVerifyRunInOrderWithTheHooksBetween)
{
    const RadioImage image = patternImage();
    std::vector<std::string> differences = {"stale"};
    std::vector<std::string> calls;
    std::vector<TransferStep> steps = {restoreStep(image), verifyImageStep(image, differences)};
    steps[0].afterwards = [&] { calls.push_back("restored"); };
    steps[1].afterwards = [&] { calls.push_back("verified"); };
    StepHooks hooks;
    hooks.afterSuccess = [&] { calls.push_back("between"); };
    hooks.stopped = [&] {
        calls.push_back("asked");
        return false;
    };

    const StepsOutcome outcome = runSteps(engine, steps, recorder(), hooks);

    EXPECT_TRUE(outcome.succeeded());
    EXPECT_EQ(outcome.stepsDone, 2u);
    EXPECT_EQ(outcome.direction, Direction::Read);
    EXPECT_EQ(calls, (std::vector<std::string>{"asked", "between", "restored", "asked", "between", "verified"}));
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(differences.empty());
    EXPECT_EQ(radio.readMemory(test::channelAddress(5), 16), std::vector<std::uint8_t>(16, 0x11));
    EXPECT_EQ(radio.readMemory(test::kSettingsAddress, 16), std::vector<std::uint8_t>(16, 0x22));
}

TEST_F(TransferSteps, AWriteThatFailsEndsTheRunBeforeTheVerify)
{
    RadioFaults faults;
    faults.silentAfter = 1; // the first block only
    radio.setFaults(faults);
    table = test::sampleRadioPlan();
    std::vector<std::string> differences;
    bool afterwards = false;
    std::vector<TransferStep> steps = {writeStep(), verifyPlanStep(table, differences)};
    steps[0].afterwards = [&] { afterwards = true; };

    const StepsOutcome outcome = runSteps(engine, steps, recorder());

    EXPECT_EQ(outcome.result.outcome, TransferOutcome::Failed);
    EXPECT_TRUE(outcome.result.sentAnything);
    EXPECT_EQ(outcome.direction, Direction::Write);
    EXPECT_EQ(outcome.stepsDone, 0u);
    EXPECT_FALSE(afterwards);
    EXPECT_EQ(progress, (std::vector<int>{1}));
    // One handshake only: the verify's read never started.
    const std::string sent = wire();
    EXPECT_EQ(sent.find(test::kHandshakeHex), 0u);
    EXPECT_EQ(sent.find(test::kHandshakeHex, 1), std::string::npos);
}

TEST_F(TransferSteps, AStopBeforeAStepAbortsItWithNothingSent)
{
    RadioImage image;
    bool stop = false;
    std::vector<TransferStep> steps = {backupStep(image), writeStep()};
    steps[0].afterwards = [&] { stop = true; };
    StepHooks hooks;
    hooks.stopped = [&] { return stop; };

    const StepsOutcome outcome = runSteps(engine, steps, recorder(), hooks);

    EXPECT_EQ(outcome.result.outcome, TransferOutcome::Aborted);
    EXPECT_FALSE(outcome.result.sentAnything);
    EXPECT_EQ(outcome.direction, Direction::Write);
    EXPECT_EQ(outcome.stepsDone, 1u);
    // The backup's read and its end byte, no write command.
    const std::string expected = test::kHandshakeHex + test::kReadCommandsHex + "45";
    EXPECT_TRUE(test::waitUntil([&] { return wire().size() >= expected.size(); }));
    EXPECT_EQ(wire(), expected);
}

TEST_F(TransferSteps, BackupKeepsEveryByteAndReadFillsTheTable)
{
    test::loadPlanIntoRadio(radio, test::sampleRadioPlan());
    // Read with the settings' block, but no cell shows it.
    radio.writeMemory(0x140, std::vector<std::uint8_t>(16, 0x5A));
    RadioImage image;

    const StepsOutcome outcome = runSteps(engine, {backupStep(image), readStep()}, nullptr);

    ASSERT_TRUE(outcome.succeeded());
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 0x140, image.begin() + 0x150),
              std::vector<std::uint8_t>(16, 0x5A));
    EXPECT_EQ(table.cell(ColRx, 11), "438.51250");
    EXPECT_EQ(table.cell(ColTx, 11), "430.51250");
}

} // namespace

TEST_F(TransferSteps, TheRadioIsGivenTheSettleTimeBetweenTwoStepsAndOnlyThere)
{
    // The same port, on a link that notes each wait.
    std::vector<int> waits;
    RadioLink noting{sendThrough(comm), [this] { return comm.IsOpen(); }, [&](int ms) {
                         waits.push_back(ms);
                         pumpEventsFor(ms);
                     }};
    receiveInto(comm, noting);
    TransferEngine onNoting{noting, table};
    const RadioImage image = patternImage();
    std::vector<std::string> differences;
    StepHooks hooks;
    hooks.settleMs = 321;

    const StepsOutcome outcome =
        runSteps(onNoting, {restoreStep(image), verifyImageStep(image, differences)}, recorder(), hooks);

    ASSERT_TRUE(outcome.succeeded());
    EXPECT_EQ(std::count(waits.begin(), waits.end(), 321), 1) << "once, between the two steps";
    const auto pause = std::find(waits.begin(), waits.end(), 321);
    ASSERT_TRUE(pause != waits.begin() && pause != waits.end() && std::next(pause) != waits.end());
    // After the restore's last block step, before the verify's handshake.
    EXPECT_EQ(*std::prev(pause), RadioLink::kStepMs);
    EXPECT_EQ(*std::next(pause), RadioLink::kHandshakeWaitMs);
    EXPECT_EQ(std::count(pause, waits.end(), RadioLink::kHandshakeWaitMs), 1);
}
