// The words for each outcome of a transfer: what a terminal prints and what
// the boxes show, the texts written out as the user reads them.
#include "FakeUi.h"
#include "RadioLink.h"
#include "TransferWords.h"

#include <gtest/gtest.h>

using namespace zk;
using Entry = test::RecordingMessages::Entry;

namespace {

std::vector<std::string> terminal(TransferOutcome outcome, Direction direction, bool sent = true,
                                  const std::string& error = {}, const std::string& detail = {})
{
    return outcomeWords(TransferResult{outcome, error, sent}, direction, detail).lines("zk-h41-cli");
}

using Lines = std::vector<std::string>;

TEST(TransferWords, ATerminalReadsOneLinePerMessageAndDetail)
{
    EXPECT_EQ(terminal(TransferOutcome::Succeeded, Direction::Read), Lines{"Read Success!"});
    EXPECT_EQ(terminal(TransferOutcome::Succeeded, Direction::Write), Lines{"Write Success!"});
    EXPECT_EQ(terminal(TransferOutcome::Failed, Direction::Read), Lines{"Read Error!"});
    EXPECT_EQ(terminal(TransferOutcome::Failed, Direction::Write, true, {}, "cat (pid 7) also has /dev/x open."),
              (Lines{"Write Error!", "cat (pid 7) also has /dev/x open."}));
    EXPECT_EQ(terminal(TransferOutcome::PortNotReady, Direction::Read, false), Lines{"The Port is Used!"});
    EXPECT_EQ(terminal(TransferOutcome::PortNotReady, Direction::Write, false), Lines{"The Port is used!"});
}

TEST(TransferWords, AWriteThatSentSomethingBeforeItStoppedSaysItFailed)
{
    EXPECT_EQ(terminal(TransferOutcome::Stopped, Direction::Write, true, "'x' is not a valid integer value"),
              (Lines{"'x' is not a valid integer value", "Write Error!"}));
    EXPECT_EQ(terminal(TransferOutcome::Stopped, Direction::Write, false, "'x' is not a valid integer value"),
              Lines{"'x' is not a valid integer value"});
    EXPECT_EQ(terminal(TransferOutcome::Stopped, Direction::Read, true, "bad digit"), Lines{"bad digit"});
    EXPECT_EQ(terminal(TransferOutcome::Aborted, Direction::Write, true), (Lines{"Interrupted", "Write Error!"}));
    EXPECT_EQ(terminal(TransferOutcome::Aborted, Direction::Write, false), Lines{"Interrupted"});
    EXPECT_EQ(terminal(TransferOutcome::Aborted, Direction::Read, true), Lines{"Interrupted"});
    EXPECT_EQ(terminal(TransferOutcome::Busy, Direction::Read, false),
              Lines{"zk-h41-cli: internal error: a transfer is already running"});
}

TEST(TransferWords, BoxesShowNoticesAndErrorsButNothingForBusyOrStopped)
{
    test::RecordingMessages boxes;
    EXPECT_TRUE(showOutcome(boxes, outcomeWords({TransferOutcome::Succeeded, {}, true}, Direction::Write)));
    EXPECT_FALSE(showOutcome(boxes, outcomeWords({TransferOutcome::Failed, {}, true}, Direction::Read, "held")));
    EXPECT_FALSE(showOutcome(boxes, outcomeWords({TransferOutcome::Stopped, "bad cell", true}, Direction::Write)));
    EXPECT_FALSE(showOutcome(boxes, outcomeWords({TransferOutcome::Busy, {}, false}, Direction::Write)));
    EXPECT_FALSE(showOutcome(boxes, outcomeWords({TransferOutcome::Aborted, {}, true}, Direction::Write)));
    ASSERT_EQ(boxes.entries.size(), 4u);
    EXPECT_EQ(boxes.entries[0].kind, Entry::Notice);
    EXPECT_EQ(boxes.entries[0].text, "Write Success!");
    EXPECT_EQ(boxes.entries[1].kind, Entry::Notice);
    EXPECT_EQ(boxes.entries[1].text, "Read Error!");
    EXPECT_EQ(boxes.entries[1].detail, "held");
    EXPECT_EQ(boxes.entries[2].kind, Entry::Error);
    EXPECT_EQ(boxes.entries[2].text, "bad cell."); // as the error box shows it
    EXPECT_EQ(boxes.entries[3].kind, Entry::Notice);
    EXPECT_EQ(boxes.entries[3].text, "Write Error!");
}

// Steps as the commands make them; only their names and directions matter here.
struct StepRun {
    RadioLink link{[](const std::uint8_t*, std::uint16_t) { return true; }, [] { return true; }, [](int) {}};
    ChannelTable table;
    TransferEngine engine{link, table};
    RadioImage image = blankImage();
    std::vector<std::string> differences;

    Lines terminal(const std::vector<TransferStep>& steps, std::size_t stepsDone, TransferOutcome outcome)
    {
        const StepsOutcome ran{{outcome, {}, true}, steps.at(stepsDone).direction, stepsDone};
        return stepsOutcomeWords(ran, steps, engine).lines("zk-h41-cli");
    }
    std::string box(const std::string& command, const std::vector<TransferStep>& steps, std::size_t stepsDone,
                    TransferOutcome outcome, int blocksDone)
    {
        const StepsOutcome ran{{outcome, {}, outcome != TransferOutcome::PortNotReady},
                               steps.at(stepsDone).direction, stepsDone};
        return commandOutcomeWords(command, ran, steps, blocksDone, engine).messages.at(0).text;
    }
};

TEST(TransferWords, AStepOfSeveralNamesItselfAndASingleStepKeepsItsNotice)
{
    StepRun run;
    const std::vector<TransferStep> write = {backupStep(run.image), writeStep(), verifyPlanStep(run.table, run.differences)};
    EXPECT_EQ(run.terminal(write, 0, TransferOutcome::Failed),
              Lines{"Backup failed (Read Error!): nothing was written."});
    EXPECT_EQ(run.terminal(write, 1, TransferOutcome::Failed), Lines{"Write Error!"});
    EXPECT_EQ(run.terminal(write, 2, TransferOutcome::Failed), Lines{"Check after writing failed: Read Error!"});
    EXPECT_EQ(run.terminal(write, 2, TransferOutcome::Aborted), Lines{"Interrupted"});
    EXPECT_EQ(run.terminal({readStep()}, 0, TransferOutcome::Failed), Lines{"Read Error!"});
    EXPECT_EQ(run.terminal({restoreStep(run.image), verifyImageStep(run.image, run.differences)}, 1,
                           TransferOutcome::Failed),
              Lines{"Check after writing failed: Read Error!"});
}

TEST(TransferWords, AWindowCommandSaysWhatItLeftInTheRadio)
{
    StepRun run;
    const std::vector<TransferStep> verify = {verifyPlanStep(run.table, run.differences)};
    const std::vector<TransferStep> restore = {restoreStep(run.image), verifyImageStep(run.image, run.differences)};
    EXPECT_EQ(run.box("Verify", verify, 0, TransferOutcome::Failed, 0), "Verify could not read the radio: Read Error!");
    EXPECT_EQ(run.box("Verify", verify, 0, TransferOutcome::PortNotReady, 0),
              "Verify could not start: the chosen port is not open.");
    EXPECT_EQ(run.box("Restore", restore, 0, TransferOutcome::Failed, 2),
              "Restore stopped after block 2 of 5: the radio holds part of the image.");
    EXPECT_EQ(run.box("Restore", restore, 0, TransferOutcome::Failed, 0),
              "Restore could not write the radio: Write Error!");
    EXPECT_EQ(run.box("Restore", restore, 1, TransferOutcome::Failed, 3),
              "Restore wrote the radio. Check after writing failed: Read Error!");
}

} // namespace
