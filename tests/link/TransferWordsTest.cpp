// The words for each outcome of a transfer: what a terminal prints and what
// the boxes show, the texts written out as the user reads them.
#include "FakeUi.h"
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

} // namespace
